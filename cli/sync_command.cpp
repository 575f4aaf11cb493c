#include "sync_command.hpp"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/backend.hpp"
#include "platform/ui/ui.hpp"
#include "project_session.hpp"
#include "projectfile/project_file_lock.hpp"
#include "projectfile/project_file_seams.hpp"
#include "schema/live_schema.hpp"
#include "sync/sync_driver.hpp"

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

// The load's own check would ask and synchronise by itself; this command does both in the open.
class LoadTimeCheckOff {
 public:
  LoadTimeCheckOff() : saved_(projectSchemaSync()) { setProjectSchemaSync(nullptr); }
  ~LoadTimeCheckOff() { setProjectSchemaSync(saved_); }
  LoadTimeCheckOff(const LoadTimeCheckOff&) = delete;
  LoadTimeCheckOff& operator=(const LoadTimeCheckOff&) = delete;

 private:
  ProjectSchemaSync* saved_;
};

void printChanges(const std::vector<SyncLogEntry>& changes) {
  for (const SyncLogEntry& e : changes) std::printf("  %s\n", toUtf8(formatSyncLogLine(e)).c_str());
}

// A retyped table is rebuilt, which drops its fields; a retyped field only changes.
bool removes(const std::vector<SyncLogEntry>& changes) {
  for (const SyncLogEntry& e : changes) {
    if (e.action == u"D" || (e.field.empty() && e.message.rfind(u"Changed type from ", 0) == 0)) {
      return true;
    }
  }
  return false;
}

// Records of objects that could not be synchronised are no difference.
bool differs(const std::vector<SyncLogEntry>& changes) {
  for (const SyncLogEntry& e : changes) {
    if (!e.failure) return true;
  }
  return false;
}

struct Preview {
  Ref<AGPSchema> snapshot;
  SyncOutcome differences;
};

// Reads the live schema and finds what a run would change, on a copy of the project loaded for
// that alone and let go before returning, so that nothing of it is left in the thread's shared
// lists. Nothing, with the message printed and `code` set, when it cannot.
std::optional<Preview> preview(const std::string& file, int& code) {
  ProjectSession session(kCommand);
  code = 1;
  if (!session.open(file)) {
    code = session.failureCode();
    return std::nullopt;
  }
  AGP& project = static_cast<AGP&>(session.project());
  if (!project.DB()) {
    session.fail("the project has no database");
    return std::nullopt;
  }
  Preview out;
  ProjectContext& ctx = projectContext();
  out.snapshot = makeRef<AGPSchema>();
  loadLiveSchema(*out.snapshot, *project.DB(), u"");
  std::optional<std::u16string> refused;
  if (!ctx.lastErrorText.empty()) {
    refused = u"cannot read the database: " + ctx.lastErrorText;
  } else {
    // A partial reading would have the project lose what the database still holds.
    refused = incompleteSnapshot(*out.snapshot, *project.DB());
  }
  if (!refused) {
    out.differences = RunSyncPasses(project, out.snapshot,
                                    SyncOptions{.ask = false, .removals = true, .writeLog = false});
  }
  project.UnLoadDB();
  if (refused) {
    session.fail(toUtf8(*refused));
    return std::nullopt;
  }
  code = 0;
  return out;
}

std::u16string absolutePath(const std::string& file) {
  std::error_code ec;
  return fs::fromNative(std::filesystem::absolute(file, ec).lexically_normal());
}

}  // namespace

int syncProject(int argc, char** argv) {
  SyncArguments args;
  if (!parse(argc, argv, args)) {
    printUsage();
    return 2;
  }
  const std::u16string projectFile = absolutePath(args.project);
  // From the first read to the save no other process may save the file: its save would undo
  // this one or be undone by it. A dry run changes nothing and needs no lock.
  const std::optional<ProjectFileLock> lock =
      args.dryRun ? std::optional<ProjectFileLock>() : ProjectFileLock::tryAcquire(projectFile);
  if (!args.dryRun && !lock) {
    ProjectSession(kCommand).fail(toUtf8(projectFileInUse(projectFile)) + " Nothing was changed.");
    return 1;
  }
  LoadTimeCheckOff checkOff;
  int code = 0;
  const std::optional<Preview> found = preview(args.project, code);
  if (!found) return code;
  const std::vector<SyncLogEntry>& changes = found->differences.changes;
  if (!differs(changes)) {
    std::printf("%s: the project matches its database\n", args.project.c_str());
    return 0;
  }
  std::printf("%s differs from its database:\n", args.project.c_str());
  printChanges(changes);
  if (args.dryRun) return 0;

  const bool removals = args.yes || ui::detectEnvironment().interactive;
  if (!removals && removes(changes)) {
    std::printf(
        "Tables and fields the database no longer has are kept: run with --yes to remove them.\n");
  }
  if (!args.yes) {
    const ui::Answer answer = ui::askKeepOrUpdate(
        u"Database has been modified since last change. Do you want to keep old definition or "
        u"update to new definition?",
        projectContext().productTitle, ui::Answer::Keep);
    if (answer != ui::Answer::Update) {
      std::printf("Kept the old definition: the project file is unchanged.\n");
      return 0;
    }
  }

  ProjectSession session(kCommand);
  if (!session.open(args.project)) return session.failureCode();
  AGP& target = static_cast<AGP&>(session.project());
  const SyncOutcome done = RunSyncPasses(
      target, found->snapshot, SyncOptions{.ask = true, .removals = removals, .writeLog = true});
  if (!done.logFailure.empty()) session.fail(toUtf8(done.logFailure));
  session.let(u"ProjErr", Variant(u""));
  if (!session.call(u"Save", {Variant(projectFile)}) || session.reportProjErr()) {
    return 1;
  }
  std::printf("Synchronized %zu change(s); saved %s\n", done.changes.size(), args.project.c_str());
  const std::u16string log = target.SyncLog();
  if (!log.empty()) std::printf("Log: %s\n", toUtf8(log).c_str());
  return done.logFailure.empty() ? 0 : 1;
}

}  // namespace vantorel::cli
