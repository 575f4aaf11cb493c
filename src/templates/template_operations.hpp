#pragma once
// AGP.BuildExParseFunction: one piece of template text run as a template of its own.
#include <string>

#include "templates/script_host.hpp"

namespace vantorel {

class AGP;

// Its output, or the text itself when it does not parse; the reason of a failure is left in
// LastErrorText. A generation that runs sets the engine it uses (AGP::exParseEngine).
std::u16string buildExParseFunction(AGP& proj, const std::u16string& text);

// The same for engine callers: a template text that does not parse, or a script that fails, is
// returned as the run's failure rather than left in LastErrorText. An engine made for the call
// that fails to load its code is the set-up's failure; the run goes on after it.
struct ExParseResult {
  ScriptResult<std::u16string> run;
  ScriptOutcome setUp;
};
ExParseResult runExParseFunction(AGP& proj, const std::u16string& text);

}  // namespace vantorel
