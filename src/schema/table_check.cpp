// The check's pass over tables and views: each snapshot table against the stored table of the
// same name and type (or, failing that, of the same name in another letter case), then the
// stored tables the snapshot no longer has.
#include <vector>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "fields/field_settings.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/value_format.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "schema/model_values.hpp"

namespace vantorel {

namespace {

struct Counts {
  std::int32_t newTables = 0, changedTables = 0, removedTables = 0, keyChanges = 0;
  std::int32_t newFields = 0, changedFields = 0, droppedFields = 0;
  std::int16_t total() const {
    return static_cast<std::int16_t>(newTables + changedTables + removedTables + keyChanges +
                                     newFields + changedFields + droppedFields);
  }
};

std::u16string sortedKey(const Variant& key) {
  return toString(SortLines(key));
}

// One snapshot table against its stored counterpart, which is loaded.
void compareTable(const AGSchemaTable& live, AGPTable& stored, Counts& counts, CheckNotes& notes) {
  const std::size_t n = fieldRecordCount(live);
  const bool partial = !live.TblReadError.empty();
  if (partial && n == 0) {
    // Nothing is known of its columns now: the table may have changed, it has not lost them.
    ++counts.changedTables;
    notes.say(
        titledMessage(u"Columns of " + live.TblName + u" could not be read! " + live.TblReadError));
    return;
  }
  const FieldTally fields = TallyColumns(live, stored.fields());
  // A column renamed in letter case only changes its table, nothing more.
  const bool tableChanged = fields.added > 0 || fields.changed > 0 || fields.recased > 0 ||
                            static_cast<std::int32_t>(n) != stored.fields().count();
  if (partial) {
    // Read in part (its keys or indexes, say): what was read may show a change, but no more
    // than the one table, and its key is not compared.
    if (tableChanged) ++counts.changedTables;
    return;
  }
  AGProperties& bag = stored.properties();
  if (live.TblType == u"TABLE" &&
      sortedKey(bag.setting(kTblKey)) != sortedKey(Variant(live.TblKey))) {
    ++counts.keyChanges;
  }
  counts.newFields += fields.added;
  counts.changedFields += fields.changed;
  if (tableChanged) ++counts.changedTables;
  // The columns that found no stored field of their name, counted once more.
  counts.droppedFields += fields.added;
}

}  // namespace

std::vector<StoredTable> storedTablesAndViews(AGPTables& tables) {
  std::vector<StoredTable> out;
  for (std::int32_t i = 0; i < tables.count(); ++i) {
    AGPTable& table = tables.at(static_cast<std::size_t>(i));
    std::u16string type = settingAsText(table.properties().setting(kTblType));
    if (isTableOrView(type)) out.push_back({&table, table.tblName(), std::move(type)});
  }
  return out;
}

std::vector<const StoredTable*> storedForRecords(const std::vector<StoredTable>& stored,
                                                 const AGSchemaDB& live) {
  const std::size_t n = tableRecordCount(live);
  std::vector<const StoredTable*> out(n + 1, nullptr);
  auto named = [&](const std::u16string& name, const std::u16string& type) {
    for (std::size_t i = 1; i <= n; ++i) {
      if (live.Tables.Tbl[i].TblName == name && live.Tables.Tbl[i].TblType == type) return true;
    }
    return false;
  };
  std::vector<bool> taken(stored.size(), false);
  for (const bool exact : {true, false}) {
    for (std::size_t i = 1; i <= n; ++i) {
      const AGSchemaTable& rec = live.Tables.Tbl[i];
      if (out[i]) continue;
      for (std::size_t k = 0; k < stored.size(); ++k) {
        const StoredTable& s = stored[k];
        if (taken[k] || s.type != rec.TblType) continue;
        const bool fits = exact ? s.name == rec.TblName
                                : equalsNoCase(s.name, rec.TblName) && !named(s.name, s.type);
        if (!fits) continue;
        taken[k] = true;
        out[i] = &s;
        break;
      }
    }
  }
  return out;
}

Expected<std::int16_t> CheckTablesViews(AGP& project, const AGPSchema& snapshot,
                                        CheckNotes& notes) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return std::int16_t{0};
  if (Expected<> whole = snapshotIsWhole(snapshot, *db); !whole) return std::move(whole).failure();
  EntryStatus status(project, u"Checking Database", true);
  const AGSchemaDB& live = snapshot.database();
  const std::vector<StoredTable> stored = storedTablesAndViews(db->tables());
  Counts counts;
  const std::size_t n = tableRecordCount(live);
  const std::vector<const StoredTable*> matches = storedForRecords(stored, live);
  for (std::size_t i = 1; i <= n; ++i) {
    const AGSchemaTable& rec = live.Tables.Tbl[i];
    const StoredTable* match = matches[i];
    if (!match) {
      ++counts.newTables;
      counts.newFields += static_cast<std::int32_t>(fieldRecordCount(rec));
      continue;
    }
    // Renamed in letter case only: one change, not a new table and a removed one.
    if (match->name != rec.TblName) ++counts.changedTables;
    AGProperties& bag = match->table->properties();
    bag.setting(kTblSchema) = Variant(rec.TblSchema);
    if (settingAsBool(bag.setting(kTblLoaded))) compareTable(rec, *match->table, counts, notes);
  }
  std::vector<bool> kept(stored.size(), false);
  for (const StoredTable* match : matches) {
    if (match) kept[static_cast<std::size_t>(match - stored.data())] = true;
  }
  for (std::size_t k = 0; k < stored.size(); ++k) {
    if (kept[k]) continue;
    const StoredTable& s = stored[k];
    ++counts.removedTables;
    counts.droppedFields += s.table->fields().count();
  }
  return counts.total();
}

}  // namespace vantorel
