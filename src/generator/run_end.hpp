#pragma once
// The two ways a generation or a check ends early. Both close the progress display and raise
// error -1 with the message, which reaches the caller of GenScript or GenCheck; the entry point
// puts the message into ProjErr.
#include <string>

#include "platform/automation/automation_error.hpp"

namespace vantorel {

// What both raise: error -1 with the message, and whether the user cancelled, so that the
// entry point can tell the two apart.
class GenerationStopped : public AutomationError {
 public:
  GenerationStopped(std::u16string message, bool cancelled);
  bool cancelled() const noexcept { return cancelled_; }

 private:
  bool cancelled_;
};

// The user cancelled: the message is "Generation cancelled by user!".
[[noreturn]] void RaiseCancelled();
// A fatal error with its message.
[[noreturn]] void RaiseGenError(std::u16string message);

}  // namespace vantorel
