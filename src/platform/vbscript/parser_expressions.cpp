// Expressions: operator precedence, operands, calls, member access and argument lists.
#include "platform/vbscript/parser_impl.hpp"

namespace vantorel::vbs::detail {
namespace {

// Binding strength of the binary operators, loosest first. Not (6) sits between them; a sign
// binds tighter than all of them, `^` included: `-3^2` is 9 in VBScript.
constexpr int kPrecedenceNot = 6;
constexpr int kPrecedencePow = 14;

struct BinaryInfo {
  BinaryOp op;
  int precedence;  // 0: not a binary operator
};

BinaryInfo binaryInfo(TokenKind k) {
  switch (k) {
    case TokenKind::Imp:
      return {BinaryOp::Imp, 1};
    case TokenKind::Eqv:
      return {BinaryOp::Eqv, 2};
    case TokenKind::Xor:
      return {BinaryOp::Xor, 3};
    case TokenKind::Or:
      return {BinaryOp::Or, 4};
    case TokenKind::And:
      return {BinaryOp::And, 5};
    case TokenKind::Eq:
      return {BinaryOp::Eq, 7};
    case TokenKind::Ne:
      return {BinaryOp::Ne, 7};
    case TokenKind::Lt:
      return {BinaryOp::Lt, 7};
    case TokenKind::Le:
      return {BinaryOp::Le, 7};
    case TokenKind::Gt:
      return {BinaryOp::Gt, 7};
    case TokenKind::Ge:
      return {BinaryOp::Ge, 7};
    case TokenKind::Is:
      return {BinaryOp::Is, 7};
    case TokenKind::Ampersand:
      return {BinaryOp::Concat, 8};
    case TokenKind::Plus:
      return {BinaryOp::Add, 9};
    case TokenKind::Minus:
      return {BinaryOp::Sub, 9};
    case TokenKind::Mod:
      return {BinaryOp::Mod, 10};
    case TokenKind::Backslash:
      return {BinaryOp::IntDiv, 11};
    case TokenKind::Star:
      return {BinaryOp::Mul, 12};
    case TokenKind::Slash:
      return {BinaryOp::Div, 12};
    case TokenKind::Caret:
      return {BinaryOp::Pow, kPrecedencePow};
    default:
      return {BinaryOp::Add, 0};
  }
}

}  // namespace

ExprPtr Parser::parseBinary(int minPrecedence) {
  DepthGuard guard(*this);
  ExprPtr left = parseOperand();
  for (int chain = 0;; ++chain) {
    BinaryInfo info = binaryInfo(kind());
    if (info.precedence == 0 || info.precedence < minPrecedence) return left;
    if (chain >= kMaxOperatorChain) fail(vberr::kCompilerOutOfMemory);
    advance();
    // All binary operators associate to the left.
    ExprPtr right = parseBinary(info.precedence + 1);
    SourcePos p = left->pos;
    left = std::make_unique<BinaryExpr>(p, info.op, std::move(left), std::move(right));
  }
}

ExprPtr Parser::parseOperand() {
  const Token& t = tok();
  switch (t.kind) {
    case TokenKind::Not: {
      advance();
      return std::make_unique<UnaryExpr>(t.pos, UnaryOp::Not, parseBinary(kPrecedenceNot));
    }
    case TokenKind::Minus:
    case TokenKind::Plus: {
      DepthGuard guard(*this);
      advance();
      UnaryOp op = t.kind == TokenKind::Minus ? UnaryOp::Negate : UnaryOp::Plus;
      return std::make_unique<UnaryExpr>(t.pos, op, parseOperand());
    }
    default:
      return parsePostfix(false, static_cast<std::size_t>(-1), nullptr);
  }
}

ExprPtr Parser::literal(const Token& t) {
  return std::make_unique<LiteralExpr>(t.pos, stream_.literals[static_cast<std::size_t>(t.value)]);
}

ExprPtr Parser::parsePrimary() {
  const Token& t = tok();
  switch (t.kind) {
    case TokenKind::Number:
    case TokenKind::String:
    case TokenKind::Date:
      advance();
      return literal(t);
    case TokenKind::True:
      advance();
      return std::make_unique<LiteralExpr>(t.pos, Variant(true));
    case TokenKind::False:
      advance();
      return std::make_unique<LiteralExpr>(t.pos, Variant(false));
    case TokenKind::Empty:
      advance();
      return std::make_unique<LiteralExpr>(t.pos, Variant());
    case TokenKind::Null:
      advance();
      return std::make_unique<LiteralExpr>(t.pos, Variant::null());
    case TokenKind::Nothing:
      advance();
      return std::make_unique<LiteralExpr>(t.pos, Variant::nothing());
    case TokenKind::New: {
      advance();
      const Token& name = expectName();
      return std::make_unique<NewExpr>(t.pos, text(name));
    }
    case TokenKind::Me:
      advance();
      return std::make_unique<MeExpr>(t.pos);
    case TokenKind::Dot: {
      // `.name` inside With.
      advance();
      if (!isNameLike(kind()) && !isKeyword(kind())) fail(vberr::kExpectedIdentifier);
      return std::make_unique<MemberExpr>(t.pos, nullptr, text(advance()));
    }
    case TokenKind::LParen: {
      advance();
      ExprPtr inner = parseExpr();
      expect(TokenKind::RParen, vberr::kExpectedRParen);
      return std::make_unique<ParenExpr>(t.pos, std::move(inner));
    }
    default:
      if (isNameLike(t.kind)) {
        advance();
        return std::make_unique<NameExpr>(t.pos, text(t));
      }
      fail(vberr::kExpectedExpression);
  }
}

ExprPtr Parser::parsePostfix(bool statementStart, std::size_t stopAt, std::size_t* lastCallParen) {
  ExprPtr e = parsePrimary();
  switch (e->kind) {
    case ExprKind::Name:
    case ExprKind::Member:
    case ExprKind::Me:
    case ExprKind::Paren:
      break;
    default:
      return e;  // literals and New take no member access or arguments
  }
  while (pos_ != stopAt) {
    if (at(TokenKind::Dot)) {
      // At the head of a call statement, ` .name` after a space starts an argument inside With.
      if (statementStart && tok().spaceBefore) break;
      advance();
      if (!isNameLike(kind()) && !isKeyword(kind())) fail(vberr::kExpectedIdentifier);
      SourcePos p = e->pos;
      e = std::make_unique<MemberExpr>(p, std::move(e), text(advance()));
    } else if (at(TokenKind::LParen)) {
      if (lastCallParen) *lastCallParen = pos_;
      advance();
      // `(f)(x)` and `(((f)))(x)` call f: parentheses around a callee change nothing.
      while (e->kind == ExprKind::Paren) e = std::move(static_cast<ParenExpr&>(*e).inner);
      SourcePos p = e->pos;
      auto call = std::make_unique<CallExpr>(p, std::move(e));
      parseParenArguments(call->args);
      e = std::move(call);
    } else {
      break;
    }
  }
  return e;
}

// After '(': arguments up to the matching ')'. An argument left out is a null entry.
void Parser::parseParenArguments(std::vector<ExprPtr>& args) {
  if (accept(TokenKind::RParen)) return;
  for (;;) {
    if (at(TokenKind::Comma) || at(TokenKind::RParen)) {
      args.push_back(nullptr);
    } else {
      args.push_back(parseExpr());
    }
    if (accept(TokenKind::Comma)) continue;
    expect(TokenKind::RParen, vberr::kExpectedRParen);
    return;
  }
}

// The arguments of a call statement written without parentheses, up to the end of the statement.
void Parser::parseBareArguments(std::vector<ExprPtr>& args) {
  if (atStatementEnd()) return;
  for (;;) {
    if (at(TokenKind::Comma)) {
      args.push_back(nullptr);
    } else {
      args.push_back(parseExpr());
    }
    if (!accept(TokenKind::Comma)) break;
    if (atStatementEnd()) {
      args.push_back(nullptr);
      break;
    }
  }
  expectStatementEnd();
}

}  // namespace vantorel::vbs::detail
