#pragma once
// Paths below a root folder that a writer must never leave through a symbolic link: a site's
// outputs, their backups and the project file with its numbered copies. Below the root each
// folder on the way must be a real folder and the file itself must not be a link; a link there
// is refused with a message naming it, never followed. The root itself may be a link the user
// chose.
#include <string_view>

namespace vantorel::fs {

// Throws FileError ("cannot <action> PATH: ...") naming the first element of path below root
// that is a symbolic link; also when path does not lie below root. The walk ends at the first
// element that does not exist.
void refuseLinksBelow(std::u16string_view root, std::u16string_view path,
                      std::string_view action = "write");

// Makes folder and its missing parents below root one at a time, never through a link, and the
// root with its parents when it is missing. Throws FileError naming the folder that could not be
// made and why, or the link in the way.
void makeFoldersBelow(std::u16string_view root, std::u16string_view folder);
// The same for the folder a file is written into, the root excepted, which its maker made;
// failures name the file ("cannot write PATH: ..."). Whether the file itself is a link is its
// writer's question.
void makeFoldersFor(std::u16string_view root, std::u16string_view path);

}  // namespace vantorel::fs
