#include "platform/xml/attributes.hpp"

#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::xml {

std::u16string nameOf(const Node& node) {
  return fromUtf8(node.name());
}
std::u16string nameOf(const Attribute& attribute) {
  return fromUtf8(attribute.name());
}
std::u16string valueOf(const Attribute& attribute) {
  return fromUtf8(attribute.value());
}

bool isElementNamed(const Node& node, std::u16string_view lowerName) {
  return node.type() == kElementNode && toLower(nameOf(node)) == lowerName;
}

std::u16string attributeText(const Node& node, std::string_view name,
                             std::u16string_view fallback) {
  const Attribute a = node.attribute(std::string(name).c_str());
  return a ? valueOf(a) : std::u16string(fallback);
}

Attribute findAttributeNoCase(const Node& node, std::u16string_view name) {
  for (const Attribute a : node.attributes()) {
    if (equalsNoCase(nameOf(a), name)) return a;
  }
  return {};
}

std::u16string attributeTextNoCase(const Node& node, std::u16string_view name,
                                   std::u16string_view fallback) {
  const Attribute a = findAttributeNoCase(node, name);
  return a ? valueOf(a) : std::u16string(fallback);
}

std::u16string attributeTextNoCase(const Node& node, std::string_view asciiName,
                                   std::u16string_view fallback) {
  for (const Attribute a : node.attributes()) {
    if (nameEqualsAscii(a.name(), asciiName)) return valueOf(a);
  }
  return std::u16string(fallback);
}

std::u16string attributeTextNoCase(std::span<const AttributeView> attributes,
                                   std::string_view asciiName, std::u16string_view fallback) {
  for (const AttributeView& a : attributes) {
    if (nameEqualsAscii(a.name, asciiName)) return fromUtf8(a.value);
  }
  return std::u16string(fallback);
}

std::vector<AttributeView> attributeViews(const Node& node) {
  std::vector<AttributeView> views;
  for (const Attribute a : node.attributes()) {
    views.push_back({a.name(), a.value(), kNoOffset, kNoOffset, false});
  }
  return views;
}

Node appendElement(Node parent, const char* name, std::span<const AttributeView> attributes) {
  Node element = parent.append_child(name);
  for (const AttributeView& a : attributes) {
    element.append_attribute(std::string(a.name).c_str()).set_value(std::string(a.value).c_str());
  }
  return element;
}

Node appendCurrent(Node parent, const PullParser& parser, PullParser::Event event) {
  if (event == PullParser::Event::StartElement) {
    return appendElement(parent, parser.name(), parser.attributes());
  }
  Node text =
      parent.append_child(event == PullParser::Event::CData ? pugi::node_cdata : pugi::node_pcdata);
  text.set_value(std::string(parser.content()).c_str());
  return text;
}

std::optional<bool> booleanText(std::u16string_view text) {
  const std::u16string lower = toLower(trimBlanks(text));
  if (lower == u"true") return true;
  if (lower == u"false") return false;
  if (const std::optional<Variant> number = parseNumber(lower)) return toDouble(*number) != 0;
  return std::nullopt;
}

std::vector<Node> descendantsNamed(const Node& from, std::string_view name) {
  std::vector<Node> found;
  Node node = from.first_child();
  while (node) {
    if (node.type() == kElementNode && name == node.name()) found.push_back(node);
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != from && !node.next_sibling()) node = node.parent();
    node = node && node != from ? node.next_sibling() : Node();
  }
  return found;
}

void setAttribute(Node node, std::string_view name, std::u16string_view value) {
  if (!node) return;
  const std::string utf8Name(name);
  Attribute a = node.attribute(utf8Name.c_str());
  if (!a) a = node.append_attribute(utf8Name.c_str());
  a.set_value(toUtf8(value).c_str());
}

void setAttribute(Node node, std::string_view name, std::int64_t value) {
  setAttribute(node, name, toU16(value));
}

std::optional<std::size_t> firstNonXmlChar(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x20) {
      if (c == u'\t' || c == u'\n' || c == u'\r') continue;
      return i;
    }
    if (c == 0xFFFE || c == 0xFFFF) return i;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return i;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return i;
  }
  return std::nullopt;
}

namespace {

// XML 1.0's NameStartChar without ':'; a surrogate pair stands for a character of
// U+10000..U+EFFFF, which the rule allows.
bool isNameStart(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
         (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || c == 0x200C || c == 0x200D ||
         (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) ||
         (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
         (c >= 0xFDF0 && c <= 0xFFFD);
}

bool isNameChar(char16_t c) {
  return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == 0xB7 ||
         (c >= 0x300 && c <= 0x36F) || c == 0x203F || c == 0x2040;
}

}  // namespace

bool isXmlName(std::u16string_view name) {
  if (name.empty() || firstNonXmlChar(name)) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      // A pair (checked above); U+F0000 and beyond are not name characters.
      if (c >= 0xDB80) return false;
      ++i;
      continue;
    }
    if (!(i == 0 ? isNameStart(c) : isNameChar(c))) return false;
  }
  return true;
}

void appendLineBreak(Node parent) {
  parent.append_child(pugi::node_pcdata).set_value("\r\n");
}

}  // namespace vantorel::xml
