// The project object's members that belong to generation.
#include "agp/project_operations.hpp"
#include "generator/generation_driver.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel {

void installGenerationOperations() noexcept {
  ProjectOperations& operations = projectOperations();
  operations.genScript = &generateSite;
  operations.genCheck = &checkSite;
  operations.emptyGenerationObjects = [] {
    ScriptEngine() = nullptr;
    TemplateCache() = nullptr;
  };
}

}  // namespace vantorel
