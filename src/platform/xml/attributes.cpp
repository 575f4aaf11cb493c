#include "platform/xml/attributes.hpp"

#include <cerrno>
#include <cstdlib>

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

bool nameEqualsAscii(const char* utf8Name, std::string_view asciiName) noexcept {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  std::size_t i = 0;
  for (; utf8Name[i] != '\0' && i < asciiName.size(); ++i) {
    if (lower(utf8Name[i]) != lower(asciiName[i])) return false;
  }
  return utf8Name[i] == '\0' && i == asciiName.size();
}

std::u16string attributeTextNoCase(const Node& node, std::string_view asciiName,
                                   std::u16string_view fallback) {
  for (const Attribute a : node.attributes()) {
    if (nameEqualsAscii(a.name(), asciiName)) return valueOf(a);
  }
  return std::u16string(fallback);
}

std::int64_t attributeInteger(const Node& node, std::string_view name, std::int64_t fallback) {
  const Attribute a = node.attribute(std::string(name).c_str());
  if (!a || *a.value() == '\0') return fallback;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(a.value(), &end, 10);
  return errno == 0 && *end == '\0' ? value : fallback;
}

std::optional<bool> booleanText(std::u16string_view text) {
  const std::u16string lower = toLower(trimBlanks(text));
  if (lower == u"true") return true;
  if (lower == u"false") return false;
  if (const std::optional<Variant> number = parseNumber(lower)) return toDouble(*number) != 0;
  return std::nullopt;
}

bool attributeBool(const Node& node, std::string_view name, bool fallback) {
  const Attribute a = node.attribute(std::string(name).c_str());
  return a ? booleanText(valueOf(a)).value_or(fallback) : fallback;
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

std::u16string childText(const Node& element) {
  std::u16string text;
  for (const Node child : element.children()) {
    if (child.type() == kTextNode || child.type() == kCDataNode) text += fromUtf8(child.value());
  }
  return text;
}

void appendCData(Node element, std::u16string_view text) {
  element.append_child(pugi::node_cdata).set_value(toUtf8(text).c_str());
}

void appendLineBreak(Node parent) {
  parent.append_child(pugi::node_pcdata).set_value("\r\n");
}

}  // namespace vantorel::xml
