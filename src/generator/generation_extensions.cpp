#include "generator/generation_extensions.hpp"

#include <atomic>

#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "platform/fs/path.hpp"

namespace vantorel {

namespace {

std::atomic<GenerationExtensions*> installed = nullptr;

}  // namespace

GenerationExtensions* setGenerationExtensions(GenerationExtensions* extensions) noexcept {
  return installed.exchange(extensions);
}

GenerationExtensions* generationExtensions() noexcept {
  return installed.load();
}

std::u16string extensionArchivePath(const GenerationExtensions::Entry& extension) {
  if (extension.templateFile.empty()) return AddBackslash(projectContext().extensionsFolder);
  return fs::joinInside(projectContext().extensionsFolder, extension.templateFile)
      .value_or(std::u16string());
}

}  // namespace vantorel
