// Statements inside blocks: calls, assignments and the control structures.
#include "platform/vbscript/parser_impl.hpp"

namespace vantorel::vbs::detail {

namespace {
constexpr std::size_t kNoToken = static_cast<std::size_t>(-1);
}  // namespace

void Parser::parseBlock(Block& out) {
  DepthGuard guard(*this);
  int savedInline = inlineIf_;
  inlineIf_ = 0;
  ++nesting_;
  for (;;) {
    skipSeparators();
    switch (kind()) {
      case TokenKind::EndOfInput:
      case TokenKind::End:
      case TokenKind::Else:
      case TokenKind::ElseIf:
      case TokenKind::Case:
      case TokenKind::Wend:
        break;
      case TokenKind::Next:
        if (forDepth_ == 0) fail(vberr::kUnexpectedNext);
        break;
      case TokenKind::Loop:
        if (doDepth_ == 0) fail(vberr::kLoopWithoutDo);
        break;
      default:
        parseStatement(out);
        if (!atStatementEnd()) fail(vberr::kExpectedEndOfStatement);
        continue;
    }
    break;
  }
  --nesting_;
  inlineIf_ = savedInline;
}

// The statements of a single-line If branch: up to the line end, or to the Else of this If.
void Parser::parseInlineBody(Block& out) {
  DepthGuard guard(*this);
  ++inlineIf_;
  for (;;) {
    if (accept(TokenKind::Colon)) continue;
    if (atStatementEnd()) break;
    parseStatement(out);
    if (!atStatementEnd()) fail(vberr::kExpectedEndOfStatement);
  }
  --inlineIf_;
}

bool Parser::atStatementStart() const {
  switch (kind()) {
    case TokenKind::Dim:
    case TokenKind::Const:
    case TokenKind::Public:
    case TokenKind::Private:
    case TokenKind::ReDim:
    case TokenKind::Erase:
    case TokenKind::If:
    case TokenKind::Select:
    case TokenKind::For:
    case TokenKind::Do:
    case TokenKind::While:
    case TokenKind::Exit:
    case TokenKind::On:
    case TokenKind::With:
    case TokenKind::Set:
    case TokenKind::Call:
    case TokenKind::Dot:
    case TokenKind::Me:
      return true;
    default:
      return isNameLike(kind());
  }
}

void Parser::parseStatement(Block& out) {
  const Token& t = tok();
  switch (t.kind) {
    case TokenKind::Dim:
      advance();
      out.push_back(parseDim(Visibility::Default, t.pos));
      return;
    case TokenKind::Const:
      advance();
      out.push_back(parseConst(Visibility::Default, t.pos));
      return;
    case TokenKind::Public:
    case TokenKind::Private:
      return parseVisibilityStatement(out);
    case TokenKind::ReDim:
      out.push_back(parseReDim());
      return;
    case TokenKind::Erase:
      out.push_back(parseErase());
      return;
    case TokenKind::If:
      out.push_back(parseIf());
      return;
    case TokenKind::Select:
      out.push_back(parseSelect());
      return;
    case TokenKind::For:
      out.push_back(parseFor());
      return;
    case TokenKind::Do:
      out.push_back(parseDo());
      return;
    case TokenKind::While:
      out.push_back(parseWhile());
      return;
    case TokenKind::Exit:
      out.push_back(parseExit());
      return;
    case TokenKind::On:
      out.push_back(parseOnError());
      return;
    case TokenKind::With:
      out.push_back(parseWith());
      return;
    case TokenKind::Execute:
    case TokenKind::ExecuteGlobal:
      out.push_back(parseExecute());
      return;
    case TokenKind::Randomize: {
      advance();
      ExprPtr seed = atStatementEnd() ? nullptr : parseExpr();
      out.push_back(std::make_unique<RandomizeStmt>(t.pos, std::move(seed)));
      return;
    }
    case TokenKind::Stop:
      advance();
      out.push_back(std::make_unique<StopStmt>(t.pos));
      return;
    case TokenKind::Set:
      out.push_back(parseSet());
      return;
    case TokenKind::Call:
      out.push_back(parseCallStatement());
      return;
    case TokenKind::Option:
      return parseOptionExplicit();
    case TokenKind::Property:
      // Outside a class `Property` is an ordinary name unless a procedure header follows.
      if (!inClass_ && !propertyHeaderAhead()) {
        out.push_back(parseCallOrAssign());
        return;
      }
      [[fallthrough]];
    case TokenKind::Sub:
    case TokenKind::Function:
      if (!mayDeclareProcedure()) fail(vberr::kSyntaxError);
      program_.procedures.push_back(parseProcedure(Visibility::Default, nullptr, t.pos));
      return;
    case TokenKind::Class:
      if (!mayDeclareProcedure()) fail(vberr::kSyntaxError);
      return parseClass();
    default:
      if (isNameLike(t.kind) || t.kind == TokenKind::Dot || t.kind == TokenKind::Me) {
        out.push_back(parseCallOrAssign());
        return;
      }
      fail(vberr::kExpectedStatement);
  }
}

// `x = e`, `a(1).b = e`, `f a, b`, `f(a)`, `o.m (a), b`. The target is read greedily; when more
// follows that is not '=', a trailing `(...)` was the first argument after all, so the head is
// read again without it.
StmtPtr Parser::parseCallOrAssign() {
  const Token& first = tok();
  std::size_t start = pos_;
  std::size_t lastParen = kNoToken;
  ExprPtr target = parsePostfix(true, kNoToken, &lastParen);
  if (at(TokenKind::Eq)) {
    if (target->kind == ExprKind::Me) fail(vberr::kInvalidMe, first);
    advance();
    ExprPtr value = parseExpr();
    return std::make_unique<AssignStmt>(first.pos, std::move(target), std::move(value), false);
  }
  if (atStatementEnd()) {
    if (target->kind == ExprKind::Call) {
      auto& call = static_cast<CallExpr&>(*target);
      const Token& paren = tokens_[lastParen];
      if (call.args.size() > 1) fail(vberr::kParenthesesInSubCall, paren);
      if (call.args.size() == 1 && call.args[0]) {
        call.args[0] = std::make_unique<ParenExpr>(paren.pos, std::move(call.args[0]));
      }
    }
    return std::make_unique<CallStmt>(first.pos, std::move(target), false);
  }
  if (target->kind == ExprKind::Call) {
    pos_ = start;
    target = parsePostfix(true, lastParen, nullptr);
  }
  SourcePos p = target->pos;
  auto call = std::make_unique<CallExpr>(p, std::move(target));
  parseBareArguments(call->args);
  return std::make_unique<CallStmt>(first.pos, std::move(call), false);
}

StmtPtr Parser::parseCallStatement() {
  const Token& t = advance();
  const Token& head = tok();
  // `Call (New C).M()` and `Call (f)(x)` start with a parenthesised expression.
  if (!isNameLike(head.kind) && head.kind != TokenKind::Dot && head.kind != TokenKind::Me &&
      head.kind != TokenKind::LParen) {
    fail(vberr::kExpectedIdentifier);
  }
  ExprPtr target = parsePostfix(false, kNoToken, nullptr);
  expectStatementEnd();
  return std::make_unique<CallStmt>(t.pos, std::move(target), true);
}

StmtPtr Parser::parseSet() {
  const Token& t = advance();
  const Token& head = tok();
  if (!isNameLike(head.kind) && head.kind != TokenKind::Dot && head.kind != TokenKind::Me) {
    fail(vberr::kExpectedIdentifier);
  }
  ExprPtr target = parsePostfix(false, kNoToken, nullptr);
  if (target->kind == ExprKind::Me) fail(vberr::kInvalidMe, head);
  expect(TokenKind::Eq, vberr::kExpectedEquals);
  ExprPtr value = parseExpr();
  return std::make_unique<AssignStmt>(t.pos, std::move(target), std::move(value), true);
}

void Parser::expectEnd(TokenKind word, std::int32_t wrongWordError) {
  if (!at(TokenKind::End)) fail(vberr::kExpectedEnd);
  advance();
  if (!at(word)) fail(wrongWordError);
  advance();
}

// `If c Then : a : End If` is the block form written on one line: a ':' right after Then
// and an End If later on the same line.
bool Parser::colonBlockIf() const {
  if (!at(TokenKind::Colon)) return false;
  for (std::size_t k = 1;; ++k) {
    const Token& t = peek(k);
    if (t.kind == TokenKind::Newline || t.kind == TokenKind::EndOfInput) return false;
    if (t.kind == TokenKind::End && peek(k + 1).kind == TokenKind::If) return true;
  }
}

StmtPtr Parser::parseIf() {
  const Token& t = advance();
  auto stmt = std::make_unique<IfStmt>(t.pos);
  IfBranch first;
  first.pos = t.pos;
  first.condition = parseExpr();
  expect(TokenKind::Then, vberr::kExpectedThen);
  if (!at(TokenKind::Newline) && !at(TokenKind::EndOfInput) && !colonBlockIf()) {
    parseInlineBody(first.body);
    stmt->branches.push_back(std::move(first));
    if (accept(TokenKind::Else)) {
      stmt->hasElse = true;
      parseInlineBody(stmt->elseBody);
    }
    // `If c Then a Else b End If` on one line: the End If closes the single-line form.
    if (at(TokenKind::End) && peek().kind == TokenKind::If) {
      advance();
      advance();
    }
    return stmt;
  }
  parseBlock(first.body);
  stmt->branches.push_back(std::move(first));
  for (;;) {
    if (at(TokenKind::ElseIf) && !stmt->hasElse) {
      IfBranch branch;
      branch.pos = advance().pos;
      branch.condition = parseExpr();
      expect(TokenKind::Then, vberr::kExpectedThen);
      parseBlock(branch.body);
      stmt->branches.push_back(std::move(branch));
    } else if (at(TokenKind::Else) && !stmt->hasElse) {
      advance();
      stmt->hasElse = true;
      parseBlock(stmt->elseBody);
    } else {
      expectEnd(TokenKind::If, vberr::kExpectedIf);
      return stmt;
    }
  }
}

StmtPtr Parser::parseSelect() {
  const Token& t = advance();
  auto stmt = std::make_unique<SelectStmt>(t.pos);
  expect(TokenKind::Case, vberr::kExpectedCase);
  stmt->subject = parseExpr();
  if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);
  skipSeparators();
  for (;;) {
    if (at(TokenKind::Case)) {
      const Token& c = advance();
      if (stmt->hasElse) fail(vberr::kExpectedEnd, c);
      if (accept(TokenKind::Else)) {
        stmt->hasElse = true;
        parseBlock(stmt->elseBody);
        continue;
      }
      CaseClause clause;
      clause.pos = c.pos;
      do {
        clause.values.push_back(parseExpr());
      } while (accept(TokenKind::Comma));
      // The first statement may follow the values on the same line: `Case 1  x = 2`.
      if (!atSeparator() && !atStatementStart()) fail(vberr::kExpectedEndOfStatement);
      parseBlock(clause.body);
      stmt->cases.push_back(std::move(clause));
      continue;
    }
    bool noClauseYet = stmt->cases.empty() && !stmt->hasElse;
    if (noClauseYet && !at(TokenKind::End) && !at(TokenKind::EndOfInput))
      fail(vberr::kExpectedCase);
    expectEnd(TokenKind::Select, vberr::kExpectedSelect);
    return stmt;
  }
}

StmtPtr Parser::parseFor() {
  const Token& t = advance();
  if (accept(TokenKind::Each)) {
    auto stmt = std::make_unique<ForEachStmt>(t.pos);
    const Token& v = expectName();
    stmt->variable = text(v);
    stmt->variablePos = v.pos;
    expect(TokenKind::In, vberr::kExpectedIn);
    stmt->collection = parseExpr();
    if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);
    ++forDepth_;
    parseBlock(stmt->body);
    --forDepth_;
    expect(TokenKind::Next, vberr::kExpectedNext);
    return stmt;
  }
  auto stmt = std::make_unique<ForStmt>(t.pos);
  const Token& v = expectName();
  stmt->variable = text(v);
  stmt->variablePos = v.pos;
  expect(TokenKind::Eq, vberr::kExpectedEquals);
  stmt->from = parseExpr();
  expect(TokenKind::To, vberr::kExpectedTo);
  stmt->to = parseExpr();
  if (accept(TokenKind::Step)) stmt->step = parseExpr();
  if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);
  ++forDepth_;
  parseBlock(stmt->body);
  --forDepth_;
  // VBScript takes no counter name after Next; the separator check after the statement rejects it.
  expect(TokenKind::Next, vberr::kExpectedNext);
  return stmt;
}

StmtPtr Parser::parseDo() {
  const Token& t = advance();
  auto stmt = std::make_unique<DoStmt>(t.pos);
  if (at(TokenKind::While) || at(TokenKind::Until)) {
    stmt->condition =
        advance().kind == TokenKind::While ? LoopCondition::While : LoopCondition::Until;
    stmt->test = parseExpr();
    if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);
  } else if (!atSeparator()) {
    fail(vberr::kExpectedWhileUntilEnd);
  }
  ++doDepth_;
  parseBlock(stmt->body);
  --doDepth_;
  expect(TokenKind::Loop, vberr::kExpectedLoop);
  if (at(TokenKind::While) || at(TokenKind::Until)) {
    if (stmt->condition != LoopCondition::None) fail(vberr::kExpectedEndOfStatement);
    stmt->condition =
        advance().kind == TokenKind::While ? LoopCondition::While : LoopCondition::Until;
    stmt->testAtEnd = true;
    stmt->test = parseExpr();
  } else if (!atStatementEnd() && stmt->condition == LoopCondition::None) {
    fail(vberr::kExpectedWhileUntilEnd);
  }
  return stmt;
}

StmtPtr Parser::parseWhile() {
  const Token& t = advance();
  auto stmt = std::make_unique<WhileStmt>(t.pos);
  stmt->test = parseExpr();
  if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);
  parseBlock(stmt->body);
  expect(TokenKind::Wend, vberr::kExpectedWend);
  return stmt;
}

StmtPtr Parser::parseExit() {
  const Token& t = advance();
  ExitKind what;
  bool valid;
  switch (kind()) {
    case TokenKind::Do:
      what = ExitKind::Do;
      valid = doDepth_ > 0;
      break;
    case TokenKind::For:
      what = ExitKind::For;
      valid = forDepth_ > 0;
      break;
    case TokenKind::Function:
      what = ExitKind::Function;
      valid = proc_ == ProcContext::Function;
      break;
    case TokenKind::Sub:
      what = ExitKind::Sub;
      valid = proc_ == ProcContext::Sub;
      break;
    case TokenKind::Property:
      what = ExitKind::Property;
      valid = proc_ == ProcContext::Property;
      break;
    default:
      fail(vberr::kInvalidExit);
  }
  if (!valid) fail(vberr::kInvalidExit, t);
  advance();
  return std::make_unique<ExitStmt>(t.pos, what);
}

StmtPtr Parser::parseOnError() {
  const Token& t = advance();
  expect(TokenKind::Error, vberr::kSyntaxError);
  if (accept(TokenKind::Resume)) {
    expect(TokenKind::Next, vberr::kSyntaxError);
    return std::make_unique<OnErrorStmt>(t.pos, true);
  }
  expect(TokenKind::GoTo, vberr::kSyntaxError);
  // Only `GoTo 0` exists: VBScript has no labels.
  const Token& zero = tok();
  if (zero.kind != TokenKind::Number) fail(vberr::kSyntaxError);
  const Variant& v = stream_.literals[static_cast<std::size_t>(zero.value)];
  if (v.type() != VarType::Integer || v.integerValue() != 0) fail(vberr::kSyntaxError);
  advance();
  return std::make_unique<OnErrorStmt>(t.pos, false);
}

StmtPtr Parser::parseWith() {
  const Token& t = advance();
  auto stmt = std::make_unique<WithStmt>(t.pos);
  stmt->object = parseExpr();
  if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);
  parseBlock(stmt->body);
  expectEnd(TokenKind::With, vberr::kExpectedWith);
  return stmt;
}

StmtPtr Parser::parseExecute() {
  const Token& t = advance();
  ExprPtr code = parseExpr();
  return std::make_unique<ExecuteStmt>(t.pos, t.kind == TokenKind::ExecuteGlobal, std::move(code));
}

}  // namespace vantorel::vbs::detail
