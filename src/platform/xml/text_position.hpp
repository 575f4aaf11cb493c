#pragma once
// Line and column of a byte offset into UTF-8 text, for the messages about a file's content.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/xml/xml_document.hpp"

namespace vantorel::xml {

// Editors count a character outside the Basic Multilingual Plane as one column or as two.
enum class ColumnUnit { Utf16, Character };

struct TextPosition {
  std::int64_t line = 1;
  std::int64_t column = 1;
};

// Offsets beyond the text count as its end, negative ones as its start.
TextPosition positionOf(std::string_view utf8, std::ptrdiff_t offset,
                        ColumnUnit unit = ColumnUnit::Utf16);
// "line L, column C"
std::u16string positionText(std::string_view utf8, std::ptrdiff_t offset,
                            ColumnUnit unit = ColumnUnit::Utf16);
// The position of an element's "<" in the UTF-8 text it was parsed from.
std::u16string elementPosition(std::string_view utf8, const Node& element);

}  // namespace vantorel::xml
