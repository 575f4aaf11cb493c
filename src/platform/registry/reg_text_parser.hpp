#pragma once
// Reads Windows registry export text (version 5.00) kept as UTF-8: sections
// [HKEY_...\Key\Sub], values "Name"="text" (escapes \\ and \"), @= for the default value,
// dword:xxxxxxxx, hex: (binary), hex(N): (type N as raw bytes, N in hex), byte lists continued
// with a trailing backslash, and ';' comment lines.
#include <string>
#include <string_view>

#include "platform/registry/reg_key.hpp"

namespace vantorel::reg {

// rootName is the hive the store holds ("HKEY_CURRENT_USER"); every section must lie below it
// (its short form, "HKCU", is accepted too). fileName only names the file in errors. Text that
// is empty or blank is an empty hive. Throws RegParseError for anything else it cannot read.
RegKey parseRegText(std::string_view text, std::u16string_view rootName, std::string_view fileName);

}  // namespace vantorel::reg
