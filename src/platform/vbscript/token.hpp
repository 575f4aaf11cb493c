#pragma once
// The tokens the lexer hands the parser.
#include <cstdint>
#include <string_view>

#include "platform/vbscript/ast.hpp"

namespace vantorel::vbs {

enum class TokenKind : std::uint8_t {
  EndOfInput,
  Newline,
  Colon,
  LexError,  // a lexical error; value holds its number, raised when the parser reaches it
  Identifier,
  Number,  // value indexes the literal table, as for String and Date
  String,
  Date,
  LParen,
  RParen,
  Comma,
  Dot,
  Plus,
  Minus,
  Star,
  Slash,
  Backslash,
  Caret,
  Ampersand,
  Eq,
  Ne,
  Lt,
  Le,
  Gt,
  Ge,
  // Reserved words.
  And,
  Or,
  Not,
  Xor,
  Eqv,
  Imp,
  Is,
  Mod,
  New,
  Me,
  Nothing,
  Empty,
  Null,
  True,
  False,
  Dim,
  ReDim,
  Const,
  Erase,
  Private,
  Public,
  Class,
  Sub,
  Function,
  Set,
  Call,
  If,
  Then,
  Else,
  ElseIf,
  End,
  Select,
  Case,
  For,
  To,
  Each,
  In,
  Next,
  Do,
  Loop,
  While,
  Until,
  Wend,
  Exit,
  With,
  On,
  Resume,
  GoTo,
  Option,
  Rem,
  // Words with a meaning in some places that still serve as names elsewhere.
  Property,
  Default,
  Error,
  Step,
  Explicit,
  Get,
  Let,
  ByVal,
  ByRef,
  Preserve,
  Execute,
  ExecuteGlobal,
  Randomize,
  Stop,
};

inline constexpr TokenKind kFirstKeyword = TokenKind::And;
inline constexpr TokenKind kFirstSoftKeyword = TokenKind::Property;

inline bool isKeyword(TokenKind k) noexcept {
  return k >= kFirstKeyword;
}
// Identifiers and the words that may still be used as names.
inline bool isNameLike(TokenKind k) noexcept {
  return k == TokenKind::Identifier || k >= kFirstSoftKeyword;
}

struct Token {
  TokenKind kind = TokenKind::EndOfInput;
  bool spaceBefore = false;  // whitespace or a line start precedes it
  std::uint32_t offset = 0;  // the text: for a [bracketed] name, what is inside the brackets
  std::uint32_t length = 0;
  SourcePos pos;
  std::int32_t value = -1;  // literal index, or the error number of an Error token
};

}  // namespace vantorel::vbs
