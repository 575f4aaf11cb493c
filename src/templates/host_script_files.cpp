// The script host drives the reading of a template set's script files, so it is the one that
// tells the user of a missing file.
#include "foundation/project_context.hpp"
#include "platform/ui/ui.hpp"
#include "templates/script_files.hpp"

namespace vantorel {

std::u16string readScriptFile(std::u16string_view path) {
  std::optional<std::u16string> text = loadScriptFile(path);
  if (!text) {
    ui::messageBox(projectContext().productTitle + u": Script file " + std::u16string(path) +
                   u" not found! Content not loaded!");
    return {};
  }
  return std::move(*text);
}

}  // namespace vantorel
