#pragma once
// Small string helpers over UTF-16 text, with the semantics scripts expect
// (trimming removes blanks only, as VBScript's Trim does).
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

std::u16string_view trimBlanks(std::u16string_view s) noexcept;
std::u16string_view trimBlanksLeft(std::u16string_view s) noexcept;
std::u16string_view trimBlanksRight(std::u16string_view s) noexcept;
// White space around number and Boolean text: space, tab, CR, LF, vertical tab, form feed.
bool isBlank(char16_t c) noexcept;

// An empty `from` leaves the text as it is.
std::u16string replaceAll(std::u16string_view s, std::u16string_view from, std::u16string_view to);
// As VBScript's Split: empty text gives no parts, an empty separator gives the text as one part.
std::vector<std::u16string> split(std::u16string_view s, std::u16string_view separator);
std::u16string join(const std::vector<std::u16string>& parts, std::u16string_view separator);

bool startsWith(std::u16string_view s, std::u16string_view prefix) noexcept;
bool endsWith(std::u16string_view s, std::u16string_view suffix) noexcept;
bool containsNoCase(std::u16string_view haystack, std::u16string_view needle) noexcept;
bool startsWithNoCase(std::u16string_view s, std::u16string_view prefix) noexcept;

// Decimal text of an integer.
std::u16string toU16(long long value);

// The first position at or after `from` that holds `unit`, or npos. Long texts are searched a
// vector at a time (memchr over their bytes), where the standard find looks at each unit.
std::size_t findUnit(std::u16string_view text, char16_t unit, std::size_t from = 0) noexcept;
// The first position at or after `from` where `needle` stands, or npos, as find gives it. The
// needle's first unit is found a vector at a time (findUnit), then the rest is compared.
std::size_t findText(std::u16string_view text, std::u16string_view needle,
                     std::size_t from = 0) noexcept;
// The same with each unit compared by its lower case (toLowerChar). A first unit without case
// ("<", "#") is still found a vector at a time.
std::size_t findTextNoCase(std::u16string_view text, std::u16string_view needle,
                           std::size_t from = 0) noexcept;

}  // namespace vantorel
