#include "database/field_description_import.hpp"

#include <algorithm>

namespace vantorel {

AdoFieldDefinition adoFieldDefinition(const data::FieldDescription& column) {
  AdoFieldDefinition d;
  d.Name = column.name;
  d.Type = static_cast<std::int16_t>(column.type);
  // ADO's Precision is a byte; 255 stands for "not a number".
  d.Precision = static_cast<std::uint8_t>(std::clamp(column.precision, 0, 255));
  d.DefinedSize = column.definedSize;
  d.Attributes = column.attributes;
  d.IsAutoIncrement = Variant(column.autoIncrement);
  return d;
}

}  // namespace vantorel
