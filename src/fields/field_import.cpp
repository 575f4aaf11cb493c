// AGPField's import of a column definition as a DAO or an ADO field describes it.
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/field_types.hpp"
#include "foundation/field_kind.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kAdoItemNotFound = 3265;

// The DAO type's ADO counterpart, its support and its literal quote (nullptr: quotes unchanged).
struct DaoMapping {
  std::int16_t daoType;
  std::int16_t adoType;
  bool supported;
  const char16_t* quote;
};

constexpr DaoMapping kDaoTypes[] = {
    {1, adoType::kBoolean, true, u""},        {2, adoType::kUnsignedTinyInt, true, u""},
    {3, adoType::kSmallInt, true, u""},       {4, adoType::kInteger, true, u""},
    {5, adoType::kCurrency, true, u""},       {6, adoType::kSingle, true, u""},
    {7, adoType::kDouble, true, u""},         {8, adoType::kDBTimeStamp, true, u"#"},
    {9, adoType::kBinary, false, nullptr},    {10, adoType::kVarWChar, true, u"'"},
    {11, adoType::kLongVarBinary, true, u""}, {12, adoType::kLongVarWChar, true, u"'"},
    {15, adoType::kGuid, true, u"'"},         {16, adoType::kBigInt, true, u""},
    {18, adoType::kChar, true, u"'"},         {19, adoType::kNumeric, true, u""},
    {20, adoType::kNumeric, true, u""},       {21, adoType::kDouble, true, u""},
    {22, adoType::kDBTimeStamp, true, u"#"},  {23, adoType::kDBTimeStamp, true, u"#"},
};

// The attribute bits of a DAO column in ADO's terms.
std::int32_t GetFldAttributeDAO(const DaoFieldDefinition& d) {
  std::int32_t bits = 0;
  if ((d.Attributes & kDaoFixedField) == kDaoFixedField) bits = kAdoFldFixed;
  if ((d.Attributes & kDaoAutoIncrField) != kDaoAutoIncrField) bits += kAdoFldUpdatable;
  if (!d.Required) bits += kAdoFldIsNullable;
  return bits;
}

}  // namespace

void AGPField::SetFldTypeDAO(std::int16_t daoType) {
  AGProperties& bag = properties();
  for (const DaoMapping& m : kDaoTypes) {
    if (m.daoType != daoType) continue;
    bag.setting(kFldType) = Variant(m.adoType);
    bag.setting(kFldSupport) = Variant(m.supported);
    if (m.quote) {
      bag.setting(kFldQuoteS) = Variant(m.quote);
      bag.setting(kFldQuoteE) = Variant(m.quote);
    }
    return;
  }
  bag.setting(kFldType) = Variant(static_cast<std::int16_t>(-1));
  bag.setting(kFldSupport) = Variant(false);
}

void AGPField::SetFldTypeADO(std::int16_t type, std::uint8_t precision) {
  AGProperties& bag = properties();
  bag.setting(kFldType) = Variant(type);
  if (toString(bag.setting(kFldTypeName)).empty()) {
    bag.setting(kFldTypeName) = Variant(
        toString(AdoTypeName(Variant(type), Variant(static_cast<std::int16_t>(precision)))));
  }
  using namespace adoType;
  const char16_t* quote = nullptr;
  bool supported = true;
  if (isOneOf(type, {kBigInt, kBoolean, kCurrency, kDecimal, kDouble, kInteger, kNumeric, kSingle,
                     kSmallInt, kTinyInt, kUnsignedBigInt, kUnsignedInt, kUnsignedSmallInt,
                     kUnsignedTinyInt, kVarNumeric})) {
    quote = u"";
  } else if (isOneOf(type, {kBSTR, kChar, kDate, kDBDate, kDBTime, kDBTimeStamp, kLongVarChar,
                            kLongVarWChar, kVarChar, kVarWChar, kWChar, kGuid})) {
    const bool accessDate = GetDbmsType(projectContext().currentDbmsName) == kDbmsAccess &&
                            isOneOf(type, {kDate, kDBDate, kDBTime, kDBTimeStamp});
    quote = accessDate ? u"#" : u"'";
  } else if (isOneOf(type, {kLongVarBinary, kVarBinary})) {
    quote = u"'";
  } else {
    supported = false;
  }
  bag.setting(kFldSupport) = Variant(supported);
  if (quote) {
    bag.setting(kFldQuoteS) = Variant(quote);
    bag.setting(kFldQuoteE) = Variant(quote);
  }
}

void AGPField::LoadFld_DAO(const DaoFieldDefinition& d) {
  AGProperties& bag = properties();
  const bool newCaption = d.Caption && !d.Caption->empty();
  // A caption the import keeps is read by the defaults; one that does not read as text refuses
  // the call before the first write.
  if (!newCaption) static_cast<void>(toString(bag.setting(kFldCaption)));
  bag.setting(kFldName) = Variant(d.Name);
  SetFldTypeDAO(d.Type);
  bag.setting(kFldSize) = Variant(d.Size);
  bag.setting(kFldUniqueIdx) = Variant(false);
  bag.setting(kFldAttribute) = Variant(GetFldAttributeDAO(d));
  bag.setting(kFldAutoIncrement) = Variant((d.Attributes & kDaoAutoIncrField) == kDaoAutoIncrField);
  bag.setting(kFldZeroLen) = Variant(d.AllowZeroLength);
  bag.setting(kFldReq) = Variant(d.Required);
  if (newCaption) bag.setting(kFldCaption) = Variant(*d.Caption);
  LoadFldDefault();
}

void AGPField::LoadFld_ADO(const AdoFieldDefinition& d) {
  // Everything that can fail is read before the first write, so a refused definition leaves
  // the field as it was.
  if (!d.IsAutoIncrement) {
    throw AutomationError(kAdoItemNotFound,
                          u"Item cannot be found in the collection corresponding to the requested "
                          u"name or ordinal.");
  }
  const bool autoIncrement = !d.IsAutoIncrement->isNull() && toBool(*d.IsAutoIncrement);
  AGProperties& bag = properties();
  static_cast<void>(toString(bag.setting(kFldCaption)));
  static_cast<void>(toString(bag.setting(kFldTypeName)));

  bag.setting(kFldName) = Variant(d.Name);
  SetFldTypeADO(d.Type, d.Precision);
  bag.setting(kFldSize) = Variant(d.DefinedSize);
  bag.setting(kFldZeroLen) = Variant(true);
  bag.setting(kFldReq) = Variant(false);
  bag.setting(kFldUniqueIdx) = Variant(false);
  std::int32_t attributes = d.Attributes;
  bag.setting(kFldAutoIncrement) = Variant(autoIncrement);
  if (GetDbmsType(projectContext().currentDbmsName) == kDbmsPostgreSql) {
    // PostgreSQL reports its unbounded text types as plain (var)char of a huge size.
    constexpr std::int32_t kLongTextSize = 8000;
    if (d.Type == adoType::kVarChar && d.DefinedSize > kLongTextSize) {
      bag.setting(kFldType) = Variant(adoType::kLongVarChar);
    } else if (d.Type == adoType::kVarWChar && d.DefinedSize > kLongTextSize) {
      bag.setting(kFldType) = Variant(adoType::kLongVarWChar);
    }
    // Its driver leaves the updatable bit off for ordinary columns.
    if (!autoIncrement) attributes |= kAdoFldUpdatable;
  }
  bag.setting(kFldAttribute) = Variant(attributes);
  LoadFldDefault();
}

}  // namespace vantorel
