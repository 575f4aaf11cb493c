// The check's passes over custom views and reports: a custom view's query is run again and its
// columns compared with the stored fields; a report's fields are compared with its source's.
#include <vector>

#include "agp/agp.hpp"
#include "agp/entry_steps.hpp"
#include "fields/field_settings.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "platform/automation/automation_error.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

namespace {

std::u16string typeOf(AGPTable& table) {
  return settingAsText(table.properties().setting(kTblType));
}

// Adds check(name) for every stored table of that type, in collection order.
template <class Check>
std::int16_t checkEach(AGP& project, std::u16string_view phase, const std::u16string& type,
                       CheckNotes& notes, Check check) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return 0;
  EntryStatus status(project, phase, true);
  std::vector<std::u16string> names;
  AGPTables& tables = db->tables();
  for (std::int32_t i = 0; i < tables.count(); ++i) {
    AGPTable& table = tables.at(static_cast<std::size_t>(i));
    if (typeOf(table) == type) names.push_back(table.tblName());
  }
  std::int32_t total = 0;
  for (const std::u16string& name : names) {
    try {
      total += check(project, name, notes);
    } catch (const AutomationError& e) {
      // One view or report that cannot be checked adds nothing; the others still are.
      notes.say(e.description());
    }
  }
  return static_cast<std::int16_t>(total);
}

}  // namespace

std::int16_t CheckCustomViews(AGP& project, CheckNotes& notes) {
  return checkEach(project, u"Checking Custom View", u"CUSTOMVIEW", notes, &CheckCustomView);
}

std::int16_t CheckCustomView(AGP& project, const std::u16string& sTable, CheckNotes& notes) {
  const Ref<AGPTable> table = project.DB()->tables().item(Variant(sTable));
  if (!table) return 0;
  AGProperties& bag = table->properties();
  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  Expected<> read = snapshot->readCustomView(CustomViewConnStr(project), table->tblName(),
                                             settingAsText(bag.setting(kTblCustomSQL)));
  const AGSchemaTable* live =
      snapshot->database().Tables.Tbl.size() > 1 ? &snapshot->database().Tables.Tbl[1] : nullptr;
  std::u16string fault;
  if (!read) {
    fault = std::move(read.failure().text);
  } else if (!live || !live->TblReadError.empty() || fieldRecordCount(*live) == 0) {
    // A query that gives no columns, or columns that could not be described, is a failed query:
    // taken at its word every stored field would have vanished.
    fault = live && !live->TblReadError.empty()
                ? live->TblReadError
                : titledMessage(u"Custom view " + sTable + u" returns no columns!");
  }
  bag.setting(kTblCustomError) = Variant(fault);
  notes.say(fault);
  if (!fault.empty() || !read) return 0;
  return CompareCustomViewColumns(*live, *table);
}

std::int16_t CompareCustomViewColumns(const AGSchemaTable& live, AGPTable& view) {
  const FieldTally fields = TallyColumns(live, view.fields());
  // A new column counts twice: as new and as a column without a stored field. A stored field
  // the query no longer gives is not counted.
  // A column renamed in letter case only is one change.
  return static_cast<std::int16_t>(2 * fields.added + fields.changed + fields.recased);
}

std::int16_t CheckReports(AGP& project, CheckNotes& notes) {
  return checkEach(project, u"Checking Report", u"REPORT", notes, &CheckReport);
}

std::int16_t CheckReport(AGP& project, const std::u16string& sTable, CheckNotes& notes) {
  AGPTables& tables = project.DB()->tables();
  const Ref<AGPTable> report = tables.item(Variant(sTable));
  if (!report) return 0;
  const std::u16string sourceName = settingAsText(report->properties().setting(kTblRptSrc));
  const Ref<AGPTable> source = tableNamedExactly(tables, sourceName);
  if (!source) {
    const std::u16string text = titledMessage(u"Source Table not found");
    notes.say(text);
    report->properties().setting(kTblCustomError) = Variant(text);
    return 0;
  }
  // Counted as a custom view's columns are, the source's fields standing for the columns.
  const FieldTally fields = TallySourceFields(source->fields(), report->fields());
  return static_cast<std::int16_t>(2 * fields.added + fields.changed + fields.recased);
}

}  // namespace vantorel
