#pragma once
// The table loaders go on past a failing step: a catalogue call or a query that fails leaves
// what it would have set as it was, and loading continues with the next step. A lost connection
// is no such step: every later answer would be missing too, so it ends the whole load.
#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/data/data_error.hpp"

namespace vantorel {

// Runs the step; true when it finished, false when it raised and was skipped. A lost connection
// is raised on.
template <typename Step>
bool attemptStep(Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const AutomationError& e) {
    if (data::isConnectionLost(e)) throw;
    return false;
  }
}

}  // namespace vantorel
