#pragma once
// What the table pass and the custom-view pass share over a stored object's fields: a list of
// them that stays valid while the collection changes, the one pass that makes them follow the
// live columns, and the removal of the fields no column matched.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fields/field.hpp"
#include "model/table.hpp"
#include "platform/automation/ref.hpp"
#include "schema/schema_records.hpp"

namespace vantorel {

struct SyncRun;

// The fields in collection order, each held, so that removing one during a walk is safe.
std::vector<Ref<AGPField>> fieldsOf(AGPTable& table);
// A field type as the log writes it.
std::u16string typeText(std::int16_t type);
// The column's definition copied into the field (see CopyFieldFromSchema), and, in a run that
// synchronises as a fresh load would, the settings that mirror the column (SyncOptions).
void copyColumn(const SyncRun& run, AGPField& field, const AGSchemaField& sf, bool bNew);
// Unchanged columns first, so that a changed one cannot take an unchanged one's field: each
// live column takes the first unmarked field of its exact name and type, which is marked as
// synchronised and given the column's definition.
void keepUnchangedFields(const SyncRun& run, AGPTable& table, const AGSchemaTable& rec);

// The messages of the records the column pass writes; tables and custom views word them apart.
struct ColumnPassTexts {
  std::u16string_view typeChanged;  // followed by the old type, " to " and the new one
  std::u16string_view added;
};

// The stored fields follow the live columns. After the unchanged ones are kept, a column whose
// field (found by name, letter case aside) has another type changes that field, with a "C"
// record; a column without a field gets a new one, with an "A" record. Either field is then
// marked, takes the column's definition with the defaults of its type, and gets the settings the
// extensions give a field. The fields left unmarked are those no column describes any more.
void followColumns(SyncRun& run, AGPTable& table, const AGSchemaTable& rec,
                   const ColumnPassTexts& texts);

// Every field of the table that no column marked is deleted, each with a "D" record, unless the
// run keeps what the database no longer has.
void removeUnmatchedFields(SyncRun& run, AGPTable& table);

}  // namespace vantorel
