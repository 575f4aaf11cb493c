// AGP.GenCheck: the dry run before a generation. It prepares the template as the generation
// would, decides whether the compiled templates may be reused, and rebuilds the lists of output
// files the host shows, writing no output.
#include <cstdint>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/control_items.hpp"
#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "generator/control_item_lists.hpp"
#include "generator/copy_controls.hpp"
#include "generator/extension_merge.hpp"
#include "generator/generation_driver.hpp"
#include "generator/generation_extensions.hpp"
#include "generator/generation_loop.hpp"
#include "generator/generation_run.hpp"
#include "generator/output_folders.hpp"
#include "generator/output_paths.hpp"
#include "generator/run_locks.hpp"
#include "generator/run_outcome.hpp"
#include "generator/template_freshness.hpp"
#include "model/database.hpp"
#include "model/tables.hpp"
#include "platform/automation/variant.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/project_file_seams.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel {

namespace {

std::int16_t endCheck(GenerationRun& run, std::u16string message) {
  run.failure = std::move(message);
  Status().CloseStatus();
  return 0;
}

bool itemOff(AGControlItems& items, const std::u16string& id) {
  const Ref<AGControlItem> item = items.Item(Variant(id));
  return item && !item->ItemGen();
}

bool anyItemOn(AGControlItems& items) {
  for (std::int32_t i = 1; i <= items.Count(); ++i) {
    const Ref<AGControlItem> item = items.Item(Variant(i));
    if (item && item->ItemGen()) return true;
  }
  return false;
}

// The walk notes every output before the saved choices are applied to the lists; what they
// switch off, the generation does not write.
void dropSwitchedOff(AGP& proj, std::vector<SiteOutput>& outputs) {
  const Ref<AGPDatabase> db = proj.DB();
  std::erase_if(outputs, [&](const SiteOutput& output) {
    if (output.table.empty())
      return !output.itemId.empty() && itemOff(proj.controlList(), output.itemId);
    AGPTable* table = db ? db->tables().find(output.table) : nullptr;
    if (!table) return false;
    AGControlItems& items = table->controlList();
    if (output.fieldPage) return items.Count() > 0 && !anyItemOn(items);
    return itemOff(items, output.itemId);
  });
}

std::int16_t runCheck(GenerationRun& run) {
  AGP& proj = run.proj();
  if (Expected<> ready = CheckComponents(); !ready) {
    run.failure = std::move(ready.failure().text);
    return 0;
  }
  // Without a database or a destination the walk below has nothing to list against.
  const Ref<AGPDatabase> db = proj.DB();
  if (!db) {
    return endCheck(run,
                    projectContext().productTitle + u": Database not loaded! Generation aborted!");
  }
  if (Expected<> root = CheckOutputRoot(proj); !root) {
    run.failure = std::move(root.failure().text);
    return 0;
  }

  OpenPhase(run, u" - Preparing for generation...", 2, true);
  DefaultHeaderLogo(proj);
  // The check reads the same cache file the generation will.
  const std::u16string templateFile = TakeTemplateName(proj);
  LockTemplateFolders(run, templateFile);
  run.templateCache = makeRef<AGPCache>();
  bool kept = false;

  const std::int16_t r =
      IsFileChanged(run.templateCache.get(), u"template", u"template", templateFile);
  if (r == -1) return endCheck(run, TemplateNotFound(templateFile));
  projectContext().syncKeepAnswer = r == 0;
  if (r == 1) {
    projectContext().syncKeepAnswer =
        !projectContext().updateChangedTemplates &&
        ui::askKeepOrOverwrite(
            u"Template version in zip file is different with that in the "
            u"template folder. Do you want to keep the existing files in the "
            u"template folder or extract and overwrite from the zip file?",
            projectContext().productTitle) != ui::Answer::Overwrite;
    kept = projectContext().syncKeepAnswer;
  }

  const PreparedTemplates prepared =
      PrepareTemplatePath(templateFile, u"Script", false, true, !projectContext().syncKeepAnswer);
  if (!kept) {
    CacheFileStamp(run.templateCache.get(), u"template", u"template", templateFile);
    run.templateCache->WriteCacheFile();
  }
  if (!projectContext().syncKeepAnswer) {
    DeleteFilesByExt(projectContext().templateCacheFolder, u"tpl");
    run.templateCache->DeleteCacheGroup(Variant(u"tpl"));
  }

  if (!prepared.unpacked)
    return endCheck(run, TemplateUnpackFailure(prepared.unpacked.failure().text));
  const std::u16string controlFile =
      prepared.folder.empty() ? std::u16string() : fs::joinPath(prepared.folder, u"control.xml");
  if (Expected<> loaded = LoadRunControls(run, controlFile); !loaded) {
    return endCheck(run, std::move(loaded.failure().text));
  }

  if (const GenerationExtensions* extensions = Installed<GenerationExtensions>::get()) {
    for (std::int32_t i = 1; i <= extensions->count(); ++i) {
      const std::optional<GenerationExtensions::Entry> e = extensions->seq(i);
      if (!e || !e->enabled) continue;
      const std::u16string file = extensionArchivePath(*e);
      if (!fs::fileExists(file)) continue;
      const std::int16_t changed =
          IsFileChanged(run.templateCache.get(), u"extension", e->name, file);
      // An extension that does not unpack or merge is left out here; the generation tells of it.
      if (PrepareTemplatePath(file, e->name, true, true, changed > 0).unpacked) {
        static_cast<void>(MergeExtControls(run, e->name));
      }
    }
  }

  InitScriptEngine(run);
  if (run.scriptEngine && !run.failure) {
    if (ScriptResult<bool> valid = run.scriptEngine->validate(); !valid.outcome)
      run.failure = std::move(valid.outcome.failure().text);
  }
  ClearControlItems(run);
  run.templateCache = nullptr;
  if (!run.failure) {
    if (Expected<> loaded = CheckScriptFiles(run); !loaded) run.failure = loaded.failure().text;
  }

  // A path below a root the project leaves empty would stop the walk with its own error and
  // hide the validation message, which says what to set.
  const Expected<> placed = CheckOutputFolders(proj, *run.templateControls);
  if (!placed && !run.failure) run.failure = placed.failure().text;
  std::int16_t count = 0;
  if (placed) GenerateAll(run, true, count);
  const std::int16_t result = count;
  UpdateControlItems(run);
  if (run.siteOutputs) dropSwitchedOff(proj, *run.siteOutputs);
  if (run.scriptEngine) {
    run.scriptEngine->Reset();
    run.scriptEngine = nullptr;
  }
  Status().CloseStatus();
  return result;
}

}  // namespace

std::int16_t checkSite(AGP& proj) {
  GenerationRun run(proj);
  return runWithOutcome(run, [&run] { return runCheck(run); });
}

std::int16_t checkSiteListing(AGP& proj, std::vector<SiteOutput>& outputs) {
  GenerationRun run(proj);
  run.siteOutputs = &outputs;
  return runWithOutcome(run, [&run] { return runCheck(run); });
}

}  // namespace vantorel
