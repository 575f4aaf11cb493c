#pragma once
// Eight bytes of a text tested at once, for scans that pass over long runs of ordinary bytes.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vantorel::words {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The eight bytes at p, the first in the lowest bits.
inline std::uint64_t load(const char* p) noexcept {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
  return w;
}

// The bytes equal to c, each marked by its high bit. Only the first mark is sure: a borrow may
// mark bytes after it too, so combine such masks with | and read them with firstMarked alone.
constexpr std::uint64_t bytesEqual(std::uint64_t w, unsigned char c) noexcept {
  const std::uint64_t x = w ^ (kOnes * c);
  return (x - kOnes) & ~x & kHighBits;
}

// The place (0 to 7) of the first marked byte; marks must not be 0.
constexpr unsigned firstMarked(std::uint64_t marks) noexcept {
  return static_cast<unsigned>(std::countr_zero(marks)) / 8;
}

// Whether one of the bytes is below n (n at most 0x80).
constexpr bool hasByteBelow(std::uint64_t w, unsigned char n) noexcept {
  return ((w - kOnes * n) & ~w & kHighBits) != 0;
}

// Whether every byte is printable ASCII (0x20 to 0x7F).
constexpr bool allPrintableAscii(std::uint64_t w) noexcept {
  return (w & kHighBits) == 0 && !hasByteBelow(w, 0x20);
}

// Whether two texts are the same bytes; texts of 8 to 16 bytes, as names mostly are, are
// compared in two loads each instead of a call.
inline bool sameBytes(std::string_view a, std::string_view b) noexcept {
  const std::size_t n = a.size();
  if (n != b.size()) return false;
  if (n >= 8 && n <= 16) {
    return load(a.data()) == load(b.data()) && load(a.data() + n - 8) == load(b.data() + n - 8);
  }
  return a == b;
}

}  // namespace vantorel::words
