#pragma once
// What a database loader knows of one column, in the vocabulary of the two classic data access
// libraries: a DAO Field (Access files) or an ADO Field (any OLE DB / ODBC source). The loaders
// fill one of these from their own catalog reads (mdbtools for Access files, ODBC for the
// rest); AGPField imports it. Type numbers are those of the public DAO DataTypeEnum and ADO
// DataTypeEnum, attribute bits those of DAO FieldAttributeEnum and ADO FieldAttributeEnum.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

// DAO FieldAttributeEnum bits the import reads.
inline constexpr std::int32_t kDaoFixedField = 1;
inline constexpr std::int32_t kDaoAutoIncrField = 16;

// ADO FieldAttributeEnum bits the field model reads.
inline constexpr std::int32_t kAdoFldUpdatable = 4;
inline constexpr std::int32_t kAdoFldUnknownUpdatable = 8;
inline constexpr std::int32_t kAdoFldFixed = 16;
inline constexpr std::int32_t kAdoFldIsNullable = 32;

struct DaoFieldDefinition {
  std::u16string Name;
  std::int16_t Type = 0;        // dbBoolean 1 ... dbTimeStamp 23
  std::int32_t Size = 0;        // bytes, or characters for text
  std::int32_t Attributes = 0;  // FieldAttributeEnum
  bool AllowZeroLength = false;
  bool Required = false;
  // The column's stored "Caption" property; nullopt when the column has none.
  std::optional<std::u16string> Caption;
};

struct AdoFieldDefinition {
  std::u16string Name;
  std::int16_t Type = 0;  // DataTypeEnum, plus 141 (XML) and 146 (date-time with offset)
  std::uint8_t Precision = 0;
  std::int32_t DefinedSize = 0;
  std::int32_t Attributes = 0;  // FieldAttributeEnum
  // The provider property "ISAUTOINCREMENT" (Null counts as False); nullopt when the provider
  // offers no such property, which the import refuses.
  std::optional<Variant> IsAutoIncrement;
};

}  // namespace vantorel
