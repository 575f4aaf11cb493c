#include "templates/script_files.hpp"

#include "foundation/project_context.hpp"
#include "foundation/text_files.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

std::u16string readScriptFile(std::u16string_view path) {
  if (path.empty() || !fs::fileExists(path)) {
    ui::messageBox(projectContext().productTitle + u": Script file " + std::u16string(path) +
                   u" not found! Content not loaded!");
    return {};
  }
  return toString(ReadTextFile(Variant(std::u16string(path))));
}

}  // namespace vantorel
