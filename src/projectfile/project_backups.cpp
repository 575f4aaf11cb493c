#include "projectfile/project_backups.hpp"

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/template_lookup.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/link_free_paths.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/strings.hpp"
#include "projectfile/database_file_path.hpp"

namespace vantorel {

namespace {

// The file's name after its last separator, split at its last ".".
struct NameParts {
  std::u16string base;
  std::u16string extension;
};

NameParts splitName(const std::u16string& file) {
  const std::size_t slash = file.find_last_of(u"\\/");
  const std::u16string name = slash == std::u16string::npos ? file : file.substr(slash + 1);
  const std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos) return {name, {}};
  return {name.substr(0, dot), name.substr(dot + 1)};
}

}  // namespace

std::u16string projectBackupFolder(const std::u16string& backupFolder, const std::u16string& file) {
  if (backupFolder.empty()) return {};
  return fs::joinPath(backupFolder, TemplateWorkName(projectFileFolder(file)));
}

std::u16string backupCopyPath(const std::u16string& folder, const std::u16string& file,
                              std::int32_t n) {
  const NameParts parts = splitName(file);
  std::u16string name = parts.base + u"(" + toU16(n) + u")";
  if (!parts.extension.empty()) name += u"." + parts.extension;
  return fs::joinPath(folder, name);
}

void MakeBackupCopy(const std::u16string& file, const std::u16string& backupFolder,
                    std::int16_t maximum) {
  if (backupFolder.empty()) return;
  const std::u16string projectFolder = fs::parentFolder(file);
  fs::refuseLinksBelow(projectFolder.empty() ? u"." : projectFolder, file, "back up");
  if (!fs::fileExists(file)) return;
  if (!fs::createPrivateFolder(backupFolder)) fs::makeFolders(backupFolder);
  const auto copy = [&](std::int32_t n) { return backupCopyPath(backupFolder, file, n); };
  std::int32_t n = 1;
  while (fs::fileExists(copy(n))) ++n;
  --n;
  for (std::int32_t i = n; i >= 1; --i) {
    if (i >= maximum) {
      fs::deleteFile(copy(i));  // a link is removed itself, never what it leads to
      continue;
    }
    fs::refuseLinksBelow(backupFolder, copy(i), "back up");
    fs::copyFile(copy(i), copy(i + 1), true, backupFolder, fs::kPrivateFileMode);
  }
  fs::copyFile(file, copy(1), true, backupFolder, fs::kPrivateFileMode);
}

std::int16_t maxProjectBackupCount() {
  const Variant value = GetRegValue(u"HKCU", projectContext().generalKey, u"MaxProjectBackupCount");
  std::int16_t count = 0;
  try {
    count = toInteger(value);
  } catch (const AutomationError&) {
    count = 0;
  }
  return count < 1 ? static_cast<std::int16_t>(10) : count;
}

}  // namespace vantorel
