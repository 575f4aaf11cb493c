// AGP.LoadCustomView and AGP.ChangeCustomViewToView.
#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/extension_hooks.hpp"
#include "agp/menu_sync.hpp"
#include "database/ado_database_loader.hpp"
#include "fields/field_settings.hpp"
#include "foundation/entry_error_text.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/synced_settings.hpp"
#include "model/database.hpp"
#include "project/project_catalogue.hpp"
#include "schema/custom_views.hpp"
#include "schema/definition_copies.hpp"
#include "schema/live_schema.hpp"
#include "schema/model_values.hpp"

namespace vantorel {

namespace {

// The first table in collection order named exactly `name`, or nullptr.
AGPTable* tableInOrder(AGPTables& tables, const std::u16string& name) {
  for (std::int32_t i = 0; i < tables.count(); ++i) {
    AGPTable& table = tables.at(static_cast<std::size_t>(i));
    if (table.tblName() == name) return &table;
  }
  return nullptr;
}

// Each field's source table and column in the model's spelling. The query analysis gives them as
// the query writes them, and the copy of settings below, the check and the synchronisation look
// them up by exact name.
void resolveFieldSources(AGP& project, AGPDatabase& db, AGPFields& fields) {
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    AGProperties& bag = field.properties();
    const std::u16string table = settingAsText(bag.setting(kFldSourceTable));
    const std::u16string column = settingAsText(bag.setting(kFldSourceField));
    if (table.empty() || column.empty()) {
      if (!settingAsText(bag.setting(kFldSourceName)).empty()) {
        SetCustomViewFieldSources(project, field);
      }
      continue;
    }
    AGPTable* source = db.tables().find(table);
    AGPField* sourceField = source ? source->fields().find(column) : nullptr;
    if (!sourceField) continue;
    bag.setting(kFldSourceTable) = Variant(source->tblName());
    bag.setting(kFldSourceField) = Variant(sourceField->FldName());
  }
}

void copySourceSettings(AGPDatabase& db, AGPFields& fields) {
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    AGProperties& bag = field.properties();
    const std::u16string table = settingAsText(bag.setting(kFldSourceTable));
    const std::u16string column = settingAsText(bag.setting(kFldSourceField));
    if (table.empty() || column.empty()) continue;
    AGPTable* source = tableInOrder(db.tables(), table);
    // A source that is not loaded has no settings to give.
    if (!source || !settingAsBool(source->properties().setting(kTblLoaded))) continue;
    if (AGPField* from = fieldNamedExactly(source->fields(), column)) {
      CopySyncedSettings(from->properties(), bag);
    }
  }
}

Expected<> addCustomView(AGP& project, const std::u16string& sTableName, const std::u16string& sSQL,
                         bool bCopyFields) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return Failure{databaseNotLoaded()};
  AGPTables& tables = db->tables();
  if (tableNamedExactly(tables, sTableName)) {
    return Failure{titledMessage(u"Table/View " + sTableName + u" already exists!")};
  }
  project.ReloadKeywords();
  EntryStatus status(project, u"Loading " + sTableName, true);
  AGProperties& projectBag = project.properties();
  DatabaseLoad load;
  load.sqlQuoteSetting = settingAsText(projectBag.setting(kProjSQLQuote));
  copyDateFormatSetting(projectBag);
  LoadOutcome loaded = loadAdoCustomView(load, *db, CustomViewConnStr(project), sTableName, sSQL);
  showLoadNotices(load);
  if (!loaded.loaded()) {
    return Failure{loaded.reason.empty() ? u"Load Database failed!" : std::move(loaded.reason),
                   loaded.code};
  }
  const Ref<AGPTable> table = tables.item(Variant(sTableName));
  if (!table || table->fields().count() == 0) {
    // A query without columns gives nothing to show; a custom view without fields would be
    // taken by every later check as one whose columns all vanished.
    if (table) tables.remove(sTableName);
    return Failure{titledMessage(u"Custom view " + sTableName + u" returns no columns!")};
  }
  resolveFieldSources(project, *db, table->fields());
  if (bCopyFields) copySourceSettings(*db, table->fields());
  status.close();
  hooks::ApplyExtensionsToTable(project, sTableName);
  SyncMenus(project);
  return {};
}

// Refused silently: false; refused with a reason: the failure.
Expected<bool> changeToView(AGP& project, const std::u16string& SourceName,
                            const std::u16string& TargetName) {
  if (SourceName.empty() || TargetName.empty()) return false;
  const Ref<AGPDatabase> db = project.DB();
  if (!db || !db->tables().tableExist(Variant(SourceName))) return false;
  AGPTables& tables = db->tables();
  const Ref<AGPTable> table = tables.item(Variant(SourceName));
  AGProperties& bag = table->properties();
  if (settingAsText(bag.setting(kTblType)) != u"CUSTOMVIEW") {
    return Failure{titledMessage(u"source table is not a custom view!")};
  }
  if (!settingAsText(bag.setting(kTblCustomError)).empty()) {
    return Failure{titledMessage(u"custom view has error!")};
  }

  // Another table of the model under the target name (the view loaded since, say) would stand
  // twice; the table names ignore case, so only the custom view itself may hold it.
  if (AGPTable* holder = tables.find(TargetName); holder && holder != table.get()) {
    return Failure{titledMessage(u"Table/View " + TargetName + u" already exists!")};
  }

  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  const Expected<> read = loadLiveSchema(*snapshot, *db, TargetName);
  const AGSchemaDB& live = snapshot->database();
  // A view whose columns could not be read is no view to compare with.
  if (!read || tableRecordCount(live) != 1 || !live.Tables.Tbl[1].TblReadError.empty()) {
    return Failure{titledMessage(u"load view failed!")};
  }
  const AGSchemaTable& rec = live.Tables.Tbl[1];
  AGPFields& fields = table->fields();
  const std::size_t n = fieldRecordCount(rec);
  bool same = static_cast<std::int32_t>(n) == fields.count();
  for (std::size_t j = 1; j <= n && same; ++j) {
    same = fieldNamedExactly(fields, rec.TblFields.fld[j].FldName) != nullptr;
  }
  if (!same) return Failure{titledMessage(u"fields mismatched!")};

  for (std::size_t j = 1; j <= n; ++j) {
    AGPField& field = *fieldNamedExactly(fields, rec.TblFields.fld[j].FldName);
    CopyFieldFromSchema(field, rec.TblFields.fld[j], false);
    AGProperties& fieldBag = field.properties();
    fieldBag.setting(kFldAlias) = Variant(false);
    for (const FieldSetting row : {kFldSourceName, kFldSourceTable, kFldSourceField}) {
      fieldBag.setting(row) = Variant(u"");
    }
  }
  if (SourceName != TargetName) {
    tables.change(SourceName, TargetName);
    bag.setting(kTblRptSrc) = Variant(TargetName);
    // Reports over the custom view follow it, or they would lose their source.
    for (std::int32_t i = 0; i < tables.count(); ++i) {
      AGProperties& other = tables.at(static_cast<std::size_t>(i)).properties();
      if (settingAsText(other.setting(kTblType)) == u"REPORT" &&
          settingAsText(other.setting(kTblRptSrc)) == SourceName) {
        other.setting(kTblRptSrc) = Variant(TargetName);
      }
    }
  }
  bag.setting(kTblType) = Variant(rec.TblType);
  bag.setting(kTblCustomSQL) = Variant(u"");
  return true;
}

}  // namespace

void LoadCustomView(AGP& project, const std::u16string& sTableName, const std::u16string& sSQL,
                    bool bCopyFields) {
  static_cast<void>(
      withEntryErrorText([&] { return addCustomView(project, sTableName, sSQL, bCopyFields); }));
}

bool ChangeCustomViewToView(AGP& project, const std::u16string& SourceName,
                            const std::u16string& TargetName) {
  Expected<bool> changed = changeToView(project, SourceName, TargetName);
  if (changed) return *changed;
  // Only a refusal with a reason says anything; the text is otherwise left as it was.
  projectContext().lastErrorText = std::move(changed.failure().text);
  return false;
}

}  // namespace vantorel
