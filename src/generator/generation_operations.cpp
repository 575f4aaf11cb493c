// The project object's members that belong to generation.
#include "agp/project_operations.hpp"
#include "generator/generation_driver.hpp"

namespace vantorel {

void installGenerationOperations() noexcept {
  ProjectOperations& operations = projectOperations();
  operations.genScript = &generateSite;
  operations.genCheck = &checkSite;
}

}  // namespace vantorel
