#include "projectfile/working_folders.hpp"

#include <filesystem>
#include <new>

#include "foundation/captions.hpp"
#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/user_folders.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "projectfile/file_writing.hpp"

namespace vantorel {

namespace {

// A folder named by stored text below parent; nothing when the name is empty or would climb out.
std::optional<std::u16string> childFolder(const std::u16string& parent, std::u16string_view name) {
  if (name.empty()) return std::nullopt;
  return fs::joinInside(parent, name);
}

}  // namespace

void MakeFolderPath(const std::u16string& path) {
  try {
    fs::createFolders(path);
  } catch (...) {
    // A folder that cannot be made shows later as a missing file.
  }
}

std::u16string InitAppFolders(const std::u16string& templateFileName,
                              const std::u16string& subFolder, bool extension) {
  const std::u16string documents(trimBlanks(projectContext().myDocumentsFolder));
  // Without a documents folder the working folders would land in the file system's root.
  if (documents.empty()) return {};
  projectContext().userDataFolder =
      fs::joinPath(documents, StripSpacesAndSlashes(projectContext().productName));
  MakeBackupAndReportFolders(projectContext().userDataFolder);
  projectContext().userDataFolder = fs::joinPath(projectContext().userDataFolder, u"Templates");
  MakeFolderPath(projectContext().userDataFolder);
  if (templateFileName.empty()) return {};

  if (extension) {
    if (projectContext().extensionWorkFolder.empty()) return {};
    const auto folder = childFolder(projectContext().extensionWorkFolder, subFolder);
    if (!folder) return {};
    MakeFolderPath(*folder);
    return *folder;
  }
  const auto templateRoot =
      childFolder(projectContext().userDataFolder, StripSpacesAndSlashes(templateFileName));
  if (!templateRoot) return {};
  projectContext().userDataFolder = *templateRoot;
  MakeFolderPath(projectContext().userDataFolder);
  projectContext().extensionWorkFolder =
      fs::joinPath(projectContext().userDataFolder, u"extensions");
  MakeFolderPath(projectContext().extensionWorkFolder);
  projectContext().templateCacheFolder = fs::joinPath(projectContext().userDataFolder, u"cache");
  MakeFolderPath(projectContext().templateCacheFolder);
  const auto unpacked = childFolder(projectContext().userDataFolder, subFolder);
  if (!unpacked) return {};
  projectContext().templateFolder = *unpacked;
  MakeFolderPath(projectContext().templateFolder);
  return projectContext().templateFolder;
}

Expected<> CheckComponents() {
  try {
    const xml::Document probe;
  } catch (const std::exception& e) {
    return Failure{u"MSXML: " + fromUtf8(e.what())};
  }
  return {};
}

void DeleteFolderIfExists(const std::u16string& folder) {
  if (folder.empty() || !fs::folderExists(folder)) return;
  std::error_code ec;
  std::filesystem::remove_all(fs::toNative(folder), ec);
}

void DeleteFilesByExt(const std::u16string& folder, const std::u16string& ext) {
  if (!fs::folderExists(folder)) {
    raiseVbError(vberr::kPathNotFound, u"Path not found: '" + folder + u"'");
  }
  for (const std::u16string& name : fs::listFiles(folder)) {
    const std::size_t dot = name.rfind(u'.');
    const std::u16string_view last = dot == std::u16string::npos
                                         ? std::u16string_view()
                                         : std::u16string_view(name).substr(dot + 1);
    if (!equalsNoCase(last, ext)) continue;
    const std::u16string path = fs::joinPath(folder, name);
    if (isReadOnlyFile(path) || !fs::deleteFile(path)) {
      raiseVbError(vberr::kPermissionDenied, u"Permission denied: '" + path + u"'");
    }
  }
}

}  // namespace vantorel
