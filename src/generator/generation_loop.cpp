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
#include "generator/generation_run.hpp"
#include "generator/key_lists.hpp"
#include "generator/output_naming.hpp"
#include "generator/output_paths.hpp"
#include "generator/overwrite.hpp"
#include "generator/page_generation.hpp"
#include "generator/project_outputs.hpp"
#include "generator/run_end.hpp"
#include "generator/step_outcome.hpp"
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
std::u16string outputPath(GenerationRun& run, const AGPControl& control, const std::u16string& name,
                          bool checkOnly) {
  const std::u16string folder =
      GetOutputFolder(*run.templateControls, control.CtrlOFolderID(), control.CtrlOFolder());
  return GetDestPath(run.proj(), folder, name, checkOnly);
}

bool outputExists(GenerationRun& run, const AGPControl& control, const std::u16string& name) {
  return BackupFile(run, outputPath(run, control, name, true), true, true, true,
                    run.proj().BackupFileFlag());
}

AGPTables& tablesOf(AGP& proj) {
  const Ref<AGPDatabase> db = proj.DB();
  if (!db)
    RaiseGenError(projectContext().productTitle + u": Database not loaded! Generation aborted!");
  return db->tables();
}

// Adds a step's count; its failure becomes the run's.
void addStep(GenerationRun& run, std::int16_t& count, StepOutcome step) {
  addCount(count, step.count);
  if (!step.result) run.failure = std::move(step.result.failure().text);
}

void prefixFailure(GenerationRun& run, const std::u16string& what) {
  run.failure = projectContext().productTitle + u": Generate Table " + what + u" page error\r\n" +
                *run.failure;
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

std::int16_t GenerateTableFiles(GenerationRun& run, AGPTable& table, bool checkOnly) {
  AGP& proj = run.proj();
  std::int16_t count = 0;
  AGPControls& controls = *run.templateControls;
  const std::u16string tblVar = tableSetting(table, kTblVar);
  for (std::int32_t i = 1; i <= controls.Count(); ++i) {
    const Ref<AGPControl> control = controls.Item(Variant(i));
    if (!control) continue;
    const CurrentControlScope scope(run, control);
    if (!IsCtrlForTable(run, table, control->CtrlID(), control->CtrlType(), control->CtrlCond())) {
      continue;
    }
    if (const Ref<AGControlItem> item = table.controlList().Item(Variant(control->CtrlID()))) {
      if (!item->ItemGen()) continue;
    }
    const std::u16string name = GetOutputFileName(proj, *control, tblVar, u"");
    run.currentOutputName = name;
    if (checkOnly) {
      if (run.siteOutputs) run.noteOutput(outputPath(run, *control, name, true), control->CtrlID());
      if (outputExists(run, *control, name)) addCount(count, 1);
      continue;
    }
    Status().DispStatus(Variant(u"Generating " + name + u"..."));
    if (Status().StatusIsCancelled()) RaiseCancelled();
    const std::u16string compiled = GetTplFileName(*control);
    const std::u16string path = outputPath(run, *control, name, false);
    run.noteOutput(path, control->CtrlID());
    PageOutcome page = GenTablePage(run, table, compiled, path, *control);
    if (!page.result) run.failure = std::move(page.result.failure().text);
    if (run.failure) {
      prefixFailure(run, table.tblName() + u" " + control->CtrlID());
      break;
    }
    if (page.written) WriteLog(path);
  }
  return checkOnly ? count : std::int16_t{0};
}

std::int16_t GenerateFieldFiles(GenerationRun& run, AGPField& field, bool checkOnly) {
  AGP& proj = run.proj();
  run.currentField = Ref<AGPField>(&field);
  if (!field.FldGenerate() || !run.currentTable) return 0;
  AGControlItems& items = run.currentTable->controlList();
  if (items.Count() > 0 && !anyItemOn(items)) return 0;

  std::int16_t count = 0;
  AGPControls& controls = *run.templateControls;
  const std::u16string fldParm = field.FldParm();
  for (std::int32_t i = 1; i <= controls.Count(); ++i) {
    const Ref<AGPControl> control = controls.Item(Variant(i));
    if (!control || !equalsNoCase(control->CtrlType(), u"field")) continue;
    const CurrentControlScope scope(run, control);
    if (!EvalCtrlCond(run, control->CtrlCond())) continue;
    const std::u16string name = GetOutputFileName(proj, *control, run.currentTableVar, fldParm);
    run.currentOutputName = name;
    if (checkOnly) {
      if (run.siteOutputs) run.noteOutput(outputPath(run, *control, name, true), {}, true);
      if (outputExists(run, *control, name)) addCount(count, 1);
      continue;
    }
    Status().DispStatus(Variant(u"Generating " + name + u"..."));
    const std::u16string path = outputPath(run, *control, name, false);
    run.noteOutput(path, {}, true);
    PageOutcome page = GenFieldPage(run, field, GetTplFileName(*control), path, *control);
    // The field's other pages are still made; the last failure is the one reported.
    if (!page.result) run.failure = std::move(page.result.failure().text);
    if (page.written) WriteLog(path);
  }
  return checkOnly ? count : std::int16_t{0};
}

void GenerateAll(GenerationRun& run, bool checkOnly, std::int16_t& count) {
  AGP& proj = run.proj();
  // The apply-to-all answer and the end flags last one walk only.
  run.overwriteAllAnswer.clear();
  run.overwriteAnswer = false;
  run.generationCancelled = false;
  run.generationFailed = false;
  projectContext().progressTotal = 0;
  AGPTables& tables = tablesOf(proj);

  for (std::int32_t i = 0; i < tables.count(); ++i) {
    AGPTable& table = tables.at(static_cast<std::size_t>(i));
    if (table.fields().count() == 0 || !tableSetting(table, kTblCustomError).empty()) {
      table.setTblGen(false);
    }
    run.currentTable = Ref<AGPTable>(&table);
    LoadTableGenSettings(run, &table);
    if (table.tblGen()) SetUniqueVarNames(table);
  }

  projectContext().progressTotal = toLong(CountGenItems(run));
  projectContext().progressCount = 0;
  run.currentTable = nullptr;
  run.currentField = nullptr;

  const auto endRun = [&]() { count = 0; };
  std::int16_t walked = 0;
  std::u16string databaseCopy;
  addStep(run, walked, CopyDatabase(proj, checkOnly, &databaseCopy));
  if (!databaseCopy.empty()) run.noteProjectOutput(databaseCopy, u"@db");
  if (run.failure && !checkOnly) return endRun();

  // The check's count stops at the first table whose pages exist; a check that notes the
  // outputs walks on without counting.
  bool counting = true;
  const std::int32_t tableCount = tables.count();
  for (std::int32_t i = 1; i <= tableCount; ++i) {
    const Ref<AGPTable> table = tables.seq(static_cast<std::int16_t>(i));
    if (!table) continue;
    if (table->tblGen() || !tableSetting(*table, kTblSysGenUnits).empty()) {
      run.currentTable = table;
      LoadTableGenSettings(run, table.get());
      const std::int16_t found = GenerateTableFiles(run, *table, checkOnly);
      if (counting) addCount(walked, found);
      if (counting && walked > 0) {
        if (!checkOnly || !run.siteOutputs) break;
        counting = false;
      }
      if (run.failure && !checkOnly) return endRun();
    }
    if (!table->tblGen()) continue;
    AGPFields& fields = table->fields();
    const std::int32_t fieldCount = fields.count();
    for (std::int32_t j = 1; j <= fieldCount; ++j) {
      const Ref<AGPField> field = fields.seq(static_cast<std::int16_t>(j));
      if (!field || !field->FldGenerate()) continue;
      run.currentTable = table;
      tables.setItem(Variant(table->tblName()));
      run.currentField = field;
      fields.setItem(Variant(field->FldName()));
      const std::int16_t found = GenerateFieldFiles(run, *field, checkOnly);
      if (counting) addCount(walked, found);
      if (run.failure && !checkOnly) {
        prefixFailure(run, table->tblName() + u" Field " + field->FldName());
        return endRun();
      }
    }
  }

  run.currentTable = nullptr;
  addCount(walked, GenerateProjectFiles(run, checkOnly));
  if (!run.failure || checkOnly) {
    addCount(walked, GenerateOtherFiles(run, checkOnly, u"other,simple"));
  }
  if (!run.failure || checkOnly) addStep(run, walked, CopyTemplateFiles(run, checkOnly));
  count = (!run.failure || checkOnly) ? walked : std::int16_t{0};
}

}  // namespace vantorel
