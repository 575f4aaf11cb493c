#pragma once
// Eight bytes of a text tested at once, for scans that pass over long runs of ordinary bytes.
#include <cstdint>
#include <cstring>

namespace vantorel::words {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The eight bytes at p, in memory order.
inline std::uint64_t load(const char* p) noexcept {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Whether one of the bytes is below n (n at most 0x80).
constexpr bool hasByteBelow(std::uint64_t w, unsigned char n) noexcept {
  return ((w - kOnes * n) & ~w & kHighBits) != 0;
}

// Whether every byte is printable ASCII (0x20 to 0x7F).
constexpr bool allPrintableAscii(std::uint64_t w) noexcept {
  return (w & kHighBits) == 0 && !hasByteBelow(w, 0x20);
}

}  // namespace vantorel::words
