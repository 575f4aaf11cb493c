#include "templates/xml_text.hpp"

#include <algorithm>

#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::templates {

std::u16string nameOf(const pugi::xml_node& node) {
  return fromUtf8(node.name());
}
std::u16string nameOf(const pugi::xml_attribute& attribute) {
  return fromUtf8(attribute.name());
}
std::u16string valueOf(const pugi::xml_attribute& attribute) {
  return fromUtf8(attribute.value());
}

bool isElementNamed(const pugi::xml_node& node, std::u16string_view lowerName) {
  return node.type() == pugi::node_element && toLower(nameOf(node)) == lowerName;
}

std::u16string positionText(std::string_view utf8, std::ptrdiff_t offset) {
  long long line = 1;
  long long column = 1;
  const std::size_t end = offset < 0 ? 0 : std::min(static_cast<std::size_t>(offset), utf8.size());
  for (std::size_t i = 0; i < end; ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b == '\n') {
      ++line;
      column = 1;
    } else if ((b & 0xC0u) != 0x80u) {
      // A four-byte sequence is a surrogate pair: two code units.
      column += (b >= 0xF0 && b <= 0xF4) ? 2 : 1;
    }
  }
  return u"line " + toU16(line) + u", column " + toU16(column);
}

std::u16string elementPosition(std::string_view utf8, const pugi::xml_node& element) {
  // pugixml gives the offset of the element's name, one past its "<".
  return positionText(utf8, element.offset_debug() - 1);
}

pugi::xml_node parseElementMarkup(pugi::xml_document& doc, std::u16string_view markup) {
  const std::string bytes = toUtf8(markup);
  if (!doc.load_buffer(bytes.data(), bytes.size(), kXmlReadOptions, pugi::encoding_utf8)) {
    return {};
  }
  return doc.document_element();
}

}  // namespace vantorel::templates
