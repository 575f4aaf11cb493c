#include "generator/run_end.hpp"

#include <utility>

#include "foundation/status.hpp"

namespace vantorel {

namespace {

constexpr std::int32_t kGenerationEnded = -1;

}  // namespace

GenerationStopped::GenerationStopped(std::u16string message, bool cancelled)
    : AutomationError(kGenerationEnded, std::move(message)), cancelled_(cancelled) {}

void RaiseCancelled() {
  Status().CloseStatus();
  throw GenerationStopped(u"Generation cancelled by user!", true);
}

void RaiseGenError(std::u16string message) {
  Status().CloseStatus();
  throw GenerationStopped(std::move(message), false);
}

}  // namespace vantorel
