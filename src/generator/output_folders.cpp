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

std::optional<std::u16string> CheckOutputFolders(AGP& proj, const AGPControls& controls) {
  for (const Ref<AGPControl>& control : controls.items()) {
    const std::u16string& folder = control->fields().CtrlOFolder;
    if (folder.empty()) continue;
    if (std::optional<std::u16string> missing = CheckFolderRoot(proj, folder)) return missing;
  }
  return std::nullopt;
}

void CreateOutputFolders(GenerationRun& run) {
  CreateOutputFolders(run.proj(), *run.templateControls);
}

}  // namespace vantorel
