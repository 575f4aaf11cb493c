#pragma once
// Reading the script files a template set brings: system-code sources with their prefix and
// suffix files, validation code, user code and the scripts of "function" controls.
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// The file's whole text: in the encoding its byte-order mark names (UTF-8 files saved by editors
// carry one), else in the system code page. Nothing when the file is missing; nothing is shown.
std::optional<std::u16string> loadScriptFile(std::u16string_view path);

// For the script host: loadScriptFile, a missing file reported in a message box and read as the
// empty text; no error text is set.
std::u16string readScriptFile(std::u16string_view path);

}  // namespace vantorel
