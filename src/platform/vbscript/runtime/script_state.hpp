#pragma once
// What one script engine keeps for its scripts besides their code: the Rnd generator's state and
// the locale SetLocale chose. Two engines on one thread do not disturb each other's sequences or
// number formats.
#include <cstdint>

#include "platform/automation/number_locale.hpp"

namespace vantorel::vbs {

struct ScriptState {
  // The state before any Randomize, so an unseeded script sees the classic sequence 0.7055475,
  // 0.533424, ...
  static constexpr std::uint32_t kInitialSeed = 0x50000;
  std::uint32_t randomSeed = kInitialSeed;
  // Put in force on the thread while the engine's code runs.
  std::int32_t lcid = kInvariantLcid;
};

}  // namespace vantorel::vbs
