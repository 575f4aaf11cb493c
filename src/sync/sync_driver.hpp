#pragma once
// AGP.SynchronizeDB: brings the project's stored definition in line with the live database.
// It takes a fresh snapshot and, only when the snapshot is whole, runs the passes in a fixed
// order: renames, tables and views, custom views, reports, menus, references, the log, keys.
#include <string>
#include <vector>

#include "platform/automation/expected.hpp"
#include "platform/automation/ref.hpp"
#include "sync/sync_log.hpp"
#include "sync/sync_run.hpp"

namespace vantorel {

class AGP;

// The host's entry; the outcome is in ProjErr. Without a database nothing happens.
void SynchronizeDB(AGP& project);

// The passes against a snapshot taken already, unless the snapshot is partial or empty while
// the project holds tables (its list of tables or views unread, or nothing at all): then no
// pass runs and that is the failure. After the passes, a log that could not be written is.
Expected<> SynchronizeWith(AGP& project, const Ref<AGPSchema>& snapshot);

struct SyncOutcome {
  std::vector<SyncLogEntry> changes;  // sorted by table and field
  // "", or the message saying the log could not be written; the passes and the keys are
  // complete either way.
  std::u16string logFailure;
  // A run that may be cancelled was (SyncOptions::cancellable): the passes stopped part-way, no
  // log was written, and the model is to be dropped, not saved.
  bool cancelled = false;
};

// The passes of an update against a loaded snapshot, as SynchronizeDB and the project file's
// load run them.
SyncOutcome RunSyncPasses(AGP& project, const Ref<AGPSchema>& snapshot,
                          const SyncOptions& options = {});

// Every custom view synchronised again (the dependent reports are left to the report pass
// when the run's scope is "ALL").
void SyncCustomViews(SyncRun& run);

}  // namespace vantorel
