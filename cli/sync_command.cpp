#include "sync_command.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "fields/field_settings.hpp"
#include "fields/fields.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/backend.hpp"
#include "platform/ui/interrupt.hpp"
#include "platform/ui/ui.hpp"
#include "project_session.hpp"
#include "projectfile/project_file_lock.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "schema/model_values.hpp"
#include "sync/sync_driver.hpp"
#include "unrecorded_changes.hpp"

namespace vantorel::cli {

namespace {

constexpr char kCommand[] = "vantorel sync";

void printUsage() {
  std::fputs(
      "Usage: vantorel sync PROJECT.vtp [--dry-run] [--yes]\n"
      "Lists how the project differs from its database and, when confirmed, brings it up to\n"
      "date and saves it. --dry-run only lists the differences. Without a terminal, tables and\n"
      "fields the database no longer has are removed only with --yes.\n",
      stderr);
}

struct SyncArguments {
  std::string project;
  bool dryRun = false;
  bool yes = false;
};

bool parse(int argc, char** argv, SyncArguments& out) {
  for (int i = 0; i < argc; ++i) {
    const char* word = argv[i];
    if (std::strcmp(word, "--dry-run") == 0 || std::strcmp(word, "-n") == 0) {
      out.dryRun = true;
    } else if (std::strcmp(word, "--yes") == 0 || std::strcmp(word, "-y") == 0) {
      out.yes = true;
    } else if (word[0] == '-' || word[0] == '\0' || !out.project.empty()) {
      return false;
    } else {
      out.project = word;
    }
  }
  return !out.project.empty();
}

void printChanges(const std::vector<SyncLogEntry>& records,
                  const std::vector<SyncLogEntry>& unrecorded) {
  for (const std::vector<SyncLogEntry>* list : {&records, &unrecorded}) {
    for (const SyncLogEntry& e : *list) {
      std::printf("  %s\n", toUtf8(formatSyncLogLine(e)).c_str());
    }
  }
}

// Whether a run without removals left something the database no longer has: a stored table or
// view the snapshot did not match (gone, or of another type now), or a field of a matched,
// loaded one that no column matched. The passes leave these marks for the host to read.
bool keptRemovals(AGPDatabase& db) {
  AGPTables& tables = db.tables();
  for (std::size_t t = 0, n = static_cast<std::size_t>(tables.count()); t < n; ++t) {
    AGPTable& table = tables.at(t);
    if (!isTableOrView(table.tblType())) continue;
    if (!settingAsBool(table.properties().setting(kTblSync))) return true;
    if (!settingAsBool(table.properties().setting(kTblLoaded))) continue;
    AGPFields& fields = table.fields();
    for (std::size_t f = 0, m = static_cast<std::size_t>(fields.count()); f < m; ++f) {
      if (!settingAsBool(fields.at(f).properties().setting(kFldSync))) return true;
    }
  }
  return false;
}

// The live schema read into a new snapshot; nothing, with the reason printed, when it could not
// be read whole: a partial reading would have the project lose what the database still holds.
Ref<AGPSchema> readLiveSchema(ProjectSession& session, AGPDatabase& db) {
  Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  Expected<> read = loadLiveSchema(*snapshot, db, u"");
  if (!read) {
    session.fail(toUtf8(u"cannot read the database: " + read.failure().text));
    return nullptr;
  }
  if (Expected<> whole = snapshotIsWhole(*snapshot, db); !whole) {
    session.fail(toUtf8(whole.failure().text));
    return nullptr;
  }
  return snapshot;
}

// The difference check's count (tables and views, custom views, reports), in a wider type: a
// database far from its project must not wrap round to "no difference".
std::int32_t countDifferences(AGP& project, const AGPSchema& snapshot) {
  // What the passes note about single objects is not a failure of this run.
  CheckNotes notes;
  const Expected<std::int16_t> tables = CheckTablesViews(project, snapshot, notes);
  // The snapshot was found whole when it was read.
  std::int32_t count = tables ? *tables : 0;
  count += CheckCustomViews(project, notes);
  count += CheckReports(project, notes);
  return count;
}

std::u16string absolutePath(const std::string& file) {
  std::error_code ec;
  return fs::fromNative(std::filesystem::absolute(file, ec).lexically_normal());
}

// Ctrl-C or a Cancel: the model may be half synchronised, and none of it is saved. The lock
// goes with the run.
int cancelled(const ProjectSession& session) {
  session.fail("cancelled; the project file is unchanged");
  return ui::interruptRequested() ? 128 + ui::interruptSignal() : 130;
}

}  // namespace

int syncProject(int argc, char** argv) {
  SyncArguments args;
  if (!parse(argc, argv, args)) {
    printUsage();
    return 2;
  }
  // Ctrl-C at a question or during the reading ends the run as a Cancel does, lock removed.
  ui::installInterruptHandler();
  const std::u16string projectFile = absolutePath(args.project);
  // From the first read to the save no other process may save the file: its save would undo
  // this one or be undone by it. A dry run changes nothing and needs no lock.
  const std::optional<ProjectFileLock> lock =
      args.dryRun ? std::optional<ProjectFileLock>() : ProjectFileLock::tryAcquire(projectFile);
  if (!args.dryRun && !lock) {
    ProjectSession(kCommand).fail(toUtf8(projectFileInUse(projectFile)) + " Nothing was changed.");
    return 1;
  }
  // The project is loaded and the database read once: the check counts, and the same snapshot
  // and model are then brought in line. The load's own check would ask and synchronise by
  // itself; this command does both in the open.
  ProjectSession session(kCommand);
  if (!session.open(args.project, LoadSchemaCheck::Skip)) return session.failureCode();
  AGP& project = static_cast<AGP&>(session.project());
  const Ref<AGPDatabase> db = project.DB();
  if (!db) {
    session.fail("the project has no database");
    return 1;
  }
  Ref<AGPSchema> snapshot = readLiveSchema(session, *db);
  if (ui::interruptRequested()) return cancelled(session);
  if (!snapshot) return session.failureCode();
  const std::int32_t differences = countDifferences(project, *snapshot);
  if (differences == 0) {
    std::printf("%s: the project matches its database\n", args.project.c_str());
    return 0;
  }
  // Read before the passes copy them over.
  const std::vector<SyncLogEntry> unrecorded = unrecordedFieldChanges(*db, *snapshot);
  std::printf("%s differs from its database (%d difference(s) found)%s\n", args.project.c_str(),
              static_cast<int>(differences), args.dryRun ? ":" : ".");
  if (args.dryRun) {
    // Nothing is saved: the model is changed in memory only, to find what a run would record.
    // A changed key is listed as a difference, not kept without a word.
    const SyncOutcome preview = RunSyncPasses(
        project, snapshot,
        SyncOptions{.ask = false, .removals = true, .writeLog = false, .takeKeys = true});
    printChanges(preview.changes, unrecorded);
    return 0;
  }

  const bool removals = args.yes || ui::detectEnvironment().interactive;
  if (!args.yes) {
    const ui::Answer answer = ui::askKeepOrUpdate(
        u"Database has been modified since last change. Do you want to keep old definition or "
        u"update to new definition?",
        projectContext().productTitle, ui::Answer::Keep);
    if (answer == ui::Answer::Cancel || ui::interruptRequested()) return cancelled(session);
    if (answer != ui::Answer::Update) {
      std::printf(
          "Kept the old definition: the project file is unchanged (--dry-run lists the "
          "differences).\n");
      return 0;
    }
  }
  // The project is to equal what `vantorel new` makes of the database now, but for what the
  // user chose.
  const SyncOutcome done = RunSyncPasses(project, snapshot,
                                         SyncOptions{.ask = true,
                                                     .removals = removals,
                                                     .writeLog = true,
                                                     .cancellable = true,
                                                     .asFreshLoad = true});
  if (done.cancelled || ui::interruptRequested()) return cancelled(session);
  // The save builds the whole document: the snapshot's memory is better given to it.
  snapshot = nullptr;
  if (!done.logFailure.empty()) session.fail(toUtf8(done.logFailure));
  // A custom view or report whose query failed, or a table that could not be read, is recorded,
  // but nothing of it was changed.
  const auto applied =
      static_cast<std::size_t>(std::count_if(done.changes.begin(), done.changes.end(),
                                             [](const auto& change) { return !change.failure; }));
  if (applied + unrecorded.size() == 0) {
    std::printf("Nothing could be synchronized: %s is unchanged\n", args.project.c_str());
    printChanges(done.changes, unrecorded);
    const std::u16string log = project.SyncLog();
    if (!log.empty()) std::printf("Log: %s\n", toUtf8(log).c_str());
    return done.logFailure.empty() ? 0 : 1;
  }
  if (ui::interruptRequested()) return cancelled(session);
  session.let(u"ProjErr", Variant(u""));
  if (!session.call(u"Save", {Variant(projectFile)}) || session.reportProjErr()) {
    return 1;
  }
  std::printf("Synchronized %zu change(s); saved %s\n", applied + unrecorded.size(),
              args.project.c_str());
  printChanges(done.changes, unrecorded);
  if (!removals && keptRemovals(*db)) {
    std::printf(
        "Tables and fields the database no longer has were kept: run with --yes to remove "
        "them.\n");
  }
  const std::u16string log = project.SyncLog();
  if (!log.empty()) std::printf("Log: %s\n", toUtf8(log).c_str());
  return done.logFailure.empty() ? 0 : 1;
}

}  // namespace vantorel::cli
