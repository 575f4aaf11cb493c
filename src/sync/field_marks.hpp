#pragma once
// What the table pass and the custom-view pass share over a stored object's fields: a list of
// them that stays valid while the collection changes, and the first matching step that marks
// the fields the live columns still describe.
#include <cstdint>
#include <string>
#include <vector>

#include "fields/field.hpp"
#include "model/table.hpp"
#include "platform/automation/ref.hpp"
#include "schema/schema_records.hpp"

namespace vantorel {

// The fields in collection order, each held, so that removing one during a walk is safe.
std::vector<Ref<AGPField>> fieldsOf(AGPTable& table);
// A field type as the log writes it.
std::u16string typeText(std::int16_t type);
// Unchanged columns first, so that a changed one cannot take an unchanged one's field: each
// live column takes the first unmarked field of its exact name and type, which is marked as
// synchronised and given the column's definition.
void keepUnchangedFields(AGPTable& table, const AGSchemaTable& rec);

}  // namespace vantorel
