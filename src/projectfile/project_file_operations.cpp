// The project object's members that belong to the project file.
#include "projectfile/project_file_operations.hpp"

#include <optional>

#include "agp/project_operations.hpp"
#include "foundation/project_context.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/project_defaults.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"
#include "projectfile/schema_check_handler.hpp"
#include "schema/sync_question.hpp"

namespace vantorel {

namespace {

// The reader only reports what the user should hear of; the entry point shows it.
void loadAndNotify(AGP& project, const std::u16string& projFile) {
  if (const std::optional<std::u16string> notice =
          loadProject(project, projFile, &AskKeepOldDefinition)) {
    ui::messageBox(*notice, projectContext().productTitle, ui::Buttons::OK, ui::Icon::Exclamation);
  }
}

}  // namespace

void installProjectFileOperations() noexcept {
  ProjectOperations& operations = projectOperations();
  operations.save = &saveProject;
  operations.load = &loadAndNotify;
  operations.saveDefault = &saveProjectDefaults;
  operations.compareVersion = &CompareVersion;
  operations.boolToNum = &BoolToNum;
  operations.writeOutputFile = &WriteOutputFile;
  operations.writeUtf8File = &WriteUtf8File;
  installProjectSchemaSync();
}

}  // namespace vantorel
