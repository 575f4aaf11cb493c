#include "generator/generation_extensions.hpp"

#include "foundation/template_lookup.hpp"
#include "project/project_state.hpp"

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
  return AddBackslash(ExtensionsFolder()) + extension.templateFile;
}

}  // namespace vantorel
