#pragma once
// The one place an entry's outcome reaches the project's LastErrorText: the member a script
// calls reports it once per call, at its end.
#include <utility>

#include "foundation/project_context.hpp"
#include "platform/automation/expected.hpp"

namespace vantorel {

// Sets LastErrorText to the failure's text, or empties it after success. The steps before it
// return their refusal instead of leaving a text.
template <class T>
void reportEntry(const Expected<T>& outcome) {
  projectContext().lastErrorText = outcome ? std::u16string() : outcome.failure().text;
}

// Runs the steps with LastErrorText empty, then reports a failure they returned; after success
// the text is what the steps left. What they return (an Expected) is handed back; what they
// raise passes through, the text left empty.
template <class Steps>
auto withEntryErrorText(Steps&& steps) {
  projectContext().lastErrorText.clear();
  auto outcome = std::forward<Steps>(steps)();
  if (!outcome) reportEntry(outcome);
  return outcome;
}

}  // namespace vantorel
