#include "check_command.hpp"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "generator/generation_driver.hpp"
#include "generator/generation_run.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"
#include "project_session.hpp"

namespace vantorel::cli {

namespace {

void printUsage() {
  std::fputs("Usage: vantorel check PROJECT.vtp [--destination DIR] [--update-templates]\n",
             stderr);
}

// What switches the output on or off, as the output lists name it.
std::string owner(const SiteOutput& output) {
  std::string text = toUtf8(output.table);
  if (!text.empty()) text += ": ";
  text += output.fieldPage ? "field page" : toUtf8(output.itemId);
  return text;
}

}  // namespace

int checkProject(int argc, char** argv) {
  ProjectArguments args;
  if (!parseProjectArguments(argc, argv, args)) {
    printUsage();
    return 2;
  }
  ui::installInterruptHandler();
  ProjectSession session("vantorel check");
  if (!session.open(args.project)) return session.failureCode();
  if (!session.applyDestination(args.destination)) return 1;
  session.rootAtDestination();
  if (!session.databaseUsable()) return 1;
  if (args.updateTemplates) session.updateChangedTemplates();
  std::vector<SiteOutput> outputs;
  std::int16_t existing = 0;
  const bool checked = session.runStep(
      [&] { existing = checkSiteListing(static_cast<AGP&>(session.project()), outputs); });
  if (!checked || session.reportProjErr()) return session.failureCode();

  // A file two steps write is one file of the site.
  std::set<std::u16string> listed;
  for (const SiteOutput& output : outputs) {
    if (!listed.insert(output.path).second) continue;
    std::printf("%-48s %s\n", session.sitePath(output.path).c_str(), owner(output).c_str());
  }
  std::printf("%zu files\n", listed.size());
  // The check stops counting at the first table whose pages exist, so this is a yes or no.
  if (existing > 0) std::printf("Some of them exist already in the destination.\n");
  return 0;
}

}  // namespace vantorel::cli
