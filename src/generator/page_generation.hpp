#pragma once
// One compiled control becomes one output file: its function runs in the script engine for a
// table, a field or the project, the text it returns is compacted (or only trimmed), and the
// file is written below its folder. A page whose script failed is not written: the previous
// file, if any, stays, and the failure goes back to the caller.
#include <cstdint>
#include <string>
#include <string_view>

#include "generator/output_formatting.hpp"
#include "platform/automation/expected.hpp"

namespace vantorel {

class GenerationRun;

class AGP;
class AGPControl;
class AGPField;
class AGPTable;

// One page: whether it was written, and how its script went.
struct PageOutcome {
  bool written = false;
  Expected<> result;
};

// Whether text holds one of the passwords the project keeps (its database's, its static
// login's, its mail server's): such a page is made readable by its owner only.
bool holdsProjectSecret(AGP& proj, std::u16string_view text);

// Each tells whether the page was written: not when the overwrite decision skipped it or its
// script failed (then with the script's message). A missing compiled file, or no script engine
// to run it, ends the run through RaiseGenError.
// The table page makes the table current in the database and always advances the page
// progress, also when the page is skipped.
PageOutcome GenTablePage(GenerationRun& run, AGPTable& table, const std::u16string& compiledPath,
                         const std::u16string& outputPath, const AGPControl& control);
// The field page makes CurrentTable and the field current; it never advances the progress.
PageOutcome GenFieldPage(GenerationRun& run, AGPField& field, const std::u16string& compiledPath,
                         const std::u16string& outputPath, const AGPControl& control);
// A project-level page; advances the progress only when written.
PageOutcome GenOtherPage(GenerationRun& run, const std::u16string& compiledPath,
                         const std::u16string& outputPath, const AGPControl& control);

// Runs the project-level controls whose CtrlType is one of typeList ("other,simple"; entries
// trimmed, any case) and whose condition holds, unless the project's ControlList switches them
// off. The check pass writes nothing and returns how many of their files exist; the generation
// pass returns 0 and stops at the first page error, which becomes the run's failure with
// ProductTitle ": Generate <id> page error" CR LF in front of the message.
std::int16_t GenerateOtherFiles(GenerationRun& run, bool checkOnly, std::u16string_view typeList);

// One more page done: ProgressCount advances and the display shows it against ProgressTotal.
void StepProgress();

}  // namespace vantorel
