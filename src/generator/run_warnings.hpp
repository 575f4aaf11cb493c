#pragma once
// Warnings of a run: things the template set asks for that the run passes over (an unknown
// control type, a condition it cannot read). The run goes on as before; the user is told once.
#include <string>

namespace vantorel {

class GenerationRun;

// Shows text as a warning unless this run has shown it already.
void WarnOnce(GenerationRun& run, std::u16string text);

}  // namespace vantorel
