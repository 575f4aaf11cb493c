#include "generator/generation_extensions.hpp"

#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"

namespace vantorel {

std::u16string extensionArchivePath(const GenerationExtensions::Entry& extension) {
  if (extension.templateFile.empty()) return AddBackslash(projectContext().extensionsFolder);
  return fs::joinInside(projectContext().extensionsFolder, extension.templateFile)
      .value_or(std::u16string());
}

std::u16string GetTemplateFilePath(std::u16string_view fileName) {
  if (projectContext().currentSourceFolder != projectContext().templateFolder) {
    std::u16string path =
        AddBackslash(projectContext().currentSourceFolder) + std::u16string(fileName);
    if (fs::fileExists(path)) return path;
    return AddBackslash(projectContext().templateFolder) + std::u16string(fileName);
  }
  if (const GenerationExtensions* extensions = Installed<GenerationExtensions>::get()) {
    const std::int32_t count = extensions->count();
    for (std::int32_t i = 1; i <= count && i <= INT16_MAX; ++i) {
      // A gap in the numbering would be the extension list's own fault; it must not stop a
      // generation, so it is passed over.
      const std::optional<GenerationExtensions::Entry> entry = extensions->seq(i);
      if (!entry || !entry->enabled) continue;
      const std::optional<std::u16string> folder = ExtensionFolder(entry->name);
      const std::optional<std::u16string> path =
          folder ? fs::joinInside(*folder, fileName) : std::nullopt;
      if (path && fs::fileExists(*path)) return *path;
    }
  }
  return AddBackslash(projectContext().currentSourceFolder) + std::u16string(fileName);
}

}  // namespace vantorel
