#include "platform/vbscript/runtime/random.hpp"

#include <bit>
#include <cmath>
#include <cstdint>

#include "platform/automation/variant_convert.hpp"
#include "platform/sys/clock.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs {
namespace {

constexpr std::uint32_t kModulusMask = 0xFFFFFF;  // 2^24 - 1
constexpr std::uint32_t kMultiplier = 1140671485;
constexpr std::uint32_t kIncrement = 12820163;
float current(std::uint32_t seed) noexcept {
  return static_cast<float>(seed) / static_cast<float>(kModulusMask + 1);
}

void advance(std::uint32_t& seed) noexcept {
  seed = (seed * kMultiplier + kIncrement) & kModulusMask;
}

}  // namespace

float nextRandom(ScriptState& state, const Variant& number) {
  std::uint32_t& seed = state.randomSeed;
  if (number.isMissing()) {
    advance(seed);
    return current(seed);
  }
  const float n = toSingle(number);
  if (n == 0) return current(seed);
  if (n < 0) {
    // The seed is the number's single-precision bit pattern folded into 24 bits.
    const auto bits = std::bit_cast<std::uint32_t>(n);
    seed = (bits + (bits >> 24)) & kModulusMask;
  }
  advance(seed);
  return current(seed);
}

void randomize(ScriptState& state, const Variant& seed) {
  double n;
  if (seed.isMissing()) {
    const double now = sys::nowAsOleDate();
    n = static_cast<float>((now - std::floor(now)) * 86400.0);
  } else {
    n = toDouble(seed);
  }
  // The middle two bytes of the state take the two halves of the high word of the number's
  // double-precision bits, combined; the low byte is kept, so the same number does not always
  // restart the same sequence.
  const auto high = static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(n) >> 32);
  const std::uint32_t mixed = ((high >> 16) ^ high) & 0xFFFF;
  state.randomSeed = (state.randomSeed & 0xFF) | (mixed << 8);
}

}  // namespace vantorel::vbs
