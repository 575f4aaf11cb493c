#pragma once
// Attribute and text helpers over the engine's XML documents. Names given as std::string_view
// match exactly; the "NoCase" lookups compare without regard to case, as the engine's files
// have always been read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/case_fold.hpp"
#include "platform/xml/pull_parser.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel::xml {

std::u16string nameOf(const Node& node);
std::u16string nameOf(const Attribute& attribute);
std::u16string valueOf(const Attribute& attribute);
// An element whose name, lowered, is lowerName.
bool isElementNamed(const Node& node, std::u16string_view lowerName);

std::u16string attributeText(const Node& node, std::string_view name,
                             std::u16string_view fallback = {});
// The first attribute whose name equals name without regard to case.
Attribute findAttributeNoCase(const Node& node, std::u16string_view name);
std::u16string attributeTextNoCase(const Node& node, std::u16string_view name,
                                   std::u16string_view fallback = {});
// For an ASCII name: letters compare by ASCII case only, and the file's names are not converted,
// as the project file's reader has always matched them. Inline: a reader tests most attributes
// of a large file against a few fixed names.
inline bool nameEqualsAscii(const char* utf8Name, std::string_view asciiName) noexcept {
  std::size_t i = 0;
  for (; utf8Name[i] != '\0' && i < asciiName.size(); ++i) {
    if (asciiLower(utf8Name[i]) != asciiLower(asciiName[i])) return false;
  }
  return utf8Name[i] == '\0' && i == asciiName.size();
}
// The same for a name of known length.
inline bool nameEqualsAscii(std::string_view utf8Name, std::string_view asciiName) noexcept {
  if (utf8Name.size() != asciiName.size()) return false;
  for (std::size_t i = 0; i < asciiName.size(); ++i) {
    if (asciiLower(utf8Name[i]) != asciiLower(asciiName[i])) return false;
  }
  return true;
}

std::u16string attributeTextNoCase(const Node& node, std::string_view asciiName,
                                   std::u16string_view fallback = {});
// The same over the attributes of a start tag read by PullParser.
std::u16string attributeTextNoCase(std::span<const AttributeView> attributes,
                                   std::string_view asciiName, std::u16string_view fallback = {});
// A node's attributes in the form PullParser gives them; they stay valid while the node does.
std::vector<AttributeView> attributeViews(const Node& node);
// Copies the parser's current start tag, or its text or CDATA, below parent; returns the new
// node. Readers keep a few small parts of a streamed file this way.
Node appendCurrent(Node parent, const PullParser& parser, PullParser::Event event);
// An element of that name with those attributes, below parent.
Node appendElement(Node parent, const char* name, std::span<const AttributeView> attributes);

// "true" and "false" in any case, or a number (non-zero is true), blanks around allowed.
std::optional<bool> booleanText(std::u16string_view text);

// The elements below `from` named exactly `name`, in document order; walked without recursion,
// so that a deeply nested file cannot exhaust the stack.
std::vector<Node> descendantsNamed(const Node& from, std::string_view name);

// Adds the attribute or replaces its value; nothing for an unset node.
void setAttribute(Node node, std::string_view name, std::u16string_view value);
void setAttribute(Node node, std::string_view name, std::int64_t value);

// The position (in UTF-16 units) of the first character an XML 1.0 document cannot hold: a
// control character other than tab, line feed and carriage return, a lone surrogate, U+FFFE or
// U+FFFF. Nothing when every character can stand.
std::optional<std::size_t> firstNonXmlChar(std::u16string_view text);
// Whether the text can stand as an element or attribute name. ':' is refused as well, because
// readers that know namespaces take it for an undeclared prefix.
bool isXmlName(std::u16string_view name);

// The files this layer writes by hand mark their layout with explicit "\r\n" text nodes.
void appendLineBreak(Node parent);

}  // namespace vantorel::xml
