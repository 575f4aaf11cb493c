#include "projectfile/project_file_seams.hpp"

#include <atomic>
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

// Installed once at start-up, for every thread: the handler keeps its state in the project.
std::atomic<ProjectSchemaSync*>& schemaSyncHandler() {
  static std::atomic<ProjectSchemaSync*> installed = nullptr;
  return installed;
}

// The stores work on the calling thread's own lists; the stores themselves hold no state.
std::atomic<ProjectExtensionStore*>& extensionStore() {
  static std::atomic<ProjectExtensionStore*> installed = nullptr;
  return installed;
}

std::atomic<ProjectCustomScriptStore*>& customScriptStore() {
  static std::atomic<ProjectCustomScriptStore*> installed = nullptr;
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

ProjectSchemaSync* setProjectSchemaSync(ProjectSchemaSync* handler) noexcept {
  return schemaSyncHandler().exchange(handler);
}
ProjectSchemaSync* projectSchemaSync() noexcept {
  return schemaSyncHandler();
}

ProjectExtensionStore* setProjectExtensionStore(ProjectExtensionStore* store) noexcept {
  return extensionStore().exchange(store);
}
ProjectExtensionStore* projectExtensionStore() noexcept {
  return extensionStore();
}
ProjectCustomScriptStore* setProjectCustomScriptStore(ProjectCustomScriptStore* store) noexcept {
  return customScriptStore().exchange(store);
}
ProjectCustomScriptStore* projectCustomScriptStore() noexcept {
  return customScriptStore();
}

}  // namespace vantorel
