#include "generator/generation_extensions.hpp"

#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"

namespace vantorel {

namespace {

GenerationExtensions*& installed() {
  thread_local GenerationExtensions* extensions = nullptr;
  return extensions;
}

}  // namespace

void setGenerationExtensions(GenerationExtensions* extensions) noexcept {
  installed() = extensions;
}

GenerationExtensions* generationExtensions() noexcept {
  return installed();
}

std::u16string extensionArchivePath(const GenerationExtensions::Entry& extension) {
  return AddBackslash(projectContext().extensionsFolder) + extension.templateFile;
}

}  // namespace vantorel
