#pragma once
// Gives the project object its BuildExParseFunction member; called once at start-up.
#include <string>

#include "templates/script_host.hpp"

namespace vantorel {

class AGP;

void installTemplateOperations() noexcept;

// What AGP.BuildExParseFunction does, for engine callers: a template text that does not parse,
// or a script that fails, is returned as the failure rather than left in LastErrorText.
ScriptResult<std::u16string> runExParseFunction(AGP& proj, const std::u16string& text);

}  // namespace vantorel
