#include "sync/table_sync.hpp"

#include <cstddef>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/extension_hooks.hpp"
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/value_format.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/table_keys.hpp"
#include "model/tables.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/ui/types.hpp"
#include "project/project_catalogue.hpp"
#include "schema/definition_copies.hpp"
#include "schema/live_schema.hpp"
#include "schema/model_values.hpp"
#include "schema/sync_question.hpp"
#include "sync/field_marks.hpp"
#include "sync/sync_run.hpp"
#include "sync/sync_settings.hpp"

namespace vantorel {

namespace {

std::vector<Ref<AGPTable>> storedTables(AGPTables& tables) {
  std::vector<Ref<AGPTable>> out;
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    if (isTableOrView(table.tblType())) out.emplace_back(&table);
  }
  return out;
}

void clearMarks(AGPTables& tables) {
  for (const Ref<AGPTable>& table : storedTables(tables)) {
    table->properties().setting(kTblSync) = Variant(false);
    table->properties().setting(kTblSyncMessage) = Variant(u"");
    for (const Ref<AGPField>& field : fieldsOf(*table)) {
      field->properties().setting(kFldSync) = Variant(false);
      field->properties().setting(kFldSyncMessage) = Variant(u"");
    }
  }
}

class TablePass {
 public:
  explicit TablePass(SyncRun& run) : run_(run), tables_(run.db.tables()) {}

  void updateExisting(const AGSchemaTable& rec) {
    AGPTable* table = matchStored(rec);
    if (!table) return;
    if (!rec.TblReadError.empty()) {
      keepUnread(*table, rec);
      return;
    }
    // The generated SQL names the table in its schema, as the check refreshes it.
    table->properties().setting(kTblSchema) = Variant(rec.TblSchema);
    InitSyncedCustomView(*table, rec, false);
    followColumns(run_, *table, rec, {u"Changed type from ", u"Added field"});
    table->fields().setSeq(1);
    if (table->tblType() == u"TABLE") askAboutKey(*table, rec);
    SetFieldsFromTblKey(*table);
  }

  void addOrRetype(const AGSchemaTable& rec) {
    // Nothing is known of its columns: a table that cannot be read is not built from nothing.
    if (!rec.TblReadError.empty()) return;
    if (tables_.tableExist(Variant(rec.TblName))) {
      Ref<AGPTable> table = tables_.item(Variant(rec.TblName));
      if (!table) return;
      const std::u16string oldType = table->tblType();
      if (oldType == rec.TblType) return;
      if (!isTableOrView(oldType)) {
        // A custom view or report of this name is the user's own object: it stays as it is.
        const std::u16string message =
            u"Not synchronized: the database has a " + rec.TblType + u" of the same name";
        table->properties().setting(kTblSyncMessage) = Variant(message);
        run_.log.AddSyncFailure(oldType, table->tblName(), message);
        return;
      }
      // Rebuilding drops every field: a removal.
      if (!run_.options.removals) return;
      const std::u16string message = u"Changed type from " + oldType + u" to " + rec.TblType;
      table->properties().setting(kTblSyncMessage) = Variant(message);
      run_.log.AddSyncLog(u"C", oldType, table->tblName(), u"", message);
      const std::u16string name = table->tblName();
      for (const Ref<AGPField>& field : fieldsOf(*table)) {
        table->fields().remove(name, Variant(field->FldName()));
      }
      // The user chose whether the object is generated; its new kind does not change that.
      const bool generated = settingAsBool(table->properties().setting(kTblGen));
      rebuild(*table, rec);
      if (run_.options.asFreshLoad && settingAsBool(table->properties().setting(kTblLoaded))) {
        table->setTblGen(generated);
      }
    } else if (tables_.add(rec.TblName)) {
      Ref<AGPTable> table = tables_.item(Variant(rec.TblName));
      if (!table) return;
      const std::u16string message = u"Add " + rec.TblType;
      table->properties().setting(kTblSyncMessage) = Variant(message);
      run_.log.AddSyncLog(u"A", rec.TblType, rec.TblName, u"", message);
      rebuild(*table, rec);
      // As a project made from the database generates every table and view it read.
      if (run_.options.asFreshLoad && settingAsBool(table->properties().setting(kTblLoaded))) {
        table->setTblGen(true);
      }
    }
  }

  void deleteVanished() {
    if (!run_.options.removals) return;
    for (const Ref<AGPTable>& table : storedTables(tables_)) {
      const std::u16string name = table->tblName();
      if (settingAsBool(table->properties().setting(kTblSync))) {
        // A table that is only listed has no fields to compare.
        if (settingAsBool(table->properties().setting(kTblLoaded))) {
          removeUnmatchedFields(run_, *table);
        }
        continue;
      }
      run_.log.AddSyncLog(u"D", table->tblType(), name, u"", u"Delete table");
      for (const Ref<AGPField>& field : fieldsOf(*table)) {
        run_.log.AddSyncLog(u"D", u"Field", name, field->FldName(), u"Delete field");
      }
      tables_.remove(name);
    }
  }

 private:
  // The stored table of this record, marked; nullptr unless it is loaded.
  AGPTable* matchStored(const AGSchemaTable& rec) {
    for (const Ref<AGPTable>& table : storedTables(tables_)) {
      Variant& mark = table->properties().setting(kTblSync);
      if (settingAsBool(mark) || table->tblType() != rec.TblType ||
          table->tblName() != rec.TblName) {
        continue;
      }
      mark = Variant(true);
      if (settingAsBool(table->properties().setting(kTblLoaded))) return table.get();
    }
    return nullptr;
  }

  // The columns could not be read: the table is known to exist, and nothing in it changes.
  void keepUnread(AGPTable& table, const AGSchemaTable& rec) {
    for (const Ref<AGPField>& field : fieldsOf(table)) {
      field->properties().setting(kFldSync) = Variant(true);
    }
    table.properties().setting(kTblSyncMessage) = Variant(rec.TblReadError);
    // Nothing of the table changed: the record is no difference the run made.
    run_.log.AddSyncFailure(table.tblType(), table.tblName(), rec.TblReadError);
  }

  void askAboutKey(AGPTable& table, const AGSchemaTable& rec) {
    Variant& key = table.properties().setting(kTblKey);
    const std::u16string stored = settingAsText(key);
    if (toString(SortLines(Variant(stored))) == toString(SortLines(Variant(rec.TblKey)))) return;
    ProjectContext& ctx = projectContext();
    // A key naming a column the table no longer has is no key to keep: the database's is taken.
    bool take = !keyColumnsExist(stored, rec) || (!run_.options.ask && run_.options.takeKeys);
    if (!take && run_.options.ask && !run_.stopping()) {
      // Keep is the default: an unattended run never changes a key on its own.
      const ui::Answer answer = AskKeepOrUpdate(u"Primary key for \"" + table.tblName() +
                                                u"\" has been modified. Keep/Update primary Key?");
      if (answer == ui::Answer::Cancel && run_.options.cancellable) run_.cancelled = true;
      take = !ctx.syncKeepAnswer && !run_.stopping();
    } else if (!take) {
      ctx.syncKeepAnswer = true;
    }
    if (!take) return;
    const std::u16string message = u"Changed key from " + stored + u" to " + rec.TblKey;
    table.properties().setting(kTblSyncMessage) = Variant(message);
    run_.log.AddSyncLog(u"C", table.tblType(), table.tblName(), u"", message);
    key = Variant(rec.TblKey);
  }

  // Whether every entry of the stored key names a column of the live table.
  static bool keyColumnsExist(const std::u16string& key, const AGSchemaTable& rec) {
    for (const std::u16string& line : split(key, u"\r\n")) {
      const std::u16string name = UnquoteName(trimBlanks(line));
      if (name.empty()) continue;
      bool found = false;
      for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m && !found; ++j) {
        found = rec.TblFields.fld[j].FldName == name;
      }
      if (!found) return false;
    }
    return true;
  }

  void rebuild(AGPTable& table, const AGSchemaTable& rec) {
    table.properties().setting(kTblSync) = Variant(true);
    table.properties().setting(kTblType) = Variant(rec.TblType);
    table.properties().setting(kTblSchema) = Variant(rec.TblSchema);
    if (settingAsBool(run_.project.properties().setting(kProjDynamicLoadDB))) {
      table.properties().setting(kTblLoaded) = Variant(false);
      table.setTblGen(false);
      return;
    }
    InitSyncedCustomView(table, rec, true);
    const std::u16string name = table.tblName();
    AGPFields& fields = table.fields();
    for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
      const AGSchemaField& sf = rec.TblFields.fld[j];
      if (!fields.add(name, sf.FldName)) continue;
      Ref<AGPField> field = fields.item(Variant(sf.FldName));
      if (!field) continue;
      field->properties().setting(kFldSyncMessage) = Variant(u"New field");
      run_.log.AddSyncLog(u"A", u"Field", name, field->FldName(), u"New field");
      copyColumn(run_, *field, sf, true);
      field->properties().setting(kFldSync) = Variant(true);
    }
    hooks::ApplyExtensionsToTable(run_.project, name);
  }

  SyncRun& run_;
  AGPTables& tables_;
};

}  // namespace

void SyncTablesViews(SyncRun& run) {
  SetSyncDefaults(run);
  EntryStatus status(run.project, u"Synchronizing Tables and Views", true);
  AGPTables& tables = run.db.tables();
  clearMarks(tables);
  TablePass pass(run);
  const AGPSchema& snapshot = *run.snapshot;
  for (std::size_t i = 1, n = tableRecordCount(snapshot.database()); i <= n; ++i) {
    pass.updateExisting(snapshot.database().Tables.Tbl[i]);
  }
  for (std::size_t i = 1, n = tableRecordCount(snapshot.database()); i <= n; ++i) {
    pass.addOrRetype(snapshot.database().Tables.Tbl[i]);
  }
  pass.deleteVanished();
  tables.setSeq(1);
}

}  // namespace vantorel
