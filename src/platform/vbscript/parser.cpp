#include "platform/vbscript/parser.hpp"

#include "platform/vbscript/parser_impl.hpp"

namespace vantorel::vbs {

namespace detail {

Parser::Parser(std::u16string_view source, std::int32_t lineOffset)
    : source_(source),
      lineOffset_(lineOffset),
      stream_(tokenize(source, lineOffset)),
      tokens_(stream_.tokens) {}

const Token& Parser::expect(TokenKind k, std::int32_t error) {
  if (!at(k)) fail(error);
  return advance();
}

const Token& Parser::expectName() {
  if (!isNameLike(kind())) fail(vberr::kExpectedIdentifier);
  return advance();
}

bool Parser::atClosingEnd() const {
  if (!at(TokenKind::End)) return false;
  switch (peek().kind) {
    case TokenKind::Sub:
    case TokenKind::Function:
    case TokenKind::Property:
    case TokenKind::Class:
    case TokenKind::If:
    case TokenKind::With:
      return true;
    default:
      return false;
  }
}

void Parser::expectStatementEnd() {
  if (!atStatementEnd()) fail(vberr::kExpectedEndOfStatement);
}

void Parser::fail(std::int32_t number, const Token& at) const {
  // A lexical error ahead of the parser is the first fault in the source.
  if (at.kind == TokenKind::LexError) number = at.value;
  ScriptError e;
  e.number = number;
  e.source = kCompileErrorSource;
  e.description = compileErrorDescription(number);
  e.line = at.pos.line;
  e.column = at.pos.column;
  e.text = lineText(at.pos.line - lineOffset_);
  throw ScriptException(std::move(e));
}

std::u16string Parser::lineText(std::int32_t line) const {
  std::size_t i = 0;
  const std::size_t n = source_.size();
  for (std::int32_t current = 1; current < line && i < n; ++i) {
    if (source_[i] == u'\r') {
      if (i + 1 < n && source_[i + 1] == u'\n') ++i;
      ++current;
    } else if (source_[i] == u'\n') {
      ++current;
    }
  }
  std::size_t end = i;
  while (end < n && source_[end] != u'\r' && source_[end] != u'\n') ++end;
  return std::u16string(source_.substr(i, end - i));
}

void Parser::declare(NameTable& table, const Token& name, unsigned nameKind) {
  constexpr unsigned kProperties = kNamePropertyGet | kNamePropertyLet | kNamePropertySet;
  auto [it, inserted] = table.try_emplace(text(name), nameKind);
  if (inserted) return;
  unsigned existing = it->second;
  bool bothProperties = (existing & ~kProperties) == 0 && (nameKind & ~kProperties) == 0;
  // A Sub or Function defined again replaces the first definition.
  if (existing == kNameProcedure && nameKind == kNameProcedure) return;
  if (!bothProperties || (existing & nameKind) != 0) fail(vberr::kNameRedefined, name);
  it->second |= nameKind;
}

Program Parser::parseProgram() {
  parseTopLevel();
  return std::move(program_);
}

ExprPtr Parser::parseStandaloneExpression() {
  skipSeparators();
  ExprPtr e = parseExpr();
  skipSeparators();
  if (!at(TokenKind::EndOfInput)) fail(vberr::kExpectedEndOfStatement);
  return e;
}

}  // namespace detail

Program parseProgram(std::u16string_view source, std::int32_t lineOffset) {
  return detail::Parser(source, lineOffset).parseProgram();
}

ExprPtr parseExpression(std::u16string_view source) {
  return detail::Parser(source, 0).parseStandaloneExpression();
}

}  // namespace vantorel::vbs
