#include "platform/text/strings.hpp"

#include <bit>
#include <cstring>

#include "platform/text/case_fold.hpp"

namespace vantorel {

std::u16string_view trimBlanksLeft(std::u16string_view s) noexcept {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  return s.substr(i);
}

std::u16string_view trimBlanksRight(std::u16string_view s) noexcept {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == u' ') --n;
  return s.substr(0, n);
}

bool isBlank(char16_t c) noexcept {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

std::u16string_view trimBlanks(std::u16string_view s) noexcept {
  return trimBlanksRight(trimBlanksLeft(s));
}

std::u16string replaceAll(std::u16string_view s, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return std::u16string(s);
  std::u16string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = s.find(from, pos);
    if (hit == std::u16string_view::npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(s.substr(pos));
  return out;
}

std::vector<std::u16string> split(std::u16string_view s, std::u16string_view separator) {
  std::vector<std::u16string> parts;
  if (s.empty()) return parts;
  if (separator.empty()) {
    parts.emplace_back(s);
    return parts;
  }
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = s.find(separator, pos);
    if (hit == std::u16string_view::npos) break;
    parts.emplace_back(s.substr(pos, hit - pos));
    pos = hit + separator.size();
  }
  parts.emplace_back(s.substr(pos));
  return parts;
}

std::u16string join(const std::vector<std::u16string>& parts, std::u16string_view separator) {
  std::size_t total = 0;
  for (const auto& p : parts) total += p.size() + separator.size();
  std::u16string out;
  out.reserve(total);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out.append(separator);
    out.append(parts[i]);
  }
  return out;
}

bool startsWith(std::u16string_view s, std::u16string_view prefix) noexcept {
  return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::u16string_view s, std::u16string_view suffix) noexcept {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool containsNoCase(std::u16string_view haystack, std::u16string_view needle) noexcept {
  if (needle.size() > haystack.size()) return false;
  const std::size_t last = haystack.size() - needle.size();
  for (std::size_t i = 0; i <= last; ++i) {
    if (equalsNoCase(haystack.substr(i, needle.size()), needle)) return true;
  }
  return false;
}

bool startsWithNoCase(std::u16string_view s, std::u16string_view prefix) noexcept {
  return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
}

std::u16string toU16(long long value) {
  // Negated as unsigned so that the most negative value does not overflow.
  unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  char16_t buffer[24];
  char16_t* end = buffer + 24;
  char16_t* p = end;
  do {
    *--p = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = u'-';
  return std::u16string(p, end);
}

std::size_t findUnit(std::u16string_view text, char16_t unit, std::size_t from) noexcept {
  static_assert(std::endian::native == std::endian::little, "units are read as byte pairs");
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size() * 2;
  const auto low = static_cast<unsigned char>(unit & 0xFF);
  const auto high = static_cast<unsigned char>(unit >> 8);
  // Each hit of the low byte is a unit holding it when it starts a unit and the high byte
  // follows; a hit in the middle of a unit, or with another high byte, is passed over.
  for (std::size_t at = from * 2; at < size;) {
    const void* hit = std::memchr(bytes + at, low, size - at);
    if (!hit) break;
    const std::size_t b = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes);
    if (b % 2 == 0 && bytes[b + 1] == high) return b / 2;
    at = b + 1;
  }
  return std::u16string_view::npos;
}

namespace {

// Where needle stands at or after `from` by `same`, which compares a stretch of the text of
// needle's length with it. With byFirstUnit the candidates are where needle's first unit stands.
template <class Same>
std::size_t findWith(std::u16string_view text, std::u16string_view needle, std::size_t from,
                     bool byFirstUnit, Same same) noexcept {
  if (from > text.size() || needle.size() > text.size() - from) return std::u16string_view::npos;
  if (needle.empty()) return from;
  const std::size_t last = text.size() - needle.size();
  for (std::size_t at = from; at <= last; ++at) {
    if (byFirstUnit) {
      at = findUnit(text, needle[0], at);
      if (at == std::u16string_view::npos || at > last) break;
    }
    if (same(text.substr(at, needle.size()))) return at;
  }
  return std::u16string_view::npos;
}

}  // namespace

std::size_t findText(std::u16string_view text, std::u16string_view needle,
                     std::size_t from) noexcept {
  return findWith(text, needle, from, true,
                  [needle](std::u16string_view stretch) { return stretch == needle; });
}

std::size_t findTextNoCase(std::u16string_view text, std::u16string_view needle,
                           std::size_t from) noexcept {
  // Only an ASCII unit that is its own lower and upper case is the lower case of nothing else.
  const bool caseless = !needle.empty() && needle[0] < 0x80 &&
                        toLowerChar(needle[0]) == needle[0] && toUpperChar(needle[0]) == needle[0];
  return findWith(text, needle, from, caseless, [needle](std::u16string_view stretch) {
    for (std::size_t i = 0; i < stretch.size(); ++i) {
      if (toLowerChar(stretch[i]) != toLowerChar(needle[i])) return false;
    }
    return true;
  });
}

}  // namespace vantorel
