#pragma once
// The markers of template text and the searches that find them. Markers are found without regard
// to letter case, anywhere in the text (also inside quotes and comments of the template).
#include <cstddef>
#include <string_view>

#include "platform/text/case_fold.hpp"

namespace vantorel::templates {

inline constexpr std::u16string_view kBlockOpen = u"<!--##";
inline constexpr std::u16string_view kBlockClose = u"##-->";
inline constexpr std::u16string_view kSectionOpen = u"<!--##session";
inline constexpr std::u16string_view kSectionClose = u"<!--##/session##-->";
inline constexpr std::u16string_view kIncludeOpen = u"<!--##include";

inline constexpr std::size_t kNotFound = std::u16string_view::npos;

// The first occurrence of `needle` at or after `from`, letters compared without regard to case;
// kNotFound when there is none. `needle` is lower-case ASCII and starts with a non-letter.
std::size_t findMarker(std::u16string_view text, std::u16string_view needle, std::size_t from);

// The first code unit c at or after `from`; kNotFound when there is none.
std::size_t findChar(std::u16string_view text, char16_t c, std::size_t from);

// Whether c is the lower-case ASCII letter `lower` in either case (or a character that the
// invariant mapping folds onto it).
inline bool sameLetter(char16_t c, char16_t lower) noexcept {
  if (c == lower) return true;
  if (c < 0x80) return (c | 0x20) == lower && lower >= u'a' && lower <= u'z';
  return toLowerChar(c) == lower;
}

}  // namespace vantorel::templates
