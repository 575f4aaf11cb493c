#include "projectfile/project_file_operations.hpp"

#include <optional>

#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/project_file_lock.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_writer.hpp"
#include "schema/sync_question.hpp"

namespace vantorel {

// The reader returns what the user should be warned of; this entry shows it.
void loadProjectFile(AGP& project, const std::u16string& projFile) {
  if (const ProjectLoadWarnings warnings = loadProject(project, projFile, &AskKeepOldDefinition);
      warnings.any()) {
    ui::messageBox(warnings.unreadableDatabase, projectContext().productTitle, ui::Buttons::OK,
                   ui::Icon::Exclamation);
  }
}

// A save while another process reads, changes and saves the same file would undo its work or be
// undone by it; the old file stays.
void saveProjectFile(AGP& project, const std::u16string& projFile) {
  const std::optional<ProjectFileLock> lock = ProjectFileLock::tryAcquire(projFile);
  if (!lock) raiseVbError(vberr::kPermissionDenied, projectFileInUse(projFile) + u" Not saved.");
  saveProject(project, projFile);
}

}  // namespace vantorel
