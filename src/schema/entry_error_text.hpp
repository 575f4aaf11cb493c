#pragma once
// The one place a schema or synchronisation member's outcome reaches the project's LastErrorText:
// the member a script calls runs its steps through it, once per call.
#include <utility>

#include "foundation/project_context.hpp"

namespace vantorel {

// Runs the steps with LastErrorText empty, then puts into it the text of the failure they
// returned, if any. What they return (an Expected) is handed back; what they raise passes
// through, the text left empty.
template <class Steps>
auto withEntryErrorText(Steps&& steps) {
  ProjectContext& context = projectContext();
  context.lastErrorText.clear();
  auto outcome = std::forward<Steps>(steps)();
  if (!outcome) context.lastErrorText = outcome.failure().text;
  return outcome;
}

}  // namespace vantorel
