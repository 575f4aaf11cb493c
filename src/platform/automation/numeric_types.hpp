#pragma once
// The two exact numeric types of automation: Currency (a 64-bit count of ten-thousandths) and
// Decimal (a 96-bit magnitude with a power-of-ten scale from 0 to 28 and a sign).
#include <compare>
#include <cstdint>

namespace vantorel {

// Wide enough for a Decimal magnitude and its intermediate products.
__extension__ typedef unsigned __int128 UInt128;

struct Currency {
  static constexpr std::int64_t kScale = 10000;
  std::int64_t scaled = 0;  // value * 10000
  friend auto operator<=>(const Currency&, const Currency&) = default;
};

struct Decimal {
  static constexpr int kMaxScale = 28;
  std::uint32_t hi = 0;  // bits 64..95 of the magnitude
  std::uint64_t lo = 0;  // bits 0..63 of the magnitude
  std::uint8_t scale = 0;
  bool negative = false;

  UInt128 magnitude() const noexcept {
    return (static_cast<UInt128>(hi) << 64) | lo;
  }
  static Decimal fromMagnitude(UInt128 m, std::uint8_t scale, bool negative) noexcept {
    return Decimal{static_cast<std::uint32_t>(m >> 64), static_cast<std::uint64_t>(m), scale,
                   negative && m != 0};
  }
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

}  // namespace vantorel
