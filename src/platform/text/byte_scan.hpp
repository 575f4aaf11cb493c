#pragma once
// The first of a few given bytes in a text, sixteen bytes at a time where the processor has
// SSE2 (every x86-64), eight at a time elsewhere: for scanners that pass over long runs of
// ordinary bytes between the few that matter to them.
#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/text/byte_words.hpp"

namespace vantorel::scan {

// Eight bytes at a time, for processors without SSE2; kept apart so that it is tested everywhere.
template <char... Wanted>
std::size_t findFirstOfByWords(const char* text, std::size_t from, std::size_t end) noexcept {
  for (; from + 8 <= end; from += 8) {
    const std::uint64_t w = words::load(text + from);
    const std::uint64_t marks = (words::bytesEqual(w, static_cast<unsigned char>(Wanted)) | ...);
    if (marks != 0) return from + words::firstMarked(marks);
  }
  for (; from < end; ++from) {
    const char c = text[from];
    if (((c == Wanted) || ...)) return from;
  }
  return end;
}

#if defined(__SSE2__)
namespace detail {
// The sixteen bytes at p as sixteen bits, the first byte's the lowest, each set where the byte
// is one of Wanted.
template <char... Wanted>
unsigned matchesOf16(const char* p) noexcept {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i hits = _mm_setzero_si128();
  ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(Wanted)))), ...);
  return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
}  // namespace detail
#endif

// The place of the first byte in [from, end) that is one of Wanted, or end.
template <char... Wanted>
std::size_t findFirstOf(const char* text, std::size_t from, std::size_t end) noexcept {
  static_assert(sizeof...(Wanted) > 0);
#if defined(__SSE2__)
  for (; from + 16 <= end; from += 16) {
    const unsigned mask = detail::matchesOf16<Wanted...>(text + from);
    if (mask != 0) return from + static_cast<std::size_t>(std::countr_zero(mask));
  }
#endif
  return findFirstOfByWords<Wanted...>(text, from, end);
}

// The end of the run of printable ASCII bytes (0x20 to 0x7F) that starts at `from`, at most end.
inline std::size_t printableAsciiEnd(const char* text, std::size_t from, std::size_t end) noexcept {
#if defined(__SSE2__)
  for (; from + 16 <= end; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
    // Compared as signed, bytes from 0x80 up are below 0x20 as well.
    const auto others =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(block, _mm_set1_epi8(0x20))));
    if (others != 0) return from + static_cast<std::size_t>(std::countr_zero(others));
  }
#endif
  while (from + 8 <= end && words::allPrintableAscii(words::load(text + from))) from += 8;
  while (from < end && static_cast<unsigned char>(text[from]) >= 0x20 &&
         static_cast<unsigned char>(text[from]) < 0x80) {
    ++from;
  }
  return from;
}

// The place findFirstOf finds; and flips `odd` for each byte equal to Counted before that place,
// so that it tells whether an odd number of them were passed.
template <char Counted, char... Wanted>
std::size_t findFirstOfCountingOdd(const char* text, std::size_t from, std::size_t end,
                                   bool& odd) noexcept {
  static_assert(sizeof...(Wanted) > 0);
#if defined(__SSE2__)
  for (; from + 16 <= end; from += 16) {
    const unsigned mask = detail::matchesOf16<Wanted...>(text + from);
    unsigned countedMask = detail::matchesOf16<Counted>(text + from);
    if (mask != 0) {
      const int place = std::countr_zero(mask);
      countedMask &= (1U << place) - 1;
      odd ^= __builtin_parity(countedMask) != 0;
      return from + static_cast<std::size_t>(place);
    }
    odd ^= __builtin_parity(countedMask) != 0;
  }
#endif
  for (; from < end; ++from) {
    const char c = text[from];
    if (((c == Wanted) || ...)) return from;
    if (c == Counted) odd = !odd;
  }
  return end;
}

}  // namespace vantorel::scan
