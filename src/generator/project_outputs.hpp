#pragma once
// The outputs every site gets from the project itself rather than from the template set: the
// generated style sheet, the user's own style sheet, the header logo, the favicon and one
// language file per language. Each is an item of the project's ControlList with an id that
// begins with "@": the check pass lists them, the generation pass makes those switched on (or
// not listed). These copies overwrite without asking.
#include <cstdint>
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

class GenerationRun;

class AGP;

// The check pass lists the items; the generation pass makes the files. 1 when the favicon or a
// language file step gave True (in the check pass: its target exists), else 0. Once the style
// sheet is being made, a later file that cannot be read, copied or written is skipped; before
// that, such a failure ends the run with its message. A target outside the site always ends it.
// A style sheet whose template text fails is still written, and the failure becomes the run's.
std::int16_t GenerateProjectFiles(GenerationRun& run, bool checkOnly);

// Copies source into folder below the site under its own name. Empty for an empty or missing
// source; the check pass lists the item and returns whether the target exists; the generation
// pass returns whether the item is on and, when it is, copies and advances the page progress.
Variant CopyProjectFile(AGP& proj, const std::u16string& id, const std::u16string& status,
                        const std::u16string& remark, const std::u16string& source,
                        const std::u16string& folder, bool checkOnly);

}  // namespace vantorel
