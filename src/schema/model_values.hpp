#pragma once
// Settings of the model read as the check and the copies compare them, and the exact-name
// lookups of the matching steps. A value the bag cannot give in that type (Empty, Null, text
// that is no number) reads as 0 or False, so that a hand-edited project file makes a
// difference, never a failed check.
#include <cstdint>
#include <string>
#include <vector>

#include "fields/fields.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

std::int32_t settingAsLong(const Variant& value) noexcept;
std::int16_t settingAsInteger(const Variant& value) noexcept;

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
