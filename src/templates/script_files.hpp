#pragma once
// Reading the script files a template set brings: system-code sources with their prefix and
// suffix files, validation code, user code and the scripts of "function" controls.
#include <string>
#include <string_view>

namespace vantorel {

// The file's whole text: in the encoding its byte-order mark names (UTF-8 files saved by editors
// carry one), else in the system code page. A missing file is reported in a message box and
// gives the empty text; no error text is set.
std::u16string readScriptFile(std::u16string_view path);

}  // namespace vantorel
