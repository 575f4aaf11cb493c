#include "templates/script_files.hpp"

#include "foundation/text_files.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"

namespace vantorel {

std::optional<std::u16string> loadScriptFile(std::u16string_view path) {
  if (path.empty() || !fs::fileExists(path)) return std::nullopt;
  return toString(ReadTextFile(Variant(std::u16string(path))));
}

}  // namespace vantorel
