#pragma once
// The overwrite prompt: "File ... already exists!" (or "Folder ...") with Overwrite, Skip and
// Cancel, and "All" to keep the answer for the rest of the run. Asked through the user-interface
// service: Yes is Overwrite, YesToAll Overwrite with All, No Skip, NoToAll Skip with All,
// Cancel Cancel. With no one to ask, the default, Skip, is taken.
#include <string>
#include <string_view>

namespace vantorel {

class GenerationRun;

// The widest path the prompt shows in full.
constexpr std::size_t kPromptPathWidth = 55;

// Shows the run's overwritePromptFile (or, when it is empty, overwritePromptFolder) and stores
// the user's choice in its overwriteAnswer and overwriteAllAnswer.
void ShowOverwritePrompt(GenerationRun& run);

// The prompt's text for the pending target.
std::u16string overwritePromptText(const GenerationRun& run);

// A path longer than kPromptPathWidth with its leading folders after the first element replaced
// by "...", keeping as much of the tail as fits; shorter paths stay as they are.
std::u16string ShortenPath(std::u16string_view path);

}  // namespace vantorel
