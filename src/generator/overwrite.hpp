#pragma once
// Whether generation may write over an existing file or folder. The decision follows the
// control's overwrite flag and the run's apply-to-all answer, asks the user only when the
// caller wants that, and copies the old target to a ".bak" sibling when the user's backup
// option is on. The check pass uses the same calls only to test whether a target exists.
#include <string>

namespace vantorel {

class GenerationRun;

// True when the file may be written (a missing file always may), or, with existsOnly, when the
// file exists. A "Cancel" answer raises through RaiseCancelled. A backup that cannot be made is
// shown in a message box and keeps the file from being written.
bool BackupFile(GenerationRun& run, const std::u16string& file, bool overwrite, bool ask,
                bool existsOnly, bool backupOn);
// The same for a folder; its backup replaces an older folder ".bak".
bool BackupFolder(GenerationRun& run, const std::u16string& folder, bool overwrite, bool ask,
                  bool existsOnly, bool backupOn);

}  // namespace vantorel
