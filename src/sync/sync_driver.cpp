#include "sync/sync_driver.hpp"

#include <cstddef>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "agp/menu_sync.hpp"
#include "foundation/entry_error_text.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/table_keys.hpp"
#include "model/tables.hpp"
#include "platform/ui/interrupt.hpp"
#include "schema/live_schema.hpp"
#include "schema/schema_snapshot.hpp"
#include "sync/custom_sync.hpp"
#include "sync/reference_repair.hpp"
#include "sync/rename_mapping.hpp"
#include "sync/sync_log.hpp"
#include "sync/sync_run.hpp"
#include "sync/sync_settings.hpp"
#include "sync/table_sync.hpp"

namespace vantorel {

void SyncCustomViews(SyncRun& run) {
  SetSyncDefaults(run);
  EntryStatus status(run.project, u"Synchronizing Custom Views", true);
  AGPTables& tables = run.db.tables();
  std::vector<std::u16string> views;
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    if (table.tblType() == u"CUSTOMVIEW") views.push_back(table.tblName());
  }
  for (const std::u16string& view : views) SyncCustom(run, view);
  tables.setSeq(1);
}

bool SyncRun::stopping() {
  if (options.cancellable && ui::interruptRequested()) cancelled = true;
  return cancelled;
}

SyncOutcome RunSyncPasses(AGP& project, const Ref<AGPSchema>& snapshot,
                          const SyncOptions& options) {
  SyncOutcome outcome;
  const Ref<AGPDatabase> db = project.DB();
  if (!db || !snapshot) return outcome;
  // The run's scope ("ALL") and its records end with it, however it ends.
  SyncRun run(project, *db, snapshot, u"ALL", options);
  MapRenamedObjects(run);
  if (!run.stopping()) SyncTablesViews(run);
  if (!run.stopping()) SyncCustomViews(run);
  if (!run.stopping()) SyncReports(run);
  if (run.stopping()) {
    // What the passes did so far is half a synchronisation: the host drops it.
    outcome.cancelled = true;
    outcome.changes = run.log.entries();
    return outcome;
  }
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

Expected<> SynchronizeWith(AGP& project, const Ref<AGPSchema>& snapshot) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db || !snapshot) return {};
  if (Expected<> whole = snapshotIsWhole(*snapshot, *db); !whole) return whole;
  std::u16string logFailure = RunSyncPasses(project, snapshot).logFailure;
  if (logFailure.empty()) return {};
  return Failure{std::move(logFailure)};
}

void SynchronizeDB(AGP& project) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return;
  ProjectContext& ctx = projectContext();
  ctx.statusText = ctx.productTitle + u" - Database Synchronization...";
  static_cast<void>(withEntryErrorText([&] {
    // The snapshot lives for this call only and goes on every way out.
    const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
    Expected<> read = loadLiveSchema(*snapshot, *db, u"");
    return read ? SynchronizeWith(project, snapshot) : read;
  }));
}

}  // namespace vantorel
