// The project object's members that belong to the project file.
#include "projectfile/project_file_operations.hpp"

#include <optional>

#include "agp/project_operations.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/file_writing.hpp"
#include "projectfile/project_defaults.hpp"
#include "projectfile/project_file_lock.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"
#include "projectfile/working_folders.hpp"
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

// A save while another process reads, changes and saves the same file would undo its work or be
// undone by it; the old file stays.
void saveUnderLock(AGP& project, const std::u16string& projFile) {
  const std::optional<ProjectFileLock> lock = ProjectFileLock::tryAcquire(projFile);
  if (!lock) raiseVbError(vberr::kPermissionDenied, projectFileInUse(projFile) + u" Not saved.");
  saveProject(project, projFile);
}

}  // namespace

void installProjectFileOperations() noexcept {
  ProjectOperations& operations = projectOperations();
  operations.save = &saveUnderLock;
  operations.load = &loadAndNotify;
  operations.saveDefault = &saveProjectDefaults;
  operations.compareVersion = &CompareVersion;
  operations.boolToNum = &BoolToNum;
  operations.writeOutputFile = &WriteOutputFile;
  operations.writeUtf8File = &WriteUtf8File;
  operations.deleteFolderIfExists = &DeleteFolderIfExists;
}

}  // namespace vantorel
