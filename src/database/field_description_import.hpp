#pragma once
// A result column, as the data layer describes it, in the shape of the ADO Field that
// AGPField.LoadFld_ADO imports.
#include "fields/field_definition.hpp"
#include "platform/data/query_metadata.hpp"

namespace vantorel {

AdoFieldDefinition adoFieldDefinition(const data::FieldDescription& column);

}  // namespace vantorel
