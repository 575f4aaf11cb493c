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

Expected<> CheckOutputFolders(AGP& proj, const AGPControls& controls) {
  for (const Ref<AGPControl>& control : controls.items()) {
    const std::u16string& folder = control->fields().CtrlOFolder;
    if (folder.empty()) continue;
    if (Expected<> placed = CheckFolderRoot(proj, folder); !placed) return placed;
  }
  return {};
}

void CreateOutputFolders(GenerationRun& run) {
  CreateOutputFolders(run.proj(), *run.templateControls);
}

}  // namespace vantorel
