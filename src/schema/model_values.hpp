#pragma once
// The exact-name lookups of the schema check's matching steps.
#include <string>

#include "fields/fields.hpp"

namespace vantorel {

// The matching steps compare names exactly (letter case counts), unlike the collections' keys.
// The first field in collection order named exactly `name`, or nullptr.
AGPField* fieldNamedExactly(AGPFields& fields, const std::u16string& name);
// TblType "TABLE" or "VIEW": the objects the database itself holds.
bool isTableOrView(const std::u16string& type) noexcept;

}  // namespace vantorel
