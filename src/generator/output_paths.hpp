#pragma once
// Where generated files go: below the project's "Destination", or below its "AppRootFolder" for
// folders written "~/..." (or "~\..."). A folder or file name from the control file or the
// project can never lead outside that root: a name that climbs out with "..", or one with a
// drive, ends the run with a message, as does a missing root, which would otherwise make every
// path relative to the current folder.
#include <string>
#include <string_view>

#include "platform/automation/expected.hpp"

namespace vantorel {

class AGP;

// The full path of fileName in folder below the root. Unless noCreate, a folder that is named
// (not the root itself) is created with its missing parents. With an empty fileName the result
// is the folder ending with "/". A path that would leave the root, or a missing root, raises
// through RaiseGenError with its message.
std::u16string GetDestPath(AGP& proj, std::u16string_view folder, std::u16string_view fileName,
                           bool noCreate);

// The folder below which no symbolic link may lead an output of the project astray: the
// destination, or the application root for a path below it (the deeper of the two when both
// hold the path), else the path's own folder. The root itself may be a link the user chose.
std::u16string OutputRootOf(AGP& proj, std::u16string_view path);
// Makes an output folder and its missing parents below its root, never through a symbolic
// link. Failures are left to the writes into it, which report them.
void MakeOutputFolder(AGP& proj, std::u16string_view folder);

// Fails, with the message saying so, unless the project names a destination folder that a site
// may fill. The root folder and the user's home folder are refused: a site written
// there mixes with the system's or the user's own files. The driver asks this before a run
// starts, so nothing is half made.
Expected<> CheckOutputRoot(AGP& proj);
// Fails, with the message GetDestPath would raise, unless the root that folder lies below is set.
Expected<> CheckFolderRoot(AGP& proj, std::u16string_view folder);

// folder/name when a file or folder of that path exists. Otherwise, also for a name that would
// lead outside folder, the progress display is closed and "" returned; the caller reports it.
std::u16string CheckPathExists(std::u16string_view folder, std::u16string_view name);

}  // namespace vantorel
