#pragma once
// Small helpers for the XML files of a template set, read with pugixml without whitespace or
// line-end conversion so that attribute values come back exactly as written.
#include <cstddef>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace vantorel::templates {

inline constexpr unsigned kXmlReadOptions = pugi::parse_cdata | pugi::parse_escapes |
                                            pugi::parse_declaration | pugi::parse_doctype |
                                            pugi::parse_pi;

std::u16string nameOf(const pugi::xml_node& node);
std::u16string nameOf(const pugi::xml_attribute& attribute);
std::u16string valueOf(const pugi::xml_attribute& attribute);
bool isElementNamed(const pugi::xml_node& node, std::u16string_view lowerName);

// "line L, column C" of a byte offset into UTF-8 text; the column counts UTF-16 code units.
std::u16string positionText(std::string_view utf8, std::ptrdiff_t offset);
// The position of an element's "<" in the UTF-8 text it was parsed from.
std::u16string elementPosition(std::string_view utf8, const pugi::xml_node& element);

// Parses the markup a script hands over for one element; an empty node when it does not parse.
pugi::xml_node parseElementMarkup(pugi::xml_document& doc, std::u16string_view markup);

}  // namespace vantorel::templates
