#include "templates/markers.hpp"

#include <cstring>

namespace vantorel::templates {

// The byte search of the C library is far faster than a loop over code units; a hit on the wrong
// byte of a unit is checked and skipped.
std::size_t findChar(std::u16string_view text, char16_t c, std::size_t from) {
  const auto* base = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t bytes = text.size() * 2;
  const int low = static_cast<int>(std::char_traits<char16_t>::to_int_type(c) & 0xFF);
  for (std::size_t at = from * 2; at < bytes;) {
    const void* hit = std::memchr(base + at, low, bytes - at);
    if (!hit) return kNotFound;
    const auto offset = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - base);
    if (offset % 2 == 0 && text[offset / 2] == c) return offset / 2;
    at = offset + 1;
  }
  return kNotFound;
}

std::size_t findMarker(std::u16string_view text, std::u16string_view needle, std::size_t from) {
  if (needle.empty() || from > text.size() || text.size() - from < needle.size()) return kNotFound;
  const std::size_t last = text.size() - needle.size();
  // The search runs for one character that is no letter: the "!" of the openers, which markup
  // and script use far more rarely than the "<" in front of it, else the first character.
  const std::size_t anchor = needle.size() > 1 && needle[1] == u'!' ? 1 : 0;
  for (std::size_t hit = findChar(text, needle[anchor], from + anchor); hit != kNotFound;
       hit = findChar(text, needle[anchor], hit + 1)) {
    const std::size_t at = hit - anchor;
    if (at > last) return kNotFound;
    std::size_t i = 0;
    while (i < needle.size() && sameLetter(text[at + i], needle[i])) ++i;
    if (i == needle.size()) return at;
  }
  return kNotFound;
}

}  // namespace vantorel::templates
