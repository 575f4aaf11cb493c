#include "foundation/user_folders.hpp"

#include "foundation/project_context.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/folders.hpp"

namespace vantorel {

void MakeBackupAndReportFolders(const std::u16string& userDataFolder) {
  const std::u16string home = sys::configuredUserHome();
  const std::u16string base = home.empty() ? userDataFolder : home;
  ProjectContext& context = projectContext();
  if (base.empty()) {
    context.backupFolder.clear();
    context.reportFolder.clear();
    return;
  }
  context.backupFolder = fs::joinPath(base, u"Backup");
  static_cast<void>(fs::createPrivateFolder(context.backupFolder));
  context.reportFolder = fs::joinPath(base, u"Report");
  static_cast<void>(fs::createFolders(context.reportFolder));
}

}  // namespace vantorel
