#include "unrecorded_changes.hpp"

#include <cstddef>
#include <string>
#include <string_view>

#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/text/strings.hpp"
#include "schema/definition_copies.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "schema/model_values.hpp"
#include "schema/schema_snapshot.hpp"
#include "sync/sync_run.hpp"

namespace vantorel::cli {

namespace {

// The values of an enum or set, one a line as `"value","caption"`, joined by commas.
std::u16string valueList(const std::u16string& lines) {
  std::u16string out;
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find(u'\n', start);
    if (end == std::u16string::npos) end = lines.size();
    std::u16string_view line(lines.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (line.empty()) continue;
    std::u16string_view value = line.substr(0, line.find(u','));
    if (line.front() == u'"') value = line.substr(1, line.find(u'"', 1) - 1);
    out += (out.empty() ? u"" : u", ") + std::u16string(value);
  }
  return out.empty() ? u"none" : out;
}

void addFlag(std::u16string& out, bool was, bool now, const char16_t* what) {
  if (was == now) return;
  out += (out.empty() ? u"" : u", ") + std::u16string(now ? u"now " : u"no longer ") + what;
}

void addChange(std::u16string& out, const char16_t* what, const std::u16string& was,
               const std::u16string& now) {
  if (was == now) return;
  out += (out.empty() ? u"" : u", ") + std::u16string(what) + u" from " + was + u" to " + now;
}

// What differs between the stored field and the column, in words.
std::u16string describe(AGPField& field, const AGSchemaField& rec) {
  AGProperties& bag = field.properties();
  std::u16string out;
  addChange(out, u"size", toU16(settingAsLong(bag.setting(kFldSize))), toU16(rec.FldSize));
  addFlag(out, settingAsBool(bag.setting(kFldReq)), rec.FldReq, u"required");
  addFlag(out, settingAsBool(bag.setting(kFldUniqueIdx)), rec.FldUniqueIdx, u"uniquely indexed");
  addFlag(out, settingAsBool(bag.setting(kFldZeroLen)), rec.FldZeroLen, u"allowing empty text");
  addFlag(out, settingAsBool(bag.setting(kFldAutoIncrement)), rec.FldAutoIncrement,
          u"auto-incremented");
  addChange(out, u"attributes", toU16(settingAsLong(bag.setting(kFldAttribute))),
            toU16(rec.FldAttribute));
  if (isValueListType(settingAsText(bag.setting(kFldTypeName)))) {
    addChange(out, u"values", valueList(settingAsText(bag.setting(kFldTagValues))),
              valueList(rec.FldTagValues));
  }
  return u"Changed definition: " + out;
}

}  // namespace

std::vector<SyncLogEntry> unrecordedFieldChanges(AGPDatabase& db, const AGPSchema& snapshot) {
  std::vector<SyncLogEntry> out;
  const AGSchemaDB& live = snapshot.database();
  // Each record against the stored table the check compares it with.
  const std::vector<StoredTable> stored = storedTablesAndViews(db.tables());
  const std::vector<const StoredTable*> matches = storedForRecords(stored, live);
  for (std::size_t i = 1, n = tableRecordCount(live); i <= n; ++i) {
    const AGSchemaTable& rec = live.Tables.Tbl[i];
    if (!rec.TblReadError.empty() || !matches[i]) continue;
    AGPTable* table = matches[i]->table;
    // A table only listed has no fields to compare.
    if (!settingAsBool(table->properties().setting(kTblLoaded))) continue;
    std::vector<std::u16string> columns;
    for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
      columns.push_back(rec.TblFields.fld[j].FldName);
    }
    const std::vector<AGPField*> fields = fieldsForColumns(table->fields(), columns);
    for (std::size_t j = 0; j < columns.size(); ++j) {
      const AGSchemaField& sf = rec.TblFields.fld[j + 1];
      AGPField* field = fields[j];
      // A new type is recorded by the synchronisation itself.
      if (!field || field->FldType() != sf.FldType || FieldMatchesSchema(sf, *field)) continue;
      out.push_back({u"C", u"Field", rec.TblName, sf.FldName, describe(*field, sf)});
    }
  }
  return out;
}

}  // namespace vantorel::cli
