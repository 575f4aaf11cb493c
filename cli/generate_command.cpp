#include "generate_command.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "agp/agp.hpp"
#include "generator/generation_driver.hpp"
#include "generator/generation_run.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"
#include "platform/ui/ui.hpp"
#include "project_session.hpp"

namespace vantorel::cli {

namespace {

void printUsage() {
  std::fputs("Usage: vantorel generate PROJECT.vtp [--destination DIR] [--update-templates]\n",
             stderr);
}

// Names each output the run could not write, with the system's reason, and each part it went
// on without; true when there was one. A run that left pages old or out must not end as a
// success, even when an unattended answer let it go on.
bool reportIncomplete(const ProjectSession& session) {
  const ui::Notices notices = ui::takeNotices();
  for (const ui::Unwritten& u : notices.unwritten) {
    session.fail("not written: " + toUtf8(u.path) + ": " + toUtf8(u.reason));
  }
  for (const ui::LeftOut& l : notices.leftOut) {
    session.fail("generated without " + toUtf8(l.what) + ": " + toUtf8(l.reason));
  }
  return !notices.unwritten.empty() || !notices.leftOut.empty();
}

// Files beside the run's outputs, of their kinds, that the run did not make: pages of tables
// and fields the project no longer generates, left by an earlier run. Backups are not counted.
std::vector<std::filesystem::path> leftBehind(const std::vector<SiteOutput>& outputs) {
  std::set<std::filesystem::path> made;
  std::map<std::filesystem::path, std::set<std::filesystem::path>> kindsByFolder;
  for (const SiteOutput& output : outputs) {
    const std::filesystem::path path = fs::toNative(output.path).lexically_normal();
    made.insert(path);
    if (path.has_extension()) kindsByFolder[path.parent_path()].insert(path.extension());
  }
  std::vector<std::filesystem::path> left;
  for (const auto& [folder, kinds] : kindsByFolder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
      const std::filesystem::path& path = it->path();
      std::error_code statError;
      if (!it->is_regular_file(statError) || made.count(path) != 0) continue;
      if (kinds.count(path.extension()) != 0) left.push_back(path);
    }
  }
  std::sort(left.begin(), left.end());
  return left;
}

}  // namespace

int generateProject(int argc, char** argv) {
  ProjectArguments args;
  if (!parseProjectArguments(argc, argv, args)) {
    printUsage();
    return 2;
  }
  ui::installInterruptHandler();
  ProjectSession session("vantorel generate");
  if (!session.open(args.project)) return session.failureCode();
  if (!session.applyDestination(args.destination)) return 1;
  session.rootAtDestination();
  if (!session.databaseUsable()) return 1;
  if (args.updateTemplates) session.updateChangedTemplates();
  // The check pass first: it brings the list of outputs up to date and decides whether the
  // compiled templates of the last run can be reused.
  if (!session.call(u"GenCheck") || session.reportProjErr()) return session.failureCode();
  std::vector<SiteOutput> outputs;
  const bool generated = session.runStep([&] {
    generateSiteNoting(static_cast<AGP&>(session.project()), outputs);
  }) && !session.reportProjErr();
  if (reportIncomplete(session) || !generated) return session.failureCode();

  const Variant destination = session.get(u"Destination");
  std::printf("Generated %s\n",
              destination.isString() ? toUtf8(destination.stringValue()).c_str() : "");
  const std::vector<std::filesystem::path> left = leftBehind(outputs);
  if (!left.empty()) {
    std::printf("Not made by this generation, left from an earlier one (not removed):\n");
    for (const std::filesystem::path& path : left) {
      std::printf("  %s\n", session.sitePath(fs::fromNative(path)).c_str());
    }
  }
  return 0;
}

}  // namespace vantorel::cli
