#pragma once
// The values one generation run shares between its steps, one set per thread: the user's
// answers to the overwrite prompt, how the run ended early, and where the run stands (the
// control, table, field and output being made).
#include <cstdint>
#include <string>

#include "platform/automation/ref.hpp"

namespace vantorel {

class AGPControl;
class AGPField;
class AGPTable;

// The answer for the target being decided; False until a decision or the prompt sets it.
bool& OverwriteAnswer();
// The apply-to-all answer: "" (none), "O" overwrite all, "S" skip all, "C" cancel.
std::u16string& OverwriteAllAnswer();
// What the prompt asks about: one of the two is set, the other empty.
std::u16string& OverwritePromptFile();
std::u16string& OverwritePromptFolder();

// Set when a run ended through the user's cancel or through a fatal error, so a caller that
// catches the raise can tell the two apart.
bool& GenerationCancelled();
bool& GenerationFailed();

// Position of the run, set by the main loop and read by conditions, names and pages.
Ref<AGPTable>& CurrentTable();
Ref<AGPField>& CurrentField();
// TblVar of the current table: the table part of the names of its field outputs.
std::u16string& CurrentTableVar();
Ref<AGPControl>& CurrentControl();
std::u16string& CurrentOutputName();

// Sessions compiled so far in this generation and the total of the compile progress bar; the
// driver sets both before the compile phase, the template compiler advances the count.
std::int32_t& CompileProgressCount();
std::int32_t& CompileProgressTotal();

// The caption of the running generation phase.
std::u16string& StatusText();

// The start of a main-loop run: the apply-to-all answer and the end flags last one run only.
void beginGenerationRun();

}  // namespace vantorel
