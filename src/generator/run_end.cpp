#include "generator/run_end.hpp"

#include "foundation/project_context.hpp"
#include "foundation/status.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kGenerationEnded = -1;

}  // namespace

GenerationStopped::GenerationStopped(std::u16string message, bool cancelled)
    : AutomationError(kGenerationEnded, std::move(message)), cancelled_(cancelled) {}

void RaiseCancelled() {
  Status().CloseStatus();
  projectContext().lastErrorText = u"Generation cancelled by user!";
  throw GenerationStopped(projectContext().lastErrorText, true);
}

void RaiseGenError() {
  Status().CloseStatus();
  throw GenerationStopped(projectContext().lastErrorText, false);
}

}  // namespace vantorel
