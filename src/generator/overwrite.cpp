#include "generator/overwrite.hpp"

#include <filesystem>
#include <system_error>

#include "foundation/project_context.hpp"
#include "generator/generation_run.hpp"
#include "generator/output_paths.hpp"
#include "generator/overwrite_prompt.hpp"
#include "generator/run_end.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/link_free_paths.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

namespace {

enum class TargetKind { File, Folder };

// A folder target may come with a closing separator; its backup is its sibling, not a child.
std::u16string withoutTrailingSeparator(const std::u16string& path) {
  std::u16string trimmed = path;
  while (trimmed.size() > 1 && fs::isSeparator(trimmed.back())) trimmed.pop_back();
  return trimmed;
}

void backupFolderCopy(const std::u16string& folder, std::u16string_view root) {
  const std::u16string source = withoutTrailingSeparator(folder);
  const std::filesystem::path to = fs::toNative(source + u".bak");
  std::error_code ec;
  std::filesystem::remove_all(to, ec);
  if (ec) {
    throw fs::FileError("cannot remove the old backup " + to.string() + ": " + ec.message(),
                        ec.message());
  }
  fs::copyFolder(source, source + u".bak", root);
}

// The target is left as it was: without its backup it is not overwritten.
void reportFailure(const std::u16string& target, const fs::FileError& e,
                   std::u16string_view prefix = u"no backup: ") {
  ui::reportUnwritten(target, std::u16string(prefix) + fromUtf8(e.reason()));
  const std::u16string description = fromUtf8(e.what());
  try {
    ui::messageBox(u"Error in open \"" + target + u"\", description:" + description,
                   projectContext().productTitle, ui::Buttons::OK, ui::Icon::Exclamation);
  } catch (const AutomationError&) {
    // The target stays unwritten whether or not the message could be shown.
  }
}

bool decide(GenerationRun& run, TargetKind kind, const std::u16string& target, bool overwrite,
            bool ask, bool existsOnly, bool backupOn) {
  const bool exists = kind == TargetKind::File ? fs::fileExists(target) : fs::folderExists(target);
  if (existsOnly) return exists;
  run.overwriteAnswer = false;
  if (!exists) return true;

  const std::u16string& all = run.overwriteAllAnswer;
  if (all == u"S") return false;
  if (all == u"O" || !ask) {
    run.overwriteAnswer = overwrite;
  } else if (overwrite) {
    run.overwritePromptFile = kind == TargetKind::File ? target : std::u16string();
    run.overwritePromptFolder = kind == TargetKind::Folder ? target : std::u16string();
    try {
      ShowOverwritePrompt(run);
    } catch (const AutomationError& e) {
      // Answers that do not fit the prompt: an unattended run stops rather than guess.
      RaiseGenError(projectContext().productTitle + u": " + e.description() +
                    u" Generation aborted.");
    }
  }
  if (run.overwriteAllAnswer == u"C") RaiseCancelled();
  if (!run.overwriteAnswer) return false;

  if (backupOn) {
    // A backup reads the target and writes beside it: through a link it would copy a file from
    // elsewhere into the site, or remove and fill a folder elsewhere.
    const std::u16string root = OutputRootOf(run.proj(), target);
    try {
      fs::refuseLinksBelow(root, target);
    } catch (const fs::FileError& e) {
      reportFailure(target, e, u"");
      return false;
    }
    try {
      if (kind == TargetKind::File && run.outputWrites()) {
        // While the run defers its outputs, the target is replaced by a rename at the commit, so
        // its old bytes can keep a second name; the commit's flush makes that name durable
        // before the target changes.
        fs::keepAsBackup(target, target + u".bak", root);
      } else if (kind == TargetKind::File) {
        fs::copyFile(target, target + u".bak", true, root);
      } else {
        backupFolderCopy(target, root);
      }
    } catch (const fs::FileError& e) {
      reportFailure(target, e);
      return false;
    } catch (const std::exception& e) {
      reportFailure(target, fs::FileError(e.what()));
      return false;
    }
  }
  return true;
}

}  // namespace

bool BackupFile(GenerationRun& run, const std::u16string& file, bool overwrite, bool ask,
                bool existsOnly, bool backupOn) {
  return decide(run, TargetKind::File, file, overwrite, ask, existsOnly, backupOn);
}

bool BackupFolder(GenerationRun& run, const std::u16string& folder, bool overwrite, bool ask,
                  bool existsOnly, bool backupOn) {
  return decide(run, TargetKind::Folder, folder, overwrite, ask, existsOnly, backupOn);
}

}  // namespace vantorel
