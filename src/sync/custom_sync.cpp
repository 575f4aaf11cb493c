#include "sync/custom_sync.hpp"

#include <cstddef>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/extension_hooks.hpp"
#include "database/custom_view_loader.hpp"
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/table_keys.hpp"
#include "model/tables.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "schema/custom_views.hpp"
#include "schema/definition_copies.hpp"
#include "schema/live_schema.hpp"
#include "schema/schema_snapshot.hpp"
#include "sync/field_marks.hpp"
#include "sync/sync_run.hpp"
#include "sync/sync_settings.hpp"

namespace vantorel {

namespace {

void setSync(AGPField& field, bool value) {
  field.properties().setting(kFldSync) = Variant(value);
}

// Stored fields whose names differ from a live column's only in letter case take the live
// spelling first, through the collection's rename, so that the exact matching that follows
// keeps them and their settings; each rename is recorded for the reference repair.
void followCaseOnlyRenames(SyncRun& run, AGPTable& table, const std::vector<std::u16string>& live) {
  const std::u16string name = table.tblName();
  AGPFields& fields = table.fields();
  auto heldExactly = [&](const std::u16string& n) {
    for (const Ref<AGPField>& f : fieldsOf(table)) {
      if (f->FldName() == n) return true;
    }
    return false;
  };
  auto isLive = [&](const std::u16string& n) {
    for (const std::u16string& l : live) {
      if (l == n) return true;
    }
    return false;
  };
  for (const std::u16string& column : live) {
    if (heldExactly(column)) continue;
    for (const Ref<AGPField>& field : fieldsOf(table)) {
      const std::u16string stored = field->FldName();
      if (!equalsNoCase(stored, column) || isLive(stored)) continue;
      if (fields.change(name, stored, column)) {
        run.log.AddSyncLog(u"C", u"Field", name, stored, u"Rename " + stored + u" to " + column,
                           name, column);
      }
      break;
    }
  }
}

void recordObjectError(SyncRun& run, AGPTable& table, const std::u16string& message) {
  table.properties().setting(kTblCustomError) = Variant(message);
  table.properties().setting(kTblSyncMessage) = Variant(message);
  run.log.AddSyncFailure(table.tblType(), table.tblName(), message);
}

// What the snapshot's reading of the query tells the analysis of its text.
CustomViewSources sourcesOf(SyncRun& run, const AGSchemaDB& columns, const AGSchemaTable& rec) {
  CustomViewSources sources{run.db, columns.connectionDatabase, {}};
  for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
    const AGSchemaField& fld = rec.TblFields.fld[j];
    if (!fld.sourceTable.empty()) {
      sources.described.push_back({fld.FldName, fld.sourceTable, fld.sourceField});
    }
  }
  return sources;
}

void syncCustomFields(SyncRun& run, AGPTable& view, const AGSchemaDB& columns) {
  const AGSchemaTable& rec = columns.Tables.Tbl[1];
  view.properties().setting(kTblCustomError) = Variant(u"");
  for (const Ref<AGPField>& field : fieldsOf(view)) setSync(*field, false);
  InitSyncedCustomView(view, rec, false);
  std::vector<std::u16string> live;
  for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
    live.push_back(rec.TblFields.fld[j].FldName);
  }
  followCaseOnlyRenames(run, view, live);

  followColumns(run, view, rec, {u"Change type from ", u"Add field"});
  removeUnmatchedFields(run, view);
  if (!settingAsText(view.properties().setting(kTblKey)).empty()) SetFieldsFromTblKey(view);
  // As when it was loaded: a source in another schema or database is not the model's table.
  ParseCustomSql(view, sourcesOf(run, columns, rec));
  view.fields().setSeq(1);
}

void copySource(AGPField& target, AGPField& source) {
  for (SettingSlot slot : {kFldAlias, kFldSourceName, kFldSourceTable, kFldSourceField}) {
    target.properties().setting(slot) = source.properties().setting(slot);
  }
}

}  // namespace

void SyncCustom(SyncRun& run, const std::u16string& sTable) {
  Ref<AGPTable> view = run.db.tables().item(Variant(sTable));
  if (!view) return;
  // The view's own snapshot, dropped when this call ends.
  const Ref<AGPSchema> columns = makeRef<AGPSchema>();
  Expected<> read =
      columns->readCustomView(CustomViewConnStr(run.project), view->tblName(),
                              settingAsText(view->properties().setting(kTblCustomSQL)));
  if (!read || columns->database().Tables.Tbl.size() < 2) {
    recordObjectError(run, *view, read ? std::u16string() : std::move(read.failure().text));
    return;
  }
  syncCustomFields(run, *view, columns->database());
  if (run.wholeRun()) return;
  const std::u16string name = view->tblName();
  AGPTables& tables = run.db.tables();
  std::vector<std::u16string> reports;
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    if (table.tblType() == u"REPORT" &&
        settingAsText(table.properties().setting(kTblRptSrc)) == name)
      reports.push_back(table.tblName());
  }
  for (const std::u16string& report : reports) SyncReport(run, report);
}

void SyncReport(SyncRun& run, const std::u16string& sTable) {
  AGPTables& tables = run.db.tables();
  Ref<AGPTable> report = tables.item(Variant(sTable));
  if (!report) return;
  const std::u16string sourceName = settingAsText(report->properties().setting(kTblRptSrc));
  const std::u16string title = projectContext().productTitle;
  Ref<AGPTable> source;
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    if (table.tblName() != sourceName) continue;
    if (!settingAsText(table.properties().setting(kTblCustomError)).empty()) {
      recordObjectError(run, *report, title + u": Source Table Error");
      return;
    }
    source = Ref<AGPTable>(&table);
    break;
  }
  if (!source) {
    recordObjectError(run, *report, title + u": Source Table not found");
    return;
  }
  // A source that is only listed has no fields to follow: the report keeps its own.
  if (!settingAsBool(source->properties().setting(kTblLoaded))) {
    recordObjectError(run, *report, title + u": Source Table not loaded");
    return;
  }
  const std::u16string name = report->tblName();
  CopyTableDefinition(*report, *source, false);
  for (const Ref<AGPField>& f : fieldsOf(*report)) setSync(*f, false);
  for (const Ref<AGPField>& f : fieldsOf(*source)) setSync(*f, false);
  std::vector<std::u16string> live;
  for (const Ref<AGPField>& f : fieldsOf(*source)) live.push_back(f->FldName());
  followCaseOnlyRenames(run, *report, live);

  for (const Ref<AGPField>& sf : fieldsOf(*source)) {
    for (const Ref<AGPField>& rf : fieldsOf(*report)) {
      if (settingAsBool(rf->properties().setting(kFldSync)) || rf->FldName() != sf->FldName() ||
          rf->FldType() != sf->FldType()) {
        continue;
      }
      CopyFieldDefinition(*rf, *sf, false);
      copySource(*rf, *sf);
      setSync(*rf, true);
      setSync(*sf, true);
      break;
    }
  }
  AGPFields& fields = report->fields();
  for (const Ref<AGPField>& sf : fieldsOf(*source)) {
    if (settingAsBool(sf->properties().setting(kFldSync))) continue;
    Ref<AGPField> rf;
    if (fields.fieldExist(Variant(sf->FldName()))) {
      // The source's column changed its type: the report's field takes the new definition and
      // keeps the user's settings, instead of being deleted now and added with defaults later.
      rf = fields.item(Variant(sf->FldName()));
      if (!rf || settingAsBool(rf->properties().setting(kFldSync))) continue;
      const std::u16string message =
          u"Change type from " + typeText(rf->FldType()) + u" to " + typeText(sf->FldType());
      rf->properties().setting(kFldSyncMessage) = Variant(message);
      run.log.AddSyncLog(u"C", u"Field", name, rf->FldName(), message);
      CopyFieldDefinition(*rf, *sf, false);
    } else if (fields.add(name, sf->FldName())) {
      rf = fields.item(Variant(sf->FldName()));
      if (!rf) continue;
      rf->properties().setting(kFldSyncMessage) = Variant(u"Add field");
      run.log.AddSyncLog(u"A", u"Field", name, rf->FldName(), u"Add field");
      CopyFieldDefinition(*rf, *sf, true);
      hooks::ApplyExtensionsToField(run.project, name, rf->FldName());
    } else {
      continue;
    }
    copySource(*rf, *sf);
    setSync(*rf, true);
  }
  removeUnmatchedFields(run, *report);
  fields.setSeq(1);
  report->properties().setting(kTblCustomError) = Variant(u"");
}

void SyncReports(SyncRun& run) {
  SetSyncDefaults(run);
  EntryStatus status(run.project, u"Synchronizing Reports", true);
  AGPTables& tables = run.db.tables();
  std::vector<std::u16string> reports;
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    if (table.tblType() == u"REPORT") reports.push_back(table.tblName());
  }
  for (const std::u16string& report : reports) SyncReport(run, report);
  tables.setSeq(1);
}

void SyncCustom(AGP& project, const std::u16string& sTable) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db || !db->tables().item(Variant(sTable))) return;
  // A custom view read again leaves the text empty; its fault goes to the view and the log.
  projectContext().lastErrorText.clear();
  SyncRun run(project, *db, Ref<AGPSchema>(), u"");
  SyncCustom(run, sTable);
}

void SyncReport(AGP& project, const std::u16string& sTable) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return;
  SyncRun run(project, *db, Ref<AGPSchema>(), u"");
  SyncReport(run, sTable);
}

}  // namespace vantorel
