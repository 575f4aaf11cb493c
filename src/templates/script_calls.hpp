#pragma once
// How the script host calls its engines: every failure of a call, whatever raised it, becomes
// the failure the call returns, with the script error text, and the caller decides whether to
// go on.
#include <exception>
#include <string>
#include <string_view>

#include "platform/automation/automation_error.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "templates/script_host.hpp"

namespace vantorel::templates {

// The engine's Error when it holds one, else the fallback, as the script error text.
std::u16string scriptErrorOf(vbs::ScriptControl& engine, vbs::ScriptError fallback,
                             std::u16string_view file);

// Runs f, a call into `engine`; the script error text after a failure.
template <class F>
ScriptOutcome attemptScript(vbs::ScriptControl& engine, std::u16string_view file, F&& f) {
  try {
    f();
    return {};
  } catch (const AutomationError& e) {
    // A conversion of a script's result raises without a source; it follows the script's rules.
    return Failure{scriptErrorOf(
        engine,
        vbs::ScriptError{e.number(),
                         e.source().empty() ? std::u16string(vbs::kRuntimeErrorSource) : e.source(),
                         e.description()},
        file)};
  } catch (const std::exception& e) {
    return Failure{scriptErrorOf(
        engine, vbs::ScriptError{vberr::kOutOfMemory, u"Script host", fromUtf8(e.what())}, file)};
  }
}

// Scripts report failures of their own by setting PROJ.ProjErr (the validation code does so).
// Made before a call into the scripts, this takes such a report as the call's failure and puts
// back the text ProjErr held before, so that the report travels as the call's result.
class ScriptReport {
 public:
  ScriptReport();
  ScriptReport(const ScriptReport&) = delete;
  ScriptReport& operator=(const ScriptReport&) = delete;

  // True when the scripts have put a new text into ProjErr since.
  bool pending() const;
  // The call's outcome: its own failure when there is one, else the scripts' report as the
  // failure. Either way a report is taken out of ProjErr.
  ScriptOutcome finish(ScriptOutcome outcome);

 private:
  std::u16string before_;
};

}  // namespace vantorel::templates
