#include "platform/text/case_fold.hpp"

#include <locale.h>
#include <wctype.h>

#include <cstdint>
#include <cstring>

namespace vantorel {

namespace {

// One mapping for the whole BMP, taken from the C.UTF-8 locale rather than the user's, so a
// Turkish or Lithuanian LANG cannot change which member names match.
struct CaseTables {
  char16_t lower[0x10000];
  char16_t upper[0x10000];

  CaseTables() {
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
      lower[c] = upper[c] = static_cast<char16_t>(c);
    }
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
      lower[c] = static_cast<char16_t>(c + 32);
      upper[c + 32] = c;
    }
    locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (!loc) loc = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
    if (!loc) return;  // without the locale only ASCII folds, which is still consistent
    for (std::uint32_t c = 0x80; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      lower[c] = keepInBmp(c, towlower_l(static_cast<wint_t>(c), loc));
      upper[c] = keepInBmp(c, towupper_l(static_cast<wint_t>(c), loc));
    }
    freelocale(loc);
  }

  // A mapping that would leave the BMP (or land on a surrogate) cannot be one code unit.
  static char16_t keepInBmp(std::uint32_t c, wint_t mapped) {
    if (mapped >= 0x10000 || (mapped >= 0xD800 && mapped <= 0xDFFF)) {
      return static_cast<char16_t>(c);
    }
    return static_cast<char16_t>(mapped);
  }
};

const CaseTables& tables() {
  static const CaseTables instance;
  return instance;
}

inline char16_t foldUnit(char16_t c) {
  return c < 0x80 ? asciiLower(c) : tables().lower[c];
}

}  // namespace

char16_t toLowerChar(char16_t c) noexcept {
  return foldUnit(c);
}

char16_t toUpperChar(char16_t c) noexcept {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  return tables().upper[c];
}

std::u16string toLower(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = toLowerChar(c);
  return out;
}

std::u16string toUpper(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = toUpperChar(c);
  return out;
}

int compareNoCase(std::u16string_view a, std::u16string_view b) noexcept {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = a[i];
    const char16_t y = b[i];
    if (x == y) continue;
    const char16_t fx = foldUnit(x);
    const char16_t fy = foldUnit(y);
    if (fx != fy) return fx < fy ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool equalsNoCase(std::u16string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char16_t x = a[i];
    const char16_t y = b[i];
    if (x != y && foldUnit(x) != foldUnit(y)) return false;
  }
  return true;
}

int compareOrdinal(std::u16string_view a, std::u16string_view b) noexcept {
  const int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

namespace {

constexpr std::uint64_t kLanes = 0x0001000100010001ull;

// Four folded units in one word. Four ASCII units fold at once: a lane gets 0x20 added when
// it lies in 'A'..'Z' (lanes stay below 0x100, so no carry crosses into the next).
std::uint64_t foldedWord(const char16_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  if ((w & (0xFF80 * kLanes)) == 0) {
    const std::uint64_t atLeastA = w + (0x80 - 'A') * kLanes;
    const std::uint64_t aboveZ = w + (0x80 - 'Z' - 1) * kLanes;
    return w | (((atLeastA & ~aboveZ) & (0x80 * kLanes)) >> 2);
  }
  return std::uint64_t{foldUnit(p[0])} | std::uint64_t{foldUnit(p[1])} << 16 |
         std::uint64_t{foldUnit(p[2])} << 32 | std::uint64_t{foldUnit(p[3])} << 48;
}

inline std::uint64_t mix(std::uint64_t h, std::uint64_t w) {
  h = (h ^ w) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 32);
}

}  // namespace

// Hashes the folded units: equal under equalsNoCase means equal folded sequences, so equal
// keys always hash alike.
std::size_t NoCaseHash::operator()(std::u16string_view s) const noexcept {
  std::uint64_t h = 0xCBF29CE484222325ull ^ s.size();
  const char16_t* p = s.data();
  std::size_t left = s.size();
  for (; left >= 4; p += 4, left -= 4) h = mix(h, foldedWord(p));
  if (left > 0) {
    std::uint64_t w = 0;
    for (std::size_t i = 0; i < left; ++i) w |= std::uint64_t{foldUnit(p[i])} << (16 * i);
    h = mix(h, w);
  }
  h *= 0xFF51AFD7ED558CCDull;
  return static_cast<std::size_t>(h ^ (h >> 29));
}

}  // namespace vantorel
