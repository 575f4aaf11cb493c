#include "generator/page_generation.hpp"

#include <exception>
#include <optional>
#include <string_view>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "foundation/control_items.hpp"
#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "foundation/text_files.hpp"
#include "foundation/value_format.hpp"
#include "generator/control_conditions.hpp"
#include "generator/generation_run.hpp"
#include "generator/output_items.hpp"
#include "generator/output_naming.hpp"
#include "generator/output_paths.hpp"
#include "generator/overwrite.hpp"
#include "generator/run_end.hpp"
#include "generator/template_compiler.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/project_reader.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

namespace {

enum class PageKind { Table, Field, Other };

AGPTables& databaseTables(AGP& proj) {
  const Ref<AGPDatabase> db = proj.DB();
  if (!db)
    RaiseGenError(projectContext().productTitle +
                  u": The project has no database. Generation aborted.");
  return db->tables();
}

// The function's text, with how the script went. Nothing the script does escapes
// as an exception.
ScriptResult<std::u16string> runPageScript(GenerationRun& run, const std::u16string& name,
                                           const std::u16string& script, std::int16_t initType) {
  const Ref<AGScript> engine = run.scriptEngine;
  if (!engine || !engine->IsInitialized()) {
    RaiseGenError(projectContext().productTitle +
                  u": The script engine is not initialized. Generation aborted.");
  }
  try {
    return engine->buildNewCode(name, script, initType, projectContext().scriptEngineTimeout);
  } catch (const AutomationError& e) {
    return {{}, Failure{projectContext().productTitle + u": " + e.description(), e.number()}};
  } catch (const std::exception& e) {
    return {{}, Failure{projectContext().productTitle + u": " + fromUtf8(e.what())}};
  }
}

// The compiled template's text. Every page of a control runs the same one, so it is read and
// decoded once a run, and again only when the file's stamp says it changed.
const std::u16string& compiledText(GenerationRun& run, const std::u16string& path,
                                   const fs::FileStamp& stamp) {
  GenerationRun::CompiledText& entry = run.compiledTexts[path];
  if (!entry.stamp || *entry.stamp != stamp) {
    entry.text = toString(ReadTextFile(Variant(path)));
    entry.stamp = stamp;
  }
  return entry.text;
}

PageOutcome generatePage(GenerationRun& run, PageKind kind, AGPTable* table, AGPField* field,
                         const std::u16string& compiledPath, const std::u16string& outputPath,
                         const AGPControl& control) {
  AGP& proj = run.proj();
  if (!BackupFile(run, outputPath, control.CtrlOverwrite(), false, false, proj.BackupFileFlag())) {
    if (kind == PageKind::Table) StepProgress();
    return {};
  }
  const std::optional<fs::FileStamp> stamp =
      compiledPath.empty() ? std::nullopt : fs::fileStamp(compiledPath);
  if (!stamp) {
    RaiseGenError(u"File " + compiledPath + u" not found. Generation aborted" +
                  (kind == PageKind::Field ? u"" : u"."));
  }
  // Held by the run, not copied: the engine keeps its own copy when it first compiles it.
  const std::u16string& script = compiledText(run, compiledPath, *stamp);

  if (kind == PageKind::Table) {
    databaseTables(proj).item(Variant(table->tblName()));
  } else if (kind == PageKind::Field) {
    if (!run.currentTable) {
      RaiseGenError(projectContext().productTitle + u": Field " + field->FldName() +
                    u" has no current table. Generation aborted.");
    }
    databaseTables(proj).setItem(Variant(run.currentTable->tblName()));
    run.currentTable->fields().setItem(Variant(field->FldName()));
  }

  const std::int16_t initType = kind == PageKind::Other ? 1 : 2;
  ScriptResult<std::u16string> result =
      runPageScript(run, GetCtrlFuncName(control), script, initType);
  // A failed script leaves the previous file in place rather than a truncated page.
  if (!result.outcome) return {false, std::move(result.outcome)};
  const std::size_t sizeHint = result.value.size();
  // A page that holds a password (the database connection's) is for its owner only when made.
  const std::optional<unsigned> mode = holdsProjectSecret(proj, result.value)
                                           ? std::optional<unsigned>(fs::kPrivateFileMode)
                                           : std::nullopt;
  // The page is laid out where it is written: while the run defers its outputs, that is the
  // writer's thread, and the next page is made meanwhile.
  auto layOut = [page = std::move(result.value), spaced = control.CtrlSpace(),
                 ext = control.CtrlOExt(), tag = GeneratorTag()] {
    return spaced ? FormatGeneratedOutput(ext, page, tag) : TrimLeadingBlankLines(page);
  };

  const std::u16string folder = fs::parentFolder(fs::normalizeSeparators(outputPath));
  if (!folder.empty()) MakeOutputFolder(proj, folder);
  const std::u16string root = OutputRootOf(proj, outputPath);
  fs::DeferredWrites* outputs = run.outputWrites();
  const bool written =
      outputs ? WriteOutputFile(outputPath, std::move(layOut), sizeHint, *outputs, root, mode)
              : WriteOutputFile(outputPath, layOut(), false, nullptr, root, mode);
  if (!written) return {};
  if (kind != PageKind::Field) StepProgress();
  return {true, {}};
}

// The passwords a project keeps: its database's (DBPwd, or PWD= / Password= of its connection
// string), its static login's and its mail server's.
std::vector<std::u16string> projectSecrets(AGP& proj) {
  std::vector<std::u16string> secrets;
  const auto keep = [&secrets](std::u16string value) {
    if (!value.empty()) secrets.push_back(std::move(value));
  };
  keep(projectSettingText(proj, u"SecPasswd"));
  keep(projectSettingText(proj, u"SMTPServerPassword"));
  if (const Ref<AGPDatabase> db = proj.DB()) {
    AGProperties& bag = db->properties();
    keep(settingValueText(bag, u"DBPwd"));
    for (data::ConnectionPair& pair :
         data::connectionStringPairs(settingValueText(bag, u"DBConnstr"))) {
      if (pair.key == u"pwd" || pair.key == u"password") keep(std::move(pair.value));
    }
  }
  return secrets;
}

}  // namespace

bool holdsProjectSecret(AGP& proj, std::u16string_view text) {
  for (const std::u16string& secret : projectSecrets(proj)) {
    if (text.find(secret) != std::u16string_view::npos) return true;
  }
  return false;
}

namespace {

std::vector<std::u16string> typeNames(std::u16string_view typeList) {
  std::vector<std::u16string> types;
  for (const std::u16string& entry : split(typeList, u","))
    types.push_back(toLower(trimBlanks(entry)));
  return types;
}

bool hasType(const std::vector<std::u16string>& types, const std::u16string& type) {
  const std::u16string lower = toLower(type);
  for (const std::u16string& t : types) {
    if (t == lower) return true;
  }
  return false;
}

}  // namespace

PageOutcome GenTablePage(GenerationRun& run, AGPTable& table, const std::u16string& compiledPath,
                         const std::u16string& outputPath, const AGPControl& control) {
  return generatePage(run, PageKind::Table, &table, nullptr, compiledPath, outputPath, control);
}

PageOutcome GenFieldPage(GenerationRun& run, AGPField& field, const std::u16string& compiledPath,
                         const std::u16string& outputPath, const AGPControl& control) {
  return generatePage(run, PageKind::Field, nullptr, &field, compiledPath, outputPath, control);
}

PageOutcome GenOtherPage(GenerationRun& run, const std::u16string& compiledPath,
                         const std::u16string& outputPath, const AGPControl& control) {
  return generatePage(run, PageKind::Other, nullptr, nullptr, compiledPath, outputPath, control);
}

std::int16_t GenerateOtherFiles(GenerationRun& run, bool checkOnly, std::u16string_view typeList) {
  AGP& proj = run.proj();
  const std::vector<std::u16string> types = typeNames(typeList);
  AGPControls& controls = *run.templateControls;
  std::int16_t count = 0;
  for (std::int32_t i = 1; i <= controls.Count(); ++i) {
    const Ref<AGPControl> control = controls.Item(Variant(static_cast<std::int16_t>(i)));
    if (!control || !hasType(types, control->CtrlType())) continue;
    CurrentControlScope scope(run, control);
    bool generate = EvalCtrlCond(run, control->CtrlCond());
    if (generate) {
      if (const Ref<AGControlItem> item = proj.controlList().Item(Variant(control->CtrlID()))) {
        generate = item->ItemGen();
      }
    }
    if (!generate) continue;

    const std::u16string name = GetOutputFileName(proj, *control, u"", u"");
    const std::u16string folder =
        GetOutputFolder(controls, control->CtrlOFolderID(), control->CtrlOFolder());
    if (checkOnly) {
      const std::u16string path = GetDestPath(proj, folder, name, true);
      run.noteProjectOutput(path, control->CtrlID());
      if (BackupFile(run, path, true, true, true, proj.BackupFileFlag())) ++count;
      continue;
    }
    const std::u16string compiledPath = GetTplFileName(*control);
    Status().DispStatus(Variant(u"Generating " + name + u"..."));
    const std::u16string path = GetDestPath(proj, folder, name, false);
    run.noteProjectOutput(path, control->CtrlID());
    PageOutcome page = GenOtherPage(run, compiledPath, path, *control);
    if (!page.result) run.failure = std::move(page.result.failure().text);
    if (run.failure) {
      run.failure = projectContext().productTitle + u": Generate " + control->CtrlID() +
                    u" page error\r\n" + *run.failure;
      break;
    }
  }
  return checkOnly ? count : std::int16_t{0};
}

void StepProgress() {
  ++projectContext().progressCount;
  Status().SetStatus(
      Variant(GetPercent(projectContext().progressCount, projectContext().progressTotal)));
}

}  // namespace vantorel
