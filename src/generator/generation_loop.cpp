#include "generator/generation_loop.hpp"

#include <set>
#include <string>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/control_items.hpp"
#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "generator/control_conditions.hpp"
#include "generator/control_item_lists.hpp"
#include "generator/copy_controls.hpp"
#include "generator/database_copy.hpp"
#include "generator/generation_state.hpp"
#include "generator/key_lists.hpp"
#include "generator/output_naming.hpp"
#include "generator/output_paths.hpp"
#include "generator/overwrite.hpp"
#include "generator/page_generation.hpp"
#include "generator/project_outputs.hpp"
#include "generator/run_end.hpp"
#include "generator/template_compiler.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "projectfile/project_reader.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

namespace {

void addCount(std::int16_t& count, std::int32_t more) {
  const std::int32_t total = std::int32_t{count} + more;
  if (total > 32767 || total < -32768) raiseVbError(vberr::kOverflow);
  count = static_cast<std::int16_t>(total);
}

std::u16string tableSetting(AGPTable& table, SettingSlot slot) {
  return toString(table.properties().setting(slot));
}

bool anyItemOn(AGControlItems& items) {
  for (std::int32_t i = 1; i <= items.Count(); ++i) {
    const Ref<AGControlItem> item = items.Item(Variant(i));
    if (item && item->ItemGen()) return true;
  }
  return false;
}

// Where a control's output goes, and whether it exists already (the check pass).
std::u16string outputPath(AGP& proj, const AGPControl& control, const std::u16string& name,
                          bool checkOnly) {
  const std::u16string folder = GetOutputFolder(control.CtrlOFolderID(), control.CtrlOFolder());
  return GetDestPath(proj, folder, name, checkOnly);
}

bool outputExists(AGP& proj, const AGPControl& control, const std::u16string& name) {
  return BackupFile(outputPath(proj, control, name, true), true, true, true, proj.BackupFileFlag());
}

AGPTables& tablesOf(AGP& proj) {
  const Ref<AGPDatabase> db = proj.DB();
  if (!db) {
    projectContext().lastErrorText =
        projectContext().productTitle + u": Database not loaded! Generation aborted!";
    RaiseGenError();
  }
  return db->tables();
}

}  // namespace

void WriteLog(std::u16string_view) {}

void SetUniqueVarNames(AGPTable& table) {
  std::set<std::u16string> taken;
  taken.insert(toLower(tableSetting(table, kTblVar)));
  auto claim = [&](const std::u16string& base) {
    std::u16string candidate = base;
    for (std::int32_t n = 1; taken.count(toLower(candidate)) != 0; ++n) {
      candidate = base + u"_" + toString(Variant(n));
    }
    taken.insert(toLower(candidate));
    return candidate;
  };
  AGPCharts& charts = table.charts();
  for (std::int32_t i = 0; i < charts.count(); ++i) {
    AGPChart& chart = charts.at(static_cast<std::size_t>(i));
    const std::u16string var = chart.chartVar();
    const std::u16string unique = claim(var);
    if (unique != var) chart.setChartVar(unique);
  }
  AGPFields& fields = table.fields();
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    const std::u16string parm = field.FldParm();
    const std::u16string unique = claim(parm);
    if (unique != parm) field.setFldVar(u"x_" + unique);
  }
}

std::int16_t GenerateTableFiles(AGP& proj, AGPTable& table, bool checkOnly) {
  std::int16_t count = 0;
  AGPControls& controls = *TemplateControls();
  const std::u16string tblVar = tableSetting(table, kTblVar);
  for (std::int32_t i = 1; i <= controls.Count(); ++i) {
    const Ref<AGPControl> control = controls.Item(Variant(i));
    if (!control) continue;
    const CurrentControlScope scope(control);
    if (!IsCtrlForTable(proj, table, control->CtrlID(), control->CtrlType(), control->CtrlCond())) {
      continue;
    }
    if (const Ref<AGControlItem> item = table.controlList().Item(Variant(control->CtrlID()))) {
      if (!item->ItemGen()) continue;
    }
    const std::u16string name = GetOutputFileName(proj, *control, tblVar, u"");
    CurrentOutputName() = name;
    if (checkOnly) {
      if (outputExists(proj, *control, name)) addCount(count, 1);
      continue;
    }
    Status().DispStatus(Variant(u"Generating " + name + u"..."));
    if (Status().StatusIsCancelled()) RaiseCancelled();
    const std::u16string compiled = GetTplFileName(*control);
    const std::u16string path = outputPath(proj, *control, name, false);
    const bool written = GenTablePage(proj, table, compiled, path, *control);
    if (!projectContext().lastErrorText.empty()) {
      projectContext().lastErrorText = projectContext().productTitle + u": Generate Table " +
                                       table.tblName() + u" " + control->CtrlID() +
                                       u" page error\r\n" + projectContext().lastErrorText;
      break;
    }
    if (written) WriteLog(path);
  }
  return checkOnly ? count : std::int16_t{0};
}

std::int16_t GenerateFieldFiles(AGP& proj, AGPField& field, bool checkOnly) {
  CurrentField() = Ref<AGPField>(&field);
  if (!field.FldGenerate() || !CurrentTable()) return 0;
  AGControlItems& items = CurrentTable()->controlList();
  if (items.Count() > 0 && !anyItemOn(items)) return 0;

  std::int16_t count = 0;
  AGPControls& controls = *TemplateControls();
  const std::u16string fldParm = field.FldParm();
  for (std::int32_t i = 1; i <= controls.Count(); ++i) {
    const Ref<AGPControl> control = controls.Item(Variant(i));
    if (!control || !equalsNoCase(control->CtrlType(), u"field")) continue;
    const CurrentControlScope scope(control);
    if (!EvalCtrlCond(proj, control->CtrlCond())) continue;
    const std::u16string name = GetOutputFileName(proj, *control, CurrentTableVar(), fldParm);
    CurrentOutputName() = name;
    if (checkOnly) {
      if (outputExists(proj, *control, name)) addCount(count, 1);
      continue;
    }
    Status().DispStatus(Variant(u"Generating " + name + u"..."));
    const std::u16string path = outputPath(proj, *control, name, false);
    if (GenFieldPage(proj, field, GetTplFileName(*control), path, *control)) WriteLog(path);
  }
  return checkOnly ? count : std::int16_t{0};
}

void GenerateAll(AGP& proj, bool checkOnly, std::int16_t& count) {
  beginGenerationRun();
  ProgressTotal() = 0;
  AGPTables& tables = tablesOf(proj);

  for (std::int32_t i = 0; i < tables.count(); ++i) {
    AGPTable& table = tables.at(static_cast<std::size_t>(i));
    if (table.fields().count() == 0 || !tableSetting(table, kTblCustomError).empty()) {
      table.setTblGen(false);
    }
    CurrentTable() = Ref<AGPTable>(&table);
    LoadTableGenSettings(&table);
    if (table.tblGen()) SetUniqueVarNames(table);
  }

  ProgressTotal() = toLong(CountGenItems(proj));
  ProgressCount() = 0;
  CurrentTable() = nullptr;
  CurrentField() = nullptr;

  const auto endRun = [&]() { count = 0; };
  std::int16_t run = 0;
  addCount(run, CopyDatabase(proj, checkOnly));
  if (!projectContext().lastErrorText.empty() && !checkOnly) return endRun();

  const std::int32_t tableCount = tables.count();
  for (std::int32_t i = 1; i <= tableCount; ++i) {
    const Ref<AGPTable> table = tables.seq(static_cast<std::int16_t>(i));
    if (!table) continue;
    if (table->tblGen() || !tableSetting(*table, kTblSysGenUnits).empty()) {
      CurrentTable() = table;
      LoadTableGenSettings(table.get());
      addCount(run, GenerateTableFiles(proj, *table, checkOnly));
      if (run > 0) break;
      if (!projectContext().lastErrorText.empty() && !checkOnly) return endRun();
    }
    if (!table->tblGen()) continue;
    AGPFields& fields = table->fields();
    const std::int32_t fieldCount = fields.count();
    for (std::int32_t j = 1; j <= fieldCount; ++j) {
      const Ref<AGPField> field = fields.seq(static_cast<std::int16_t>(j));
      if (!field || !field->FldGenerate()) continue;
      CurrentTable() = table;
      tables.setItem(Variant(table->tblName()));
      CurrentField() = field;
      fields.setItem(Variant(field->FldName()));
      addCount(run, GenerateFieldFiles(proj, *field, checkOnly));
      if (!projectContext().lastErrorText.empty() && !checkOnly) {
        projectContext().lastErrorText = projectContext().productTitle + u": Generate Table " +
                                         table->tblName() + u" Field " + field->FldName() +
                                         u" page error\r\n" + projectContext().lastErrorText;
        return endRun();
      }
    }
  }

  CurrentTable() = nullptr;
  addCount(run, GenerateProjectFiles(proj, checkOnly));
  if (projectContext().lastErrorText.empty() || checkOnly) {
    addCount(run, GenerateOtherFiles(proj, checkOnly, u"other,simple"));
  }
  if (projectContext().lastErrorText.empty() || checkOnly)
    addCount(run, CopyTemplateFiles(proj, checkOnly));
  count = (projectContext().lastErrorText.empty() || checkOnly) ? run : std::int16_t{0};
}

}  // namespace vantorel
