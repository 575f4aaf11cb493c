#pragma once
// The text of a script file as the script host reads it: UTF-8 or UTF-16 when a byte-order
// mark says so, else UTF-8 when the bytes are well-formed UTF-8, else the ANSI code page.
#include <string>
#include <string_view>

namespace vantorel::vbs {

std::u16string decodeScriptText(std::string_view bytes);

}  // namespace vantorel::vbs
