#include "check_command.hpp"

#include <cstdio>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"
#include "project_session.hpp"

namespace vantorel::cli {

namespace {

std::string text(Object& object, std::u16string_view member) {
  const Variant value = object.get(member);
  return value.isString() ? toUtf8(value.stringValue()) : std::string();
}

// One line per output: whether it is on, its file name, the control and its remark.
int printItems(const Variant& items, const std::string& owner) {
  if (!items.isObject() || !items.objectValue()) return 0;
  Object& list = *items.objectValue();
  const Variant count = list.call(u"Count");
  const int n = static_cast<int>(toLong(count));
  for (int i = 1; i <= n; ++i) {
    const Variant item = list.call(u"Item", {Variant(static_cast<std::int32_t>(i))});
    if (!item.isObject() || !item.objectValue()) continue;
    Object& entry = *item.objectValue();
    const bool on = toBool(entry.get(u"ItemGen"));
    std::printf("%s %-40s %-16s %s%s\n", on ? "+" : "-", text(entry, u"ItemFn").c_str(),
                text(entry, u"ItemId").c_str(), owner.c_str(), text(entry, u"ItemRemark").c_str());
  }
  return n;
}

void printUsage() {
  std::fputs("Usage: vantorel check PROJECT.vtp [--destination DIR] [--update-templates]\n",
             stderr);
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
  if (args.updateTemplates) session.updateChangedTemplates();
  const std::optional<Variant> existing = session.call(u"GenCheck");
  if (!existing || session.reportProjErr()) return session.failureCode();

  int total = 0;
  try {
    total += printItems(session.get(u"ControlList"), "");
    const Variant db = session.get(u"DB");
    if (db.isObject() && db.objectValue()) {
      const Variant tableList = db.objectValue()->get(u"Tables");
      Object& tables = *tableList.objectValue();
      const int n = static_cast<int>(toLong(tables.call(u"Count")));
      for (int i = 1; i <= n; ++i) {
        const Variant table = tables.call(u"Seq", {Variant(static_cast<std::int16_t>(i))});
        if (!table.isObject() || !table.objectValue()) continue;
        Object& t = *table.objectValue();
        total += printItems(t.get(u"ControlList"), text(t, u"TblName") + ": ");
      }
    }
  } catch (const AutomationError& e) {
    session.fail(toUtf8(e.description()));
    return 1;
  }
  std::printf("%d outputs\n", total);
  // The check stops counting at the first table whose pages exist, so this is a yes or no.
  if (toLong(*existing) > 0) std::printf("Some of them exist already in the destination.\n");
  return 0;
}

}  // namespace vantorel::cli
