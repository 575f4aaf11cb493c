#pragma once
// Reading the script files a template set brings: system-code sources with their prefix and
// suffix files, validation code, user code and the scripts of "function" controls.
#include <functional>
#include <string>
#include <string_view>

#include "platform/automation/expected.hpp"

namespace vantorel {

// The file's whole text: in the encoding its byte-order mark names (UTF-8 files saved by editors
// carry one), else in the system code page. A missing file fails with the text that tells the
// user of it; nothing is shown.
Expected<std::u16string> loadScriptFile(std::u16string_view path);

// What the script host does with a script file that is not there; the entry point that drives
// the host decides (showScriptFileFailure shows the box).
using ScriptFileNotice = std::function<void(const Failure&)>;

// For the script host: loadScriptFile, a missing file handed to tell, as it is read, and read as
// the empty text; no error text is set.
std::u16string readScriptFile(std::u16string_view path, const ScriptFileNotice& tell);

// The box that tells of a missing script file, for the entry points that drive the host.
void showScriptFileFailure(const Failure& failure);

}  // namespace vantorel
