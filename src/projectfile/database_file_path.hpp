#pragma once
// A SQLite database is a file, and a connection string may name it by a relative path, which
// the driver reads against whatever folder the program runs in. The project file keeps such a
// path relative to its own folder; `vantorel new` stores the path absolute.
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// The connection string with the SQLite file its "Database" names made absolute against folder;
// nothing when it names no SQLite file, or names one by an absolute path or through a data
// source.
std::optional<std::u16string> sqliteFileMadeAbsolute(std::u16string_view connectionString,
                                                     std::u16string_view folder);

// The absolute folder of a project file, as database files named relative to it are read against.
std::u16string projectFileFolder(std::u16string_view projFile);

}  // namespace vantorel
