#pragma once
// The table loaders go on past a failing step: a catalogue call or a query that fails leaves
// what it would have set as it was, and loading continues with the next step.
#include <utility>

#include "platform/automation/automation_error.hpp"

namespace vantorel {

// Runs the step; true when it finished, false when it raised and was skipped.
template <typename Step>
bool attemptStep(Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const AutomationError&) {
    return false;
  }
}

}  // namespace vantorel
