#include "sync/sync_driver.hpp"

#include <cstddef>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/menu_sync.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/table_keys.hpp"
#include "model/tables.hpp"
#include "schema/schema_snapshot.hpp"
#include "sync/reference_repair.hpp"
#include "sync/rename_mapping.hpp"
#include "sync/sync_log.hpp"
#include "sync/sync_run.hpp"
#include "sync/sync_settings.hpp"

namespace vantorel {

namespace {

bool holdsTablesOrViews(AGPDatabase& db) {
  AGPTables& tables = db.tables();
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    const std::u16string type = tables.at(t).tblType();
    if (type == u"TABLE" || type == u"VIEW") return true;
  }
  return false;
}

std::u16string refused(const std::u16string& why) {
  return titledMessage(u"The database was not synchronized: " + why +
                       u". The project has not been changed.");
}

}  // namespace

std::u16string SnapshotRefusal(AGP& project, const AGPSchema& snapshot) {
  const AGSchemaDB& db = snapshot.database();
  if (!db.tableListError.empty()) {
    return refused(u"the list of tables could not be read (" + db.tableListError + u")");
  }
  if (!db.viewListError.empty()) {
    return refused(u"the list of views could not be read (" + db.viewListError + u")");
  }
  const Ref<AGPDatabase> model = project.DB();
  if (snapshot.tblcnt() == 0 && model && holdsTablesOrViews(*model)) {
    return refused(u"the database shows no table or view while the project holds some");
  }
  return {};
}

void SyncCustomViews(SyncRun& run) {
  SetSyncDefaults(run);
  EntryStatus status(run.project, u"Synchronizing Custom Views", true);
  // Custom views are synchronised by the custom view pass, which this build brings later.
  run.db.tables().setSeq(1);
}

SyncOutcome RunSyncPasses(AGP& project, const Ref<AGPSchema>& snapshot,
                          const SyncOptions& options) {
  SyncOutcome outcome;
  const Ref<AGPDatabase> db = project.DB();
  if (!db || !snapshot) return outcome;
  // The run's scope ("ALL") and its records end with it, however it ends.
  SyncRun run(project, *db, snapshot, u"ALL", options);
  MapRenamedObjects(run);
  SyncCustomViews(run);
  SyncMenus(project);
  SyncFieldRefs(run);
  if (options.writeLog) {
    outcome.logFailure = WriteSyncLog(project, run.log);
  } else {
    run.log.sort();
  }
  SetTblKeyFromFields(*db);
  if (!outcome.logFailure.empty()) {
    outcome.logFailure =
        titledMessage(u"The synchronization log could not be written: " + outcome.logFailure);
  }
  outcome.changes = run.log.entries();
  return outcome;
}

Ref<AGPSchema> TakeSnapshot(AGP& project) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return {};
  AGProperties& props = db->properties();
  std::u16string name = settingAsText(props.setting(kDBName));
  ProjectContext& ctx = projectContext();
  ctx.statusText = ctx.productTitle + u" - Database Synchronization...";
  Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  ctx.lastErrorText.clear();
  snapshot->LoadDB(
      name, settingAsText(props.setting(kDBType)), settingAsText(props.setting(kDBPath)),
      settingAsText(props.setting(kDBPhyPath)), settingAsBool(props.setting(kDBUseServerMapPath)),
      settingAsText(props.setting(kDBUID)), settingAsText(props.setting(kDBPwd)),
      settingAsText(props.setting(kDBConnstr)), settingAsText(props.setting(kDBSchema)), u"");
  if (!ctx.lastErrorText.empty()) return {};
  return snapshot;
}

void SynchronizeDB(AGP& project) {
  if (!project.DB()) return;
  // The snapshot lives for this call only and goes on every way out.
  const Ref<AGPSchema> snapshot = TakeSnapshot(project);
  if (!snapshot) return;
  ProjectContext& ctx = projectContext();
  if (std::u16string why = SnapshotRefusal(project, *snapshot); !why.empty()) {
    ctx.lastErrorText = why;
    return;
  }
  ctx.lastErrorText = RunSyncPasses(project, snapshot).logFailure;
}

}  // namespace vantorel
