#pragma once
// AGP.CheckDB and its passes: how far the stored definition of the project's database differs
// from the live schema. Each pass returns a count; 0 means no difference found. The check changes
// nothing of the model but each matched table's TblSchema and the TblCustomError of custom views
// and reports.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/automation/expected.hpp"
#include "schema/schema_records.hpp"

namespace vantorel {

class AGP;
class AGPSchema;

// Takes a fresh snapshot and adds the three passes. 0 without a database; -1, with the reason in
// LastErrorText and the model untouched, when the live schema could not be read, or read only in
// part so that its word on removed objects cannot be trusted. Otherwise LastErrorText says what
// the passes' notes say, "" when they say nothing.
std::int16_t CheckDB(AGP& project);

// What the passes of one check leave for the project's LastErrorText, which the entry that ran
// them sets once they are over: the last thing an object's check said. Each custom view's query
// starts it afresh, so a view read cleanly after a fault says "".
class CheckNotes {
 public:
  void say(std::u16string text) { said_ = std::move(text); }
  bool saidAnything() const noexcept { return said_.has_value(); }
  // "" when nothing was said.
  const std::u16string& text() const noexcept;

 private:
  std::optional<std::u16string> said_;
};

// Tables and views against the snapshot. Fails, before anything is compared, when the
// snapshot's lists were not read, or hold nothing while the model holds tables or views.
Expected<std::int16_t> CheckTablesViews(AGP& project, const AGPSchema& snapshot, CheckNotes& notes);
// Every custom view's query run again and its columns compared with the stored fields.
std::int16_t CheckCustomViews(AGP& project, CheckNotes& notes);
std::int16_t CheckCustomView(AGP& project, const std::u16string& sTable, CheckNotes& notes);
// The count of one custom view against the columns its query gave.
std::int16_t CompareCustomViewColumns(const AGSchemaTable& live, AGPTable& view);
// Every report compared with the table it is built on.
std::int16_t CheckReports(AGP& project, CheckNotes& notes);
std::int16_t CheckReport(AGP& project, const std::u16string& sTable, CheckNotes& notes);

// A stored table or view with its name and type, read once.
struct StoredTable {
  AGPTable* table;
  std::u16string name, type;
};
std::vector<StoredTable> storedTablesAndViews(AGPTables& tables);
// The stored table of each snapshot record (index 1 on; [0] is unused): the one of the same name
// and type, else one of the same type whose name differs only in letter case and that no record
// names exactly; nullptr for a new table.
std::vector<const StoredTable*> storedForRecords(const std::vector<StoredTable>& stored,
                                                 const AGSchemaDB& live);

// The seven schema settings agree (and, for an "enum" or "set" column, the value lists).
bool FieldMatchesSchema(const AGSchemaField& rec, AGPField& fld);
bool ReportFieldMatchesSource(AGPField& source, AGPField& target);

// One side's fields looked up among the stored fields of the other (by exact name, else by a
// name differing in letter case only): how many found none, how many found one that no longer
// matches, and how many found a matching one spelt in another case.
struct FieldTally {
  std::int32_t added = 0, changed = 0, recased = 0;
};
// A live table's columns against the stored fields of its table or custom view.
FieldTally TallyColumns(const AGSchemaTable& live, AGPFields& stored);
// A report's source fields against the report's own.
FieldTally TallySourceFields(AGPFields& source, AGPFields& report);

// SQL Server, or PostgreSQL over a connection string, with a supported field that has no native
// type name: the generated code needs those names.
bool FieldTypeNamesEmpty(AGP& project);

}  // namespace vantorel
