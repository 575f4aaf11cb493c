#pragma once
// What a step of the main loop gives back: how many outputs it counted, and whether it failed,
// with its message. A failed step does not end the walk by itself: the check pass goes on after
// one, the generation pass stops at the end of the step.
#include <cstdint>

#include "platform/automation/expected.hpp"

namespace vantorel {

struct StepOutcome {
  std::int16_t count = 0;
  Expected<> result;
};

}  // namespace vantorel
