#pragma once
// The working state of one synchronisation: the project, the snapshot of the live schema it is
// compared with, the change records written so far, and the scope ("ALL" while a whole
// synchronisation runs its passes, "" when the host synchronises one custom view or report).
// It lives for one run and takes its state with it on every way out, an error included.
#include <map>
#include <string>
#include <string_view>

#include "platform/automation/ref.hpp"
#include "platform/text/case_fold.hpp"
#include "schema/schema_snapshot.hpp"
#include "sync/sync_log.hpp"

namespace vantorel {

class AGP;
class AGPDatabase;

struct NoCaseLess {
  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
    return compareNoCase(a, b) < 0;
  }
};
// Keys compared without regard to letter case, as the model's collections compare names.
using NoCaseMap = std::map<std::u16string, std::u16string, NoCaseLess>;

// How a run may treat the project beyond what the database says.
struct SyncOptions {
  // Put the rename-pairing and key questions to the user; without, nothing is paired and every
  // key is kept, as an unattended run answers.
  bool ask = true;
  // Delete the tables and fields the database no longer has (and rebuild retyped tables);
  // without, they stay, and only additions and changes are made.
  bool removals = true;
  // Write the log file; a preview lists the records instead.
  bool writeLog = true;
  // Without questions, a changed key is taken instead of kept, so that a preview lists it.
  bool takeKeys = false;
  // A Cancel at a question, or Ctrl-C, ends the run: no further question is put, no pass runs,
  // no log is written, and the outcome says so for the host to drop the model. Without, a
  // cancelled pairing pairs nothing and a cancelled key question keeps the key.
  bool cancellable = false;
  // The settings that only mirror the database follow it as a fresh load sets them: a new
  // table or view is generated (a retyped one as before), a new field takes the column's
  // default, and a field whose column became (not) required or changed size takes the required
  // flag and the input length a load gives, unless the user had set them apart from the database.
  bool asFreshLoad = false;
};

struct SyncRun {
  SyncRun(AGP& project, AGPDatabase& db, Ref<AGPSchema> snapshot, std::u16string scope,
          SyncOptions options = {})
      : project(project),
        db(db),
        snapshot(std::move(snapshot)),
        scope(std::move(scope)),
        options(options) {}

  bool wholeRun() const noexcept { return scope == u"ALL"; }

  AGP& project;
  AGPDatabase& db;
  Ref<AGPSchema> snapshot;  // null for a custom view or report synchronised alone
  std::u16string scope;
  SyncOptions options;
  SyncChangeLog log;
  // The tables renamed in this run: new name to old name.
  NoCaseMap renamedTables;
  // A question was cancelled in a run that may be cancelled (see SyncOptions::cancellable).
  bool cancelled = false;
  // Whether the run is to end now: cancelled, or interrupted by the user.
  bool stopping();
};

}  // namespace vantorel
