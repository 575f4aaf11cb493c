#include "generator/run_end.hpp"

#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "generator/generation_state.hpp"
#include "platform/automation/automation_error.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kGenerationEnded = -1;

}  // namespace

void RaiseCancelled() {
  Status().CloseStatus();
  projectContext().lastErrorText = u"Generation cancelled by user!";
  GenerationCancelled() = true;
  throw AutomationError(kGenerationEnded, projectContext().lastErrorText);
}

void RaiseGenError() {
  Status().CloseStatus();
  GenerationFailed() = true;
  throw AutomationError(kGenerationEnded, projectContext().lastErrorText);
}

}  // namespace vantorel
