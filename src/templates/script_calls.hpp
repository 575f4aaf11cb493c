#pragma once
// How the script host calls its engines: every failure of a call, whatever raised it, becomes
// the script error text in LastErrorText, and the caller goes on.
#include <exception>
#include <string_view>

#include "platform/automation/automation_error.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/control/script_control.hpp"

namespace vantorel::templates {

// The engine's Error when it holds one, else the fallback, as the script error text.
void setScriptError(vbs::ScriptControl& engine, vbs::ScriptError fallback,
                    std::u16string_view file);

// Runs f, a call into `engine`; false after a failure, which is then in LastErrorText.
template <class F>
bool attemptScript(vbs::ScriptControl& engine, std::u16string_view file, F&& f) {
  try {
    f();
    return true;
  } catch (const AutomationError& e) {
    // A conversion of a script's result raises without a source; it follows the script's rules.
    setScriptError(
        engine,
        vbs::ScriptError{e.number(),
                         e.source().empty() ? std::u16string(vbs::kRuntimeErrorSource) : e.source(),
                         e.description()},
        file);
  } catch (const std::exception& e) {
    setScriptError(engine,
                   vbs::ScriptError{vberr::kOutOfMemory, u"Script host", fromUtf8(e.what())}, file);
  }
  return false;
}

}  // namespace vantorel::templates
