#include "foundation/template_lookup.hpp"

#include <atomic>

#include "foundation/project_context.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {
// The view works on the calling thread's own extension list.
std::atomic<const InstalledExtensions*> tExtensions = nullptr;
}  // namespace

const InstalledExtensions* setInstalledExtensions(const InstalledExtensions* extensions) noexcept {
  return tExtensions.exchange(extensions);
}

const InstalledExtensions* installedExtensions() noexcept {
  return tExtensions.load();
}

std::u16string AddBackslash(std::u16string_view path) {
  std::u16string out(trimBlanks(path));
  if (!out.empty() && out.back() != u'\\' && out.back() != u'/') out.push_back(u'\\');
  return out;
}

std::u16string GetTemplateFilePath(std::u16string_view fileName) {
  if (projectContext().currentSourceFolder != projectContext().templateFolder) {
    std::u16string path =
        AddBackslash(projectContext().currentSourceFolder) + std::u16string(fileName);
    if (fs::fileExists(path)) return path;
    return AddBackslash(projectContext().templateFolder) + std::u16string(fileName);
  }
  if (const InstalledExtensions* extensions = tExtensions.load()) {
    const std::int32_t count = extensions->count();
    for (std::int32_t i = 1; i <= count && i <= INT16_MAX; ++i) {
      // A gap in the numbering would be the extension list's own fault; it must not stop a
      // generation, so it is passed over.
      const auto entry = extensions->seq(static_cast<std::int16_t>(i));
      if (!entry || !entry->enabled) continue;
      std::u16string path = projectContext().extensionTemplatesFolder + u"/" + entry->name + u"/" +
                            std::u16string(fileName);
      if (fs::fileExists(path)) return path;
    }
  }
  return AddBackslash(projectContext().currentSourceFolder) + std::u16string(fileName);
}

}  // namespace vantorel
