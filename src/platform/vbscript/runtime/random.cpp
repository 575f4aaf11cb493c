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
// The state before any Randomize, so an unseeded script sees the classic sequence 0.7055475,
// 0.533424, ...
constexpr std::uint32_t kInitialSeed = 0x50000;

thread_local std::uint32_t tSeed = kInitialSeed;

float current() noexcept {
  return static_cast<float>(tSeed) / static_cast<float>(kModulusMask + 1);
}

void advance() noexcept {
  tSeed = (tSeed * kMultiplier + kIncrement) & kModulusMask;
}

}  // namespace

float nextRandom(const Variant& number) {
  if (number.isMissing()) {
    advance();
    return current();
  }
  const float n = toSingle(number);
  if (n == 0) return current();
  if (n < 0) {
    // The seed is the number's single-precision bit pattern folded into 24 bits.
    const auto bits = std::bit_cast<std::uint32_t>(n);
    tSeed = (bits + (bits >> 24)) & kModulusMask;
  }
  advance();
  return current();
}

void randomize(const Variant& seed) {
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
  tSeed = (tSeed & 0xFF) | (mixed << 8);
}

}  // namespace vantorel::vbs
