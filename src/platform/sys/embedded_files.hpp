#pragma once
// Files of data/syscode/ compiled into the program, looked up by file name.
#include <optional>
#include <string_view>

namespace vantorel::sys {

// The file's bytes as stored; nothing for a name that was not embedded.
std::optional<std::string_view> embeddedFile(std::string_view name);

}  // namespace vantorel::sys
