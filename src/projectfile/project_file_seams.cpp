#include "projectfile/project_file_seams.hpp"

#include <mutex>

#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"

namespace vantorel {

namespace {

struct ConverterRegistration {
  std::mutex mutex;
  ProjectConverterFactory factory;
};

ConverterRegistration& converterRegistration() {
  static ConverterRegistration registration;
  return registration;
}

ProjectSchemaSync*& schemaSyncHandler() {
  thread_local ProjectSchemaSync* installed = nullptr;
  return installed;
}

ProjectExtensionStore*& extensionStore() {
  thread_local ProjectExtensionStore* installed = nullptr;
  return installed;
}

ProjectCustomScriptStore*& customScriptStore() {
  thread_local ProjectCustomScriptStore* installed = nullptr;
  return installed;
}

}  // namespace

void setProjectConverterFactory(ProjectConverterFactory factory) {
  ConverterRegistration& r = converterRegistration();
  const std::lock_guard lock(r.mutex);
  r.factory = std::move(factory);
}

std::unique_ptr<ProjectConverter> createProjectConverter() {
  ProjectConverterFactory factory;
  {
    ConverterRegistration& r = converterRegistration();
    const std::lock_guard lock(r.mutex);
    factory = r.factory;
  }
  std::unique_ptr<ProjectConverter> converter = factory ? factory() : nullptr;
  if (!converter) raiseVbError(vberr::kCannotCreateObject);
  return converter;
}

void setProjectSchemaSync(ProjectSchemaSync* handler) noexcept {
  schemaSyncHandler() = handler;
}
ProjectSchemaSync* projectSchemaSync() noexcept {
  return schemaSyncHandler();
}

void setProjectExtensionStore(ProjectExtensionStore* store) noexcept {
  extensionStore() = store;
}
ProjectExtensionStore* projectExtensionStore() noexcept {
  return extensionStore();
}
void setProjectCustomScriptStore(ProjectCustomScriptStore* store) noexcept {
  customScriptStore() = store;
}
ProjectCustomScriptStore* projectCustomScriptStore() noexcept {
  return customScriptStore();
}

}  // namespace vantorel
