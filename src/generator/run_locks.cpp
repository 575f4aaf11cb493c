#include "generator/run_locks.hpp"

#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "generator/generation_run.hpp"
#include "generator/output_naming.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/working_folders.hpp"

namespace vantorel {

void LockTemplateFolders(GenerationRun& run, const std::u16string& templateFile) {
  if (trimBlanks(templateFile).empty()) return;
  const std::u16string unpacked = InitAppFolders(TemplateWorkName(templateFile), u"Script", false);
  if (unpacked.empty()) return;
  const std::u16string root = fs::parentFolder(unpacked);
  try {
    run.templateLock = fs::FolderLock::acquire(root, false);
    if (!run.templateLock) {
      // Another run holds the set's working folders; a wait without a word looks like a hang.
      ui::warn(u"Waiting for another generation with the template set \"" + templateFile +
               u"\" to finish (its working folder \"" + root + u"\" is in use)...");
      run.templateLock = fs::FolderLock::acquire(root, true);
    }
  } catch (const fs::FileError&) {
    // Without a lock the run goes on as before; the folder's own failures are reported later.
    return;
  }
  fs::removeStaleTemporaries(root, true);
}

Expected<> LockDestination(GenerationRun& run) {
  const std::u16string destination(trimBlanks(projectSettingText(run.proj(), u"Destination")));
  if (destination.empty()) return {};
  // A folder that cannot be made is the run's one failure: every output would only repeat it,
  // each with a reason of its own that hides the folder's ("No such file or directory").
  try {
    fs::makeFolders(destination);
  } catch (const fs::FileError& e) {
    return Failure{projectContext().productTitle + u": The destination folder \"" + destination +
                   u"\" cannot be created: " + fromUtf8(e.reason()) + u". Generation aborted."};
  }
  try {
    run.destinationLock = fs::FolderLock::acquire(destination, false);
  } catch (const fs::FileError&) {
    return {};
  }
  if (!run.destinationLock) {
    return Failure{projectContext().productTitle + u": The destination folder \"" + destination +
                   u"\" is in use by another generation. Generation aborted."};
  }
  fs::removeStaleTemporaries(destination, true);
  return {};
}

}  // namespace vantorel
