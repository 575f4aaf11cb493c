#pragma once
// Invariant case mapping and comparison: the same for every user, whatever the locale.
#include <cstddef>
#include <string>
#include <string_view>

namespace vantorel {

// A to Z lowered and every other unit as it is, for names that are known to be ASCII; a byte
// or a UTF-16 unit.
template <class Char>
constexpr Char asciiLower(Char c) noexcept {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c + 32) : c;
}

char16_t toLowerChar(char16_t c) noexcept;
char16_t toUpperChar(char16_t c) noexcept;

std::u16string toLower(std::u16string_view s);
std::u16string toUpper(std::u16string_view s);

// <0, 0, >0 like strcmp, comparing the lower-cased code units.
int compareNoCase(std::u16string_view a, std::u16string_view b) noexcept;
bool equalsNoCase(std::u16string_view a, std::u16string_view b) noexcept;

// Ordinal comparison of UTF-16 code units.
int compareOrdinal(std::u16string_view a, std::u16string_view b) noexcept;

struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view s) const noexcept;
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
    return equalsNoCase(a, b);
  }
};

}  // namespace vantorel
