#include "generator/run_end.hpp"

#include "foundation/status.hpp"
#include "generator/generation_state.hpp"
#include "platform/automation/automation_error.hpp"
#include "project/project_state.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kGenerationEnded = -1;

}  // namespace

void RaiseCancelled() {
  Status().CloseStatus();
  LastErrorText() = u"Generation cancelled by user!";
  GenerationCancelled() = true;
  throw AutomationError(kGenerationEnded, LastErrorText());
}

void RaiseGenError() {
  Status().CloseStatus();
  GenerationFailed() = true;
  throw AutomationError(kGenerationEnded, LastErrorText());
}

}  // namespace vantorel
