#include "generator/output_paths.hpp"

#include <filesystem>
#include <optional>
#include <system_error>

#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "generator/output_naming.hpp"
#include "generator/run_end.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/link_free_paths.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kDestinationSetting = u"Destination";
constexpr std::u16string_view kAppRootSetting = u"AppRootFolder";

bool isAppRootFolder(std::u16string_view folder) {
  return folder.size() >= 2 && folder[0] == u'~' && fs::isSeparator(folder[1]);
}

std::u16string missingRootMessage(std::u16string_view setting) {
  if (setting == kAppRootSetting) {
    return projectContext().productTitle +
           u": The project has no application root folder (\"AppRootFolder\" is empty), so "
           u"folders written \"~/\" have no place. Generation aborted.";
  }
  return projectContext().productTitle +
         u": The project has no destination folder (\"Destination\" is empty). Generation "
         u"aborted.";
}

// Leading separators were always read below the root (the root and the folder were joined as
// text), so they stay relative; only drives and ".." can lead outside.
std::u16string_view relativePart(std::u16string_view rest) {
  rest = trimBlanks(rest);
  while (!rest.empty() && fs::isSeparator(rest.front())) rest.remove_prefix(1);
  return rest;
}

[[noreturn]] void refuseOutside(std::u16string_view folder, std::u16string_view fileName,
                                std::u16string_view root) {
  std::u16string named(folder);
  if (!fileName.empty()) {
    if (!named.empty() && !fs::isSeparator(named.back())) named += u'/';
    named += fileName;
  }
  RaiseGenError(projectContext().productTitle + u": The output path \"" + named +
                u"\" leads outside the folder \"" + std::u16string(root) +
                u"\". Generation aborted.");
}

// The same folder, however it is spelled: links and "." or ".." resolved as far as it exists.
std::filesystem::path resolved(std::u16string_view folder) {
  std::error_code ec;
  std::filesystem::path path = fs::toNative(fs::normalizeSeparators(folder));
  std::filesystem::path full = std::filesystem::weakly_canonical(path, ec);
  if (ec) full = path.lexically_normal();
  // "/a/b/" and "/a/b" are one folder.
  if (full.has_relative_path() && full.filename().empty()) full = full.parent_path();
  return full;
}

bool isForbiddenDestination(std::u16string_view destination) {
  const std::filesystem::path folder = resolved(destination);
  if (folder == folder.root_path()) return true;
  const std::u16string home = sys::homeFolder();
  return !home.empty() && folder == resolved(home);
}

}  // namespace

Expected<> CheckOutputRoot(AGP& proj) {
  const std::u16string destination(trimBlanks(projectSettingText(proj, kDestinationSetting)));
  if (destination.empty()) return Failure{missingRootMessage(kDestinationSetting)};
  if (isForbiddenDestination(destination)) {
    return Failure{projectContext().productTitle + u": The destination folder \"" + destination +
                   u"\" is the root folder or the home folder; a site must have a folder of its "
                   u"own. Generation aborted."};
  }
  return {};
}

Expected<> CheckFolderRoot(AGP& proj, std::u16string_view folder) {
  const std::u16string_view setting =
      isAppRootFolder(folder) ? kAppRootSetting : kDestinationSetting;
  if (!trimBlanks(projectSettingText(proj, setting)).empty()) return {};
  return Failure{missingRootMessage(setting)};
}

std::u16string GetDestPath(AGP& proj, std::u16string_view folder, std::u16string_view fileName,
                           bool noCreate) {
  const bool underAppRoot = isAppRootFolder(folder);
  const std::u16string_view setting = underAppRoot ? kAppRootSetting : kDestinationSetting;
  const std::u16string rootText = projectSettingText(proj, setting);
  const std::u16string root(trimBlanks(rootText));
  if (root.empty()) RaiseGenError(missingRootMessage(setting));
  const std::u16string_view rest = relativePart(underAppRoot ? folder.substr(2) : folder);

  std::u16string folderPath = fs::normalizeSeparators(root);
  if (!rest.empty()) {
    const std::optional<std::u16string> inside = fs::joinInside(root, rest);
    if (!inside) refuseOutside(folder, fileName, root);
    folderPath = *inside;
    if (!noCreate) MakeOutputFolder(proj, folderPath);
  }
  if (fileName.empty()) {
    if (folderPath.empty() || folderPath.back() != u'/') folderPath += u'/';
    return folderPath;
  }
  const std::optional<std::u16string> path = fs::joinInside(folderPath, fileName);
  if (!path) refuseOutside(folder, fileName, root);
  return *path;
}

std::u16string OutputRootOf(AGP& proj, std::u16string_view path) {
  const std::u16string normalized = fs::normalizeSeparators(path);
  std::u16string root;
  for (const std::u16string_view setting : {kDestinationSetting, kAppRootSetting}) {
    std::u16string candidate =
        fs::normalizeSeparators(trimBlanks(projectSettingText(proj, setting)));
    while (candidate.size() > 1 && candidate.back() == u'/') candidate.pop_back();
    if (candidate.empty() || candidate.size() <= root.size()) continue;
    const bool below =
        normalized == candidate ||
        normalized.starts_with(candidate.back() == u'/' ? candidate : candidate + u'/');
    if (below) root = std::move(candidate);
  }
  if (!root.empty()) return root;
  const std::u16string parent = fs::parentFolder(normalized);
  return parent.empty() ? std::u16string(u".") : parent;
}

void MakeOutputFolder(AGP& proj, std::u16string_view folder) {
  try {
    fs::makeFoldersBelow(OutputRootOf(proj, folder), folder);
  } catch (const fs::FileError&) {
    // Each output written into the folder names the failure.
  }
}

std::u16string CheckPathExists(std::u16string_view folder, std::u16string_view name) {
  const std::optional<std::u16string> path = fs::joinInside(folder, name);
  if (path && (fs::fileExists(*path) || fs::folderExists(*path))) return *path;
  Status().CloseStatus();
  return {};
}

}  // namespace vantorel
