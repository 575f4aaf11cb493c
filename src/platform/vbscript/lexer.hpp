#pragma once
// Splits VBScript source into tokens. Line continuations, comments and Rem vanish here; a lexical
// error becomes one LexError token followed by the end, so that an earlier syntax error still wins.
#include <string_view>
#include <vector>

#include "platform/automation/variant.hpp"
#include "platform/vbscript/token.hpp"

namespace vantorel::vbs {

struct TokenStream {
  std::vector<Token> tokens;  // always ends with EndOfInput
  std::vector<Variant> literals;
};

// lineOffset is added to every line number.
TokenStream tokenize(std::u16string_view source, std::int32_t lineOffset = 0);

inline std::u16string_view tokenText(std::u16string_view source, const Token& t) {
  return source.substr(t.offset, t.length);
}

// The longest identifier VBScript accepts.
inline constexpr std::size_t kMaxIdentifierLength = 255;

}  // namespace vantorel::vbs
