// The project object's members that belong to the project file.
#include "projectfile/project_file_operations.hpp"

#include "agp/project_operations.hpp"
#include "projectfile/project_defaults.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"

namespace vantorel {

void installProjectFileOperations() noexcept {
  ProjectOperations& operations = projectOperations();
  operations.save = &saveProject;
  operations.load = &loadProject;
  operations.saveDefault = &saveProjectDefaults;
}

}  // namespace vantorel
