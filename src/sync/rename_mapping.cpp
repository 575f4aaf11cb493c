#include "sync/rename_mapping.hpp"

#include <cstddef>
#include <string>
#include <vector>

#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/table_keys.hpp"
#include "model/tables.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "schema/live_schema.hpp"
#include "sync/reference_repair.hpp"
#include "sync/rename_question.hpp"
#include "sync/sync_run.hpp"

namespace vantorel {

namespace {

bool marked(const Variant& v) {
  return settingAsBool(v);
}

// The tables of one type in collection order; the list holds them while tables are renamed.
std::vector<Ref<AGPTable>> tablesOfType(AGPTables& tables, std::u16string_view type) {
  std::vector<Ref<AGPTable>> out;
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    if (table.tblType() == type) out.emplace_back(&table);
  }
  return out;
}

// A renamed key field stays the key: the key names it by its new name, so that the key pass
// finds the database's key unchanged.
void followKeyRename(AGPTable& table, const std::u16string& oldName,
                     const std::u16string& newName) {
  Variant& key = table.properties().setting(kTblKey);
  std::vector<std::u16string> names = split(settingAsText(key), u"\r\n");
  bool named = false;
  for (std::u16string& name : names) {
    if (UnquoteName(trimBlanks(name)) != oldName) continue;
    name = newName;
    named = true;
  }
  if (named) key = Variant(join(names, u"\r\n"));
}

void recordTableRename(SyncRun& run, AGPTable& table, const std::u16string& oldName,
                       const std::u16string& newName) {
  run.log.AddSyncLog(u"C", table.tblType(), oldName, u"", u"Rename " + oldName + u" to " + newName,
                     newName);
  run.renamedTables[newName] = oldName;
  FollowTableRename(run, oldName, newName);
}

void mapTables(SyncRun& run, std::u16string_view type, const std::u16string& label) {
  AGPTables& tables = run.db.tables();
  const std::vector<Ref<AGPTable>> stored = tablesOfType(tables, type);
  for (const Ref<AGPTable>& table : stored) {
    table->properties().setting(kTblSync) = Variant(false);
    AGPFields& fields = table->fields();
    for (std::size_t f = 0, n = static_cast<std::size_t>(fields.count()); f < n; ++f) {
      fields.at(f).properties().setting(kFldSync) = Variant(false);
    }
  }
  auto unmatched = [&](auto&& same) -> AGPTable* {
    for (const Ref<AGPTable>& table : stored) {
      if (!marked(table->properties().setting(kTblSync)) && same(table->tblName())) {
        return table.get();
      }
    }
    return nullptr;
  };

  std::vector<std::u16string> newNames;
  std::vector<const AGSchemaTable*> caseOnly;
  const AGPSchema& snapshot = *run.snapshot;
  for (std::size_t i = 1, n = tableRecordCount(snapshot.database()); i <= n; ++i) {
    const AGSchemaTable& rec = snapshot.database().Tables.Tbl[i];
    if (rec.TblType != type) continue;
    if (AGPTable* table = unmatched([&](const std::u16string& n) { return n == rec.TblName; })) {
      table->properties().setting(kTblSync) = Variant(true);
    } else {
      caseOnly.push_back(&rec);
    }
  }
  // A name that differs only in letter case is the same object: it takes the live spelling.
  for (const AGSchemaTable* rec : caseOnly) {
    AGPTable* table =
        unmatched([&](const std::u16string& n) { return equalsNoCase(n, rec->TblName); });
    if (!table) {
      newNames.push_back(rec->TblName);
      continue;
    }
    const std::u16string oldName = table->tblName();
    if (!tables.change(oldName, rec->TblName)) {
      newNames.push_back(rec->TblName);
      continue;
    }
    table->properties().setting(kTblSync) = Variant(true);
    recordTableRename(run, *table, oldName, rec->TblName);
  }

  std::vector<std::u16string> oldNames;
  for (const Ref<AGPTable>& table : stored) {
    if (!marked(table->properties().setting(kTblSync))) oldNames.push_back(table->tblName());
  }
  if (newNames.empty() || oldNames.empty() || !run.options.ask || run.stopping()) return;
  bool cancelled = false;
  const std::vector<std::u16string> chosen =
      ShowMapDialog(u"New " + label + u" found in schema",
                    u"To use old settings, please select the old " + label +
                        u"(s) which you would like to map to the new " + label + u"(s)",
                    u"New " + label, u"Old " + label, newNames, oldNames, &cancelled);
  if (cancelled && run.options.cancellable) run.cancelled = true;
  if (run.stopping()) return;
  for (std::size_t k = 0; k < newNames.size() && k < chosen.size(); ++k) {
    if (chosen[k] == newNames[k]) continue;
    // Only a rename that happened is recorded; a refused one leaves both objects to the next
    // pass, which adds the new one and removes the old.
    if (!tables.change(chosen[k], newNames[k])) continue;
    Ref<AGPTable> table = tables.item(Variant(newNames[k]));
    if (table) recordTableRename(run, *table, chosen[k], newNames[k]);
  }
}

void mapFields(SyncRun& run, AGPTable& table, const AGSchemaTable& rec) {
  AGPFields& fields = table.fields();
  const std::u16string tableName = table.tblName();
  auto unmatched = [&](auto&& same) -> AGPField* {
    for (std::size_t f = 0, n = static_cast<std::size_t>(fields.count()); f < n; ++f) {
      AGPField& field = fields.at(f);
      if (!marked(field.properties().setting(kFldSync)) && same(field.FldName())) return &field;
    }
    return nullptr;
  };
  const auto found = run.renamedTables.find(tableName);
  const std::u16string recordTable = found == run.renamedTables.end() ? tableName : found->second;
  auto recordRename = [&](const std::u16string& oldName, const std::u16string& newName) {
    run.log.AddSyncLog(u"C", u"Field", recordTable, oldName,
                       u"Rename " + oldName + u" to " + newName, tableName, newName);
    followKeyRename(table, oldName, newName);
  };

  std::vector<const AGSchemaField*> caseOnly;
  for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
    const AGSchemaField& sf = rec.TblFields.fld[j];
    if (AGPField* field = unmatched([&](const std::u16string& n) { return n == sf.FldName; })) {
      field->properties().setting(kFldSync) = Variant(true);
    } else {
      caseOnly.push_back(&sf);
    }
  }
  std::vector<std::u16string> newNames;
  for (const AGSchemaField* sf : caseOnly) {
    AGPField* field =
        unmatched([&](const std::u16string& n) { return equalsNoCase(n, sf->FldName); });
    const std::u16string oldName = field ? field->FldName() : std::u16string();
    if (!field || !fields.change(tableName, oldName, sf->FldName)) {
      newNames.push_back(sf->FldName);
      continue;
    }
    field->properties().setting(kFldSync) = Variant(true);
    recordRename(oldName, sf->FldName);
  }
  std::vector<std::u16string> oldNames;
  for (std::size_t f = 0, n = static_cast<std::size_t>(fields.count()); f < n; ++f) {
    AGPField& field = fields.at(f);
    if (!marked(field.properties().setting(kFldSync))) oldNames.push_back(field.FldName());
  }
  if (newNames.empty() || oldNames.empty() || !run.options.ask || run.stopping()) return;
  bool cancelled = false;
  const std::vector<std::u16string> chosen = ShowMapDialog(
      u"Table: " + tableName + u" - New fields found in schema",
      u"To use old settings, please select the old fields which you would like to map to the new "
      u"fields",
      u"New field", u"Old field", newNames, oldNames, &cancelled);
  if (cancelled && run.options.cancellable) run.cancelled = true;
  if (run.stopping()) return;
  for (std::size_t k = 0; k < newNames.size() && k < chosen.size(); ++k) {
    if (chosen[k] == newNames[k]) continue;
    if (fields.change(tableName, chosen[k], newNames[k])) recordRename(chosen[k], newNames[k]);
  }
}

}  // namespace

void MapRenamedObjects(SyncRun& run) {
  run.log.clear();
  run.renamedTables.clear();
  mapTables(run, u"TABLE", u"table");
  if (!run.stopping()) mapTables(run, u"VIEW", u"view");

  const AGPSchema& snapshot = *run.snapshot;
  AGPTables& tables = run.db.tables();
  for (std::size_t i = 1, n = tableRecordCount(snapshot.database()); i <= n && !run.stopping();
       ++i) {
    const AGSchemaTable& rec = snapshot.database().Tables.Tbl[i];
    // Columns that could not be read say nothing about which fields are gone.
    if (!rec.TblReadError.empty()) continue;
    for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
      AGPTable& table = tables.at(t);
      const std::u16string type = table.tblType();
      if (type != u"TABLE" && type != u"VIEW") continue;
      if (type != rec.TblType || table.tblName() != rec.TblName) continue;
      if (!settingAsBool(table.properties().setting(kTblLoaded))) continue;
      mapFields(run, table, rec);
      break;
    }
  }
}

}  // namespace vantorel
