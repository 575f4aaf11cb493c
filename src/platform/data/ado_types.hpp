#pragma once
// The ADO data type codes and field attribute bits the loaders test, and the one table that
// turns an ODBC SQL type into them.
#include <cstdint>

#include "platform/data/odbc_api.hpp"

namespace vantorel::data {

enum class AdoType : std::int32_t {
  Empty = 0,
  SmallInt = 2,
  Integer = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  BSTR = 8,
  Boolean = 11,
  Variant = 12,
  Decimal = 14,
  TinyInt = 16,
  UnsignedTinyInt = 17,
  UnsignedSmallInt = 18,
  UnsignedInt = 19,
  BigInt = 20,
  UnsignedBigInt = 21,
  Guid = 72,
  Binary = 128,
  Char = 129,
  WChar = 130,
  Numeric = 131,
  DBDate = 133,
  DBTime = 134,
  DBTimeStamp = 135,
  VarChar = 200,
  LongVarChar = 201,
  VarWChar = 202,
  LongVarWChar = 203,
  VarBinary = 204,
  LongVarBinary = 205,
};

// ADO's field attribute bits.
inline constexpr std::int32_t kAdFldMayDefer = 0x2;
inline constexpr std::int32_t kAdFldUpdatable = 0x4;
inline constexpr std::int32_t kAdFldUnknownUpdatable = 0x8;
inline constexpr std::int32_t kAdFldFixed = 0x10;
inline constexpr std::int32_t kAdFldIsNullable = 0x20;
inline constexpr std::int32_t kAdFldMayBeNull = 0x40;
inline constexpr std::int32_t kAdFldLong = 0x80;

struct AdoTypeInfo {
  AdoType type = AdoType::VarWChar;
  // The size of a fixed-length type's value in bytes (ADO's DefinedSize for it); 0 for the
  // types whose size is the column's length.
  std::int32_t fixedSize = 0;
  bool isLong = false;
  bool isNumeric = false;  // precision is a digit count
};

// SQL types the table does not know (intervals, driver-specific codes) read as variable text.
AdoTypeInfo adoTypeOf(SQLSMALLINT sqlType, bool isUnsigned);

// Bits from what ODBC says of the column: SQL_DESC_NULLABLE and SQL_DESC_UPDATABLE values.
std::int32_t adoAttributes(const AdoTypeInfo& type, SQLLEN nullable, SQLLEN updatable);

}  // namespace vantorel::data
