#include "platform/data/ado_types.hpp"

#include <array>

namespace vantorel::data {

namespace {

struct Row {
  SQLSMALLINT sqlType;
  AdoTypeInfo signedInfo;
  AdoType unsignedType;  // the same as signedInfo.type for types without a sign
};

// Sizes are those of the OLE DB value each type is read into.
constexpr std::array kTable{
    Row{SQL_CHAR, {AdoType::Char, 0, false, false}, AdoType::Char},
    Row{SQL_VARCHAR, {AdoType::VarChar, 0, false, false}, AdoType::VarChar},
    Row{SQL_LONGVARCHAR, {AdoType::LongVarChar, 0, true, false}, AdoType::LongVarChar},
    Row{SQL_WCHAR, {AdoType::WChar, 0, false, false}, AdoType::WChar},
    Row{SQL_WVARCHAR, {AdoType::VarWChar, 0, false, false}, AdoType::VarWChar},
    Row{SQL_WLONGVARCHAR, {AdoType::LongVarWChar, 0, true, false}, AdoType::LongVarWChar},
    Row{SQL_DECIMAL, {AdoType::Numeric, 19, false, true}, AdoType::Numeric},
    Row{SQL_NUMERIC, {AdoType::Numeric, 19, false, true}, AdoType::Numeric},
    Row{SQL_BIT, {AdoType::Boolean, 2, false, false}, AdoType::Boolean},
    Row{SQL_TINYINT, {AdoType::TinyInt, 1, false, true}, AdoType::UnsignedTinyInt},
    Row{SQL_SMALLINT, {AdoType::SmallInt, 2, false, true}, AdoType::UnsignedSmallInt},
    Row{SQL_INTEGER, {AdoType::Integer, 4, false, true}, AdoType::UnsignedInt},
    Row{SQL_BIGINT, {AdoType::BigInt, 8, false, true}, AdoType::UnsignedBigInt},
    Row{SQL_REAL, {AdoType::Single, 4, false, true}, AdoType::Single},
    Row{SQL_FLOAT, {AdoType::Double, 8, false, true}, AdoType::Double},
    Row{SQL_DOUBLE, {AdoType::Double, 8, false, true}, AdoType::Double},
    Row{SQL_BINARY, {AdoType::Binary, 0, false, false}, AdoType::Binary},
    Row{SQL_VARBINARY, {AdoType::VarBinary, 0, false, false}, AdoType::VarBinary},
    Row{SQL_LONGVARBINARY, {AdoType::LongVarBinary, 0, true, false}, AdoType::LongVarBinary},
    Row{SQL_TYPE_DATE, {AdoType::DBDate, 6, false, false}, AdoType::DBDate},
    Row{SQL_DATE, {AdoType::DBDate, 6, false, false}, AdoType::DBDate},
    Row{SQL_TYPE_TIME, {AdoType::DBTime, 6, false, false}, AdoType::DBTime},
    Row{SQL_TIME, {AdoType::DBTime, 6, false, false}, AdoType::DBTime},
    Row{SQL_TYPE_TIMESTAMP, {AdoType::DBTimeStamp, 16, false, false}, AdoType::DBTimeStamp},
    Row{SQL_TIMESTAMP, {AdoType::DBTimeStamp, 16, false, false}, AdoType::DBTimeStamp},
    Row{SQL_GUID, {AdoType::Guid, 16, false, false}, AdoType::Guid},
};

}  // namespace

AdoTypeInfo adoTypeOf(SQLSMALLINT sqlType, bool isUnsigned) {
  for (const Row& row : kTable) {
    if (row.sqlType != sqlType) continue;
    AdoTypeInfo info = row.signedInfo;
    if (isUnsigned) info.type = row.unsignedType;
    return info;
  }
  return AdoTypeInfo{};
}

std::int32_t adoAttributes(const AdoTypeInfo& type, SQLLEN nullable, SQLLEN updatable) {
  std::int32_t bits = 0;
  const bool fixedLength =
      type.type == AdoType::Char || type.type == AdoType::WChar || type.type == AdoType::Binary;
  if (type.fixedSize > 0 || fixedLength) bits |= kAdFldFixed;
  if (type.isLong) bits |= kAdFldLong | kAdFldMayDefer;
  if (nullable == SQL_NULLABLE) bits |= kAdFldIsNullable | kAdFldMayBeNull;
  if (nullable == SQL_NULLABLE_UNKNOWN) bits |= kAdFldMayBeNull;
  if (updatable == SQL_ATTR_WRITE) bits |= kAdFldUpdatable;
  if (updatable == SQL_ATTR_READWRITE_UNKNOWN) bits |= kAdFldUnknownUpdatable;
  return bits;
}

}  // namespace vantorel::data
