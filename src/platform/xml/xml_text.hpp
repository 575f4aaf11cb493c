#pragma once
// A file's bytes as the XML text they stand for: the encoding comes from the byte-order mark, else
// from the declaration, else it is UTF-8. Nothing is replaced on the way; bytes that cannot be
// text of that encoding are refused with the reason, so a file is never changed by being read.
#include <string>
#include <string_view>

namespace vantorel::xml {

// Converts to UTF-8; false with the reason when the encoding is unsupported or the bytes do not
// fit it.
bool textAsUtf8(std::string_view bytes, std::string& out, std::u16string& error);
// The same without a copy: `text` views `bytes` (past a byte-order mark) when they are UTF-8
// already, else the converted text kept in `storage`.
bool viewAsUtf8(std::string_view bytes, std::string& storage, std::string_view& text,
                std::u16string& error);
// Refuses bytes that are not UTF-8 and the control characters XML 1.0 forbids, naming the line
// and column of the first.
bool checkXmlCharacters(std::string_view utf8, std::u16string& error);
// The same for a part of the text, from `from` to at least `to`, for a reader that checks ahead
// of itself; `from` ends where the check stopped. The error's line and column count from the
// start of the whole text.
bool checkXmlCharacters(std::string_view utf8, std::size_t& from, std::size_t to,
                        std::u16string& error);

// XML's blanks: space, tab, carriage return and line feed.
constexpr bool isXmlBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace vantorel::xml
