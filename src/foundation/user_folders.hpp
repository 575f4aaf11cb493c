#pragma once
// The user's backup and report folders: below $VANTOREL_HOME when it is set, so that one setting
// keeps every file of the user's together (and apart from another user's on a shared account),
// else below the user data folder in the documents folder.
#include <string>

namespace vantorel {

// Sets BackupFolder and ReportFolder from the user data folder and makes them. The backup
// folder holds copies of project files, passwords included: a folder made here is for its
// owner only.
void MakeBackupAndReportFolders(const std::u16string& userDataFolder);

}  // namespace vantorel
