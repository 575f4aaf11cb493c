#include "fields/type_rules.hpp"

#include "fields/field_types.hpp"

namespace vantorel {

namespace {

struct DaoMapping {
  std::int16_t daoType;
  DaoTypeRule rule;
};

constexpr DaoMapping kDaoTypes[] = {
    {1, {adoType::kBoolean, true, u""}},        {2, {adoType::kUnsignedTinyInt, true, u""}},
    {3, {adoType::kSmallInt, true, u""}},       {4, {adoType::kInteger, true, u""}},
    {5, {adoType::kCurrency, true, u""}},       {6, {adoType::kSingle, true, u""}},
    {7, {adoType::kDouble, true, u""}},         {8, {adoType::kDBTimeStamp, true, u"#"}},
    {9, {adoType::kBinary, false, nullptr}},    {10, {adoType::kVarWChar, true, u"'"}},
    {11, {adoType::kLongVarBinary, true, u""}}, {12, {adoType::kLongVarWChar, true, u"'"}},
    {15, {adoType::kGuid, true, u"'"}},         {16, {adoType::kBigInt, true, u""}},
    {18, {adoType::kChar, true, u"'"}},         {19, {adoType::kNumeric, true, u""}},
    {20, {adoType::kNumeric, true, u""}},       {21, {adoType::kDouble, true, u""}},
    {22, {adoType::kDBTimeStamp, true, u"#"}},  {23, {adoType::kDBTimeStamp, true, u"#"}},
};

}  // namespace

AdoTypeRule adoTypeRule(std::int16_t type) {
  using namespace adoType;
  if (isOneOf(type, {kBigInt, kBoolean, kCurrency, kDecimal, kDouble, kInteger, kNumeric, kSingle,
                     kSmallInt, kTinyInt, kUnsignedBigInt, kUnsignedInt, kUnsignedSmallInt,
                     kUnsignedTinyInt, kVarNumeric})) {
    return {true, LiteralQuote::None};
  }
  if (isOneOf(type, {kDate, kDBDate, kDBTime, kDBTimeStamp})) return {true, LiteralQuote::Date};
  if (isOneOf(type, {kBSTR, kChar, kLongVarChar, kLongVarWChar, kVarChar, kVarWChar, kWChar, kGuid,
                     kLongVarBinary, kVarBinary})) {
    return {true, LiteralQuote::Text};
  }
  return {false, std::nullopt};
}

DaoTypeRule daoTypeRule(std::int16_t daoType) {
  for (const DaoMapping& m : kDaoTypes) {
    if (m.daoType == daoType) return m.rule;
  }
  return {};
}

std::int32_t daoFieldAttributes(const DaoFieldDefinition& d) {
  std::int32_t bits = 0;
  if ((d.Attributes & kDaoFixedField) == kDaoFixedField) bits = kAdoFldFixed;
  if ((d.Attributes & kDaoAutoIncrField) != kDaoAutoIncrField) bits += kAdoFldUpdatable;
  if (!d.Required) bits += kAdoFldIsNullable;
  return bits;
}

}  // namespace vantorel
