#include "generator/copy_controls.hpp"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "foundation/template_lookup.hpp"
#include "generator/control_conditions.hpp"
#include "generator/generation_run.hpp"
#include "generator/output_items.hpp"
#include "generator/output_naming.hpp"
#include "generator/output_paths.hpp"
#include "generator/overwrite.hpp"
#include "generator/page_generation.hpp"
#include "generator/unzip_component.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/clock.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kControlFile = u"control.xml";

std::u16string withoutTrailingSeparator(std::u16string_view path) {
  while (!path.empty() && fs::isSeparator(path.back())) path.remove_suffix(1);
  return std::u16string(path);
}

// Without a source folder a name would be read from the current folder.
std::u16string fromSourceFolder(std::u16string_view name) {
  if (projectContext().currentSourceFolder.empty()) return {};
  return CheckPathExists(projectContext().currentSourceFolder, name);
}

bool hasContent(const std::u16string& folder) {
  std::error_code ec;
  const std::filesystem::path native = fs::toNative(folder);
  return std::filesystem::is_directory(native, ec) && !std::filesystem::is_empty(native, ec);
}

// A name of the template set that climbs out of its folder (an absolute path, a drive, "..").
bool leavesFolder(std::u16string_view name) {
  return !fs::joinInside(u"folder", name).has_value();
}

std::u16string outsideMessage(std::u16string_view kind, std::u16string_view name) {
  return projectContext().productTitle + u": " + std::u16string(kind) + u" " + inQuotes(name) +
         u" leads outside its folder! Check if correct template.";
}

// year, month, day, hour, minute and second, without separators.
std::u16string timeStamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(sys::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
  return fromUtf8(text);
}

// The reason the archive could not be unpacked; empty when it was.
std::u16string unpackTemplate(const std::u16string& templateFile, const std::u16string& folder) {
  const std::u16string f = withoutTrailingSeparator(folder);
  if (fs::fileExists(f)) fs::renamePath(f, f + u"." + timeStamp());
  UnzipComponent& unzip = SharedUnzipComponent();
  unzip.setZipFile(templateFile);
  unzip.setOverwrite(true);
  unzip.setUseFolders(true);
  unzip.setAction(UnzipComponent::kExtract);
  unzip.setTargetFolder(folder);
  if (unzip.Extract() != UnzipComponent::kOk) return unzip.LastMessage();
  if (unzip.FileCount() == 0) return u"Archive \"" + templateFile + u"\" holds no files.";
  return {};
}

bool controlRuns(GenerationRun& run, const Ref<AGPControl>& control) {
  const CurrentControlScope scope(run, control);
  return EvalCtrlCond(run, control->CtrlCond());
}

class CopyRun {
 public:
  CopyRun(GenerationRun& run, bool checkOnly)
      : run_(run), proj_(run.proj()), checkOnly_(checkOnly) {}

  // False when the whole operation has to stop.
  bool copyFiles(const AGPControl& control) {
    const AGControlFields& c = control.fields();
    if (leavesFolder(c.CtrlIFolder)) return stop(outsideMessage(u"Source folder", c.CtrlIFolder));
    const std::u16string sourceFolder = fromSourceFolder(c.CtrlIFolder);
    const std::vector<std::u16string> entries = split(c.CtrlIFiles, u",");
    const bool namedFolder = !c.CtrlOFolderID.empty() || !c.CtrlOFolder.empty();
    for (const std::u16string& entry : entries) {
      if (leavesFolder(entry)) return stop(outsideMessage(u"Source file", entry));
      const std::u16string source =
          sourceFolder.empty() ? std::u16string() : CheckPathExists(sourceFolder, entry);
      std::u16string targetName = entry;
      if (namedFolder) targetName = fileNamePart(entry);
      if (source.empty()) {
        return stop(projectContext().productTitle + u": Source file does not exist - " +
                    inQuotes(entry) + u"! Check if correct template.");
      }
      if (entries.size() == 1 && !c.CtrlOFile.empty()) {
        targetName = GetOutputFileName(proj_, control, u"", u"");
      }
      const std::u16string target = GetDestPath(
          proj_, GetOutputFolder(*run_.templateControls, c.CtrlOFolderID, c.CtrlOFolder),
          targetName, checkOnly_);
      run_.noteProjectOutput(target, control.CtrlID());
      if (!BackupFile(run_, target, c.CtrlOverwrite, false, checkOnly_, proj_.BackupFileFlag())) {
        continue;
      }
      if (checkOnly_) {
        ++count_;
        continue;
      }
      Status().DispStatus(Variant(u"Copying file " + entry + u"..."));
      try {
        // An entry with sub-folders keeps them below the site: the copy makes them.
        fs::copyFile(source, target, true, OutputRootOf(proj_, target));
      } catch (const fs::FileError& e) {
        return copyFailed(target, fromUtf8(e.reason()));
      } catch (const std::exception& e) {
        return copyFailed(target, fromUtf8(e.what()));
      }
    }
    return true;
  }

  bool copyFolder(const AGPControl& control) {
    const AGControlFields& c = control.fields();
    if (leavesFolder(c.CtrlIFolder)) return stop(outsideMessage(u"Source folder", c.CtrlIFolder));
    const std::u16string source = fromSourceFolder(c.CtrlIFolder);
    const std::u16string shownFolder = withoutTrailingSeparator(c.CtrlIFolder);
    if (source.empty()) {
      result_ = Failure{projectContext().productTitle + u": Source folder does not exist - " +
                        inQuotes(c.CtrlIFolder) + u"! Check if correct template."};
      return true;
    }
    const bool namedFolder = !c.CtrlOFolderID.empty() || !c.CtrlOFolder.empty();
    const std::u16string folder =
        namedFolder ? GetOutputFolder(*run_.templateControls, c.CtrlOFolderID, c.CtrlOFolder)
                    : c.CtrlIFolder;
    // The folder is made by GetDestPath (or by the folder controls before the run), so whether
    // anything could be overwritten is asked of it as it was before: missing or empty, nothing.
    const bool occupied = hasContent(GetDestPath(proj_, folder, u"", true));
    const std::u16string target =
        withoutTrailingSeparator(GetDestPath(proj_, folder, u"", checkOnly_));
    if (run_.siteOutputs) noteFolderCopy(source, target, control.CtrlID());
    if ((checkOnly_ || occupied) &&
        !BackupFolder(run_, target, c.CtrlOverwrite, false, checkOnly_, proj_.BackupFileFlag())) {
      return true;
    }
    if (checkOnly_) {
      ++count_;
      return true;
    }
    Status().DispStatus(Variant(u"Copying folder " + shownFolder + u"..."));
    try {
      fs::copyFolder(withoutTrailingSeparator(source), target, OutputRootOf(proj_, target));
    } catch (const fs::FileError& e) {
      ui::reportUnwritten(target, fromUtf8(e.reason()));
      return stop(u"Copying to folder " + inQuotes(shownFolder) + u" failed! Error = " +
                  fromUtf8(e.reason()));
    }
    return true;
  }

  StepOutcome outcome() const { return {count_, result_}; }

 private:
  // Each file the copy of the folder source makes below target.
  void noteFolderCopy(const std::u16string& source, const std::u16string& target,
                      const std::u16string& id) {
    const std::filesystem::path from = fs::toNative(withoutTrailingSeparator(source));
    std::error_code ec;
    std::vector<std::u16string> files;
    for (std::filesystem::recursive_directory_iterator it(from, ec), end; !ec && it != end;
         it.increment(ec)) {
      if (!it->is_regular_file(ec)) continue;
      files.push_back(fs::fromNative(std::filesystem::relative(it->path(), from, ec)));
    }
    std::sort(files.begin(), files.end());
    for (const std::u16string& file : files) {
      run_.noteProjectOutput(fs::joinPath(target, fs::normalizeSeparators(file)), id);
    }
  }

  // The system's reason goes with the message, as the database copy gives it: a full disk and a
  // missing permission must not read the same.
  bool copyFailed(const std::u16string& target, const std::u16string& reason) {
    ui::reportUnwritten(target, reason);
    return stop(u"Copying to file " + inQuotes(target) + u" failed! Error = " + reason);
  }

  bool stop(std::u16string message) {
    result_ = Failure{std::move(message)};
    return false;
  }

  GenerationRun& run_;
  AGP& proj_;
  bool checkOnly_;
  std::int16_t count_ = 0;
  // The last failure; the one that stopped the copies, if one did.
  Expected<> result_;
};

}  // namespace

PreparedTemplates PrepareTemplatePath(const std::u16string& templateFile,
                                      const std::u16string& folderKind, bool forExtension,
                                      bool unpack, bool force) {
  if (templateFile.empty()) return {};
  std::u16string folder;
  std::u16string failure;
  try {
    folder =
        InitAppFolders(forExtension ? fileNamePart(templateFile) : TemplateWorkName(templateFile),
                       folderKind, forExtension);
    if (unpack && !folder.empty() &&
        (force || !fs::fileExists(fs::joinPath(folder, kControlFile))) &&
        fs::fileExists(templateFile)) {
      if (forExtension) {
        DeleteFolderIfExists(folder);
        MakeFolderPath(folder);
      }
      failure = unpackTemplate(templateFile, folder);
    }
  } catch (const std::exception& e) {
    failure = fromUtf8(e.what());
  }
  if (failure.empty()) return {std::move(folder), {}};
  return {std::move(folder), Failure{std::move(failure)}};
}

std::u16string SetControlSourceFolder(const AGPControl& control) {
  std::u16string folder = ControlSourceFolder(control.CtrlExt());
  projectContext().currentSourceFolder = folder;
  return folder;
}

Expected<> CheckScriptFiles(GenerationRun& run) {
  for (const Ref<AGPControl>& control : run.templateControls->items()) {
    if (control->CtrlType() != u"function" || !controlRuns(run, control)) continue;
    const std::u16string folder = SetControlSourceFolder(*control);
    const std::u16string& file = control->CtrlIFiles();
    if (file.empty()) continue;
    const std::u16string path = folder.empty() ? std::u16string() : CheckPathExists(folder, file);
    if (path.empty()) {
      return Failure{projectContext().productTitle + u": Script file does not exist - " +
                     inQuotes(file) + u"! Check if correct template."};
    }
    if (!run.scriptEngine) {
      return Failure{projectContext().productTitle + u": No script engine to load " +
                     inQuotes(file) + u" into."};
    }
    if (ScriptOutcome added = run.scriptEngine->addTemplateScript(path, &showScriptFileFailure);
        !added)
      return added;
  }
  return {};
}

StepOutcome CopyTemplateFiles(GenerationRun& run, bool checkOnly) {
  CopyRun copies(run, checkOnly);
  // A copy control may change the list (none does today), so the controls are taken first.
  const std::vector<Ref<AGPControl>> controls = run.templateControls->items();
  for (const Ref<AGPControl>& control : controls) {
    if (control->CtrlType() != u"copy") continue;
    if (!controlRuns(run, control) || !IsOutputItemOn(run.proj(), control->CtrlID())) continue;
    SetControlSourceFolder(*control);
    bool goOn = true;
    if (!control->CtrlIFiles().empty()) {
      goOn = copies.copyFiles(*control);
    } else if (!control->CtrlIFolder().empty()) {
      goOn = copies.copyFolder(*control);
    }
    if (!goOn) return {1, copies.outcome().result};
    StepProgress();
  }
  return copies.outcome();
}

}  // namespace vantorel
