#include "generate_command.hpp"

#include <cstdio>
#include <string>

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

// Names each output the run could not write, with the system's reason, and each extension it
// went on without; true when there was one. A run that left pages old or out must not end as a
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
  if (args.updateTemplates) session.updateChangedTemplates();
  // The check pass first: it brings the list of outputs up to date and decides whether the
  // compiled templates of the last run can be reused.
  if (!session.call(u"GenCheck") || session.reportProjErr()) return session.failureCode();
  const bool generated = session.call(u"GenScript") && !session.reportProjErr();
  if (reportIncomplete(session) || !generated) return session.failureCode();

  const Variant destination = session.get(u"Destination");
  std::printf("Generated %s\n",
              destination.isString() ? toUtf8(destination.stringValue()).c_str() : "");
  return 0;
}

}  // namespace vantorel::cli
