#include "generator/run_end.hpp"

#include "foundation/status.hpp"
#include "project/project_state.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kGenerationEnded = -1;

}  // namespace

GenerationStopped::GenerationStopped(std::u16string message, bool cancelled)
    : AutomationError(kGenerationEnded, std::move(message)), cancelled_(cancelled) {}

void RaiseCancelled() {
  Status().CloseStatus();
  LastErrorText() = u"Generation cancelled by user!";
  throw GenerationStopped(LastErrorText(), true);
}

void RaiseGenError() {
  Status().CloseStatus();
  throw GenerationStopped(LastErrorText(), false);
}

}  // namespace vantorel
