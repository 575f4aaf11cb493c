#pragma once
// What a step of the main loop gives back: how many outputs it counted, and its message when it
// failed. A failed step does not end the walk by itself: the check pass goes on after one, the
// generation pass stops at the end of the step.
#include <cstdint>
#include <optional>
#include <string>

namespace vantorel {

struct StepOutcome {
  std::int16_t count = 0;
  std::optional<std::u16string> failure;
};

}  // namespace vantorel
