#pragma once
// The exact-name lookups of the schema check's matching steps.
#include <string>
#include <vector>

#include "fields/fields.hpp"

namespace vantorel {

// The matching steps compare names exactly (letter case counts), unlike the collections' keys.
// The first field in collection order named exactly `name`, or nullptr.
AGPField* fieldNamedExactly(AGPFields& fields, const std::u16string& name);
// The stored field of each live column, in column order: the field named exactly like it, else
// one whose name differs from it only in letter case and that no column names exactly (the
// column was renamed in case only); nullptr for a column without a field. A field serves one
// column at most.
std::vector<AGPField*> fieldsForColumns(AGPFields& fields,
                                        const std::vector<std::u16string>& columns);
// TblType "TABLE" or "VIEW": the objects the database itself holds.
bool isTableOrView(const std::u16string& type) noexcept;

}  // namespace vantorel
