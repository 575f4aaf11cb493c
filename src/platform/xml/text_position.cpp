#include "platform/xml/text_position.hpp"

#include <algorithm>

#include "platform/text/strings.hpp"

namespace vantorel::xml {

TextPosition positionOf(std::string_view utf8, std::ptrdiff_t offset, ColumnUnit unit) {
  TextPosition at;
  const std::size_t end = offset < 0 ? 0 : std::min(static_cast<std::size_t>(offset), utf8.size());
  for (std::size_t i = 0; i < end; ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b == '\n') {
      ++at.line;
      at.column = 1;
    } else if ((b & 0xC0u) != 0x80u) {
      // A four-byte sequence is a surrogate pair: two code units.
      at.column += (unit == ColumnUnit::Utf16 && b >= 0xF0 && b <= 0xF4) ? 2 : 1;
    }
  }
  return at;
}

std::u16string positionText(std::string_view utf8, std::ptrdiff_t offset, ColumnUnit unit) {
  const TextPosition at = positionOf(utf8, offset, unit);
  return u"line " + toU16(at.line) + u", column " + toU16(at.column);
}

std::u16string elementPosition(std::string_view utf8, const Node& element) {
  // pugixml gives the offset of the element's name, one past its "<".
  return positionText(utf8, element.offset_debug() - 1);
}

}  // namespace vantorel::xml
