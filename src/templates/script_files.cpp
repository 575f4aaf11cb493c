#include "templates/script_files.hpp"

#include <utility>

#include "foundation/project_context.hpp"
#include "foundation/text_files.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"

namespace vantorel {

Expected<std::u16string> loadScriptFile(std::u16string_view path) {
  if (path.empty() || !fs::fileExists(path)) {
    return Failure{projectContext().productTitle + u": Script file " + std::u16string(path) +
                   u" not found! Content not loaded!"};
  }
  return toString(ReadTextFile(Variant(std::u16string(path))));
}

std::u16string readScriptFile(std::u16string_view path, const ScriptFileNotice& tell) {
  Expected<std::u16string> text = loadScriptFile(path);
  if (!text) {
    if (tell) tell(text.failure());
    return {};
  }
  return std::move(*text);
}

}  // namespace vantorel
