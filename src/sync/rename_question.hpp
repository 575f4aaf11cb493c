#pragma once
// The rename-pairing question: the names found only in the database ("new") and those found
// only in the project ("old"); the user says which old object each new one is, so that a table
// or column renamed in the database keeps its settings. Asked through the user-interface
// service, one new name at a time; the first choice, and the default, is "none". Cancelling
// pairs nothing, and so does an unattended run without answers.
#include <string>
#include <vector>

namespace vantorel {

// For each new name, in order, the old name chosen for it, or the new name itself. An old name
// is offered until it has been chosen once. `cancelled`, when given, says whether the user
// cancelled (or Ctrl-C ended the question).
std::vector<std::u16string> ShowMapDialog(const std::u16string& title, const std::u16string& prompt,
                                          const std::u16string& newCaption,
                                          const std::u16string& oldCaption,
                                          const std::vector<std::u16string>& newNames,
                                          const std::vector<std::u16string>& oldNames,
                                          bool* cancelled = nullptr);

}  // namespace vantorel
