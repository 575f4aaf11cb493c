#include "generator/generation_run.hpp"

#include "agp/agp.hpp"
#include "fields/field.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"
#include "model/table.hpp"
#include "foundation/project_context.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/file_cache.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel {

GenerationRun::GenerationRun(AGP& proj)
    : templateControls(projectTemplateControls(proj)),
      fileCache(&SharedFileCache()),
      extensionControls(makeRef<AGPControls>()),
      proj_(proj) {}

GenerationRun::~GenerationRun() {
  Status().CloseStatus();
  releaseEngines();
  templateCache = nullptr;
}

void GenerationRun::releaseEngines() {
  for (Ref<AGScript>* engine : {&scriptEngine, &exParseEngine}) {
    if (*engine) (*engine)->Reset();
    *engine = nullptr;
  }
  proj_.exParseEngine() = nullptr;
}

void GenerationRun::commitOutputs() {
  deferOutputs = false;
  for (const fs::DeferredWrites::Failure& f : outputs.commit()) {
    ui::reportUnwritten(f.path, fromUtf8(f.reason));
    if (!failure) failure = projectContext().productTitle + u": " + fromUtf8(f.description);
  }
}

void GenerationRun::noteOutput(const std::u16string& path, const std::u16string& itemId,
                               bool fieldPage) {
  if (!siteOutputs) return;
  siteOutputs->push_back(
      {path, currentTable ? currentTable->tblName() : std::u16string(), itemId, fieldPage});
}

void GenerationRun::noteProjectOutput(const std::u16string& path, const std::u16string& itemId) {
  if (siteOutputs) siteOutputs->push_back({path, {}, itemId, false});
}

void GenerationRun::setExParseEngine(Ref<AGScript> engine) {
  exParseEngine = std::move(engine);
  proj_.exParseEngine() = exParseEngine;
}

}  // namespace vantorel
