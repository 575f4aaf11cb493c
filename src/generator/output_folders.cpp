#include "generator/output_folders.hpp"

#include "generator/generation_run.hpp"
#include "generator/output_paths.hpp"
#include "platform/text/case_fold.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

void CreateOutputFolders(AGP& proj, const AGPControls& controls) {
  for (const Ref<AGPControl>& control : controls.items()) {
    const AGControlFields& c = control->fields();
    if (!equalsNoCase(c.CtrlType, u"folder") || c.CtrlOFolder.empty()) continue;
    GetDestPath(proj, c.CtrlOFolder, u"", false);
  }
}

void CreateOutputFolders(GenerationRun& run) {
  CreateOutputFolders(run.proj(), *run.templateControls);
}

}  // namespace vantorel
