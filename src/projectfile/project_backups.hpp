#pragma once
// Numbered backup copies of the project file: name(1).ext is the newest, at most `maximum`
// copies are kept.
#include <cstdint>
#include <string>

namespace vantorel {

// The name of backup copy n of file in folder: base + "(" + n + ")" + "." + extension.
std::u16string backupCopyPath(const std::u16string& folder, const std::u16string& file,
                              std::int32_t n);

// The folder of one project file's copies below the user's backup folder: named after the
// project's folder, with a digest of its whole path, so that projects of one name in different
// folders do not share one numbering.
std::u16string projectBackupFolder(const std::u16string& backupFolder, const std::u16string& file);

// Rotates the copies in backupFolder and copies file over copy 1. New copies and a new folder
// are for their owner only: they hold what the project file holds. Throws fs::FileError naming
// the copy that could not be made and why (the folder not made, a full disk, a symbolic link in
// the way, which is never followed): a save must not replace a file it could not back up. An
// old copy that cannot be deleted loses nothing and is passed over.
void MakeBackupCopy(const std::u16string& file, const std::u16string& backupFolder,
                    std::int16_t maximum);

// The user's "MaxProjectBackupCount"; 10 when missing, not a number or below 1.
std::int16_t maxProjectBackupCount();

}  // namespace vantorel
