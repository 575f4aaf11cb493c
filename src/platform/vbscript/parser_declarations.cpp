// Declarations: the top level, Option Explicit, variables, constants, procedures and classes.
#include "platform/vbscript/parser_impl.hpp"

namespace vantorel::vbs::detail {

namespace {

bool isIntegerLiteral(const Variant& v) {
  return v.type() == VarType::Integer || v.type() == VarType::Long;
}

}  // namespace

void Parser::parseTopLevel() {
  for (;;) {
    skipSeparators();
    const Token& t = tok();
    switch (t.kind) {
      case TokenKind::EndOfInput:
        return;
      case TokenKind::Next:
        fail(vberr::kUnexpectedNext);
      case TokenKind::Loop:
        fail(vberr::kLoopWithoutDo);
      case TokenKind::End:
      case TokenKind::Else:
      case TokenKind::ElseIf:
      case TokenKind::Case:
      case TokenKind::Wend:
        fail(vberr::kExpectedStatement);
      default:
        break;
    }
    parseStatement(program_.statements);
    if (t.kind != TokenKind::Option) sawCode_ = true;
    if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);
  }
}

void Parser::parseOptionExplicit() {
  if (sawCode_ || !atTopLevel()) fail(vberr::kExpectedStatement);
  advance();
  expect(TokenKind::Explicit, vberr::kSyntaxError);
  program_.optionExplicit = true;
}

// Public/Private outside a class: script-level variables, constants or procedures.
void Parser::parseVisibilityStatement(Block& out) {
  const Token& v = tok();
  if (proc_ != ProcContext::None) fail(vberr::kSyntaxError);
  advance();
  Visibility visibility = v.kind == TokenKind::Public ? Visibility::Public : Visibility::Private;
  switch (kind()) {
    case TokenKind::Property:
      if (!propertyHeaderAhead()) {
        out.push_back(parseDim(visibility, v.pos));
        return;
      }
      [[fallthrough]];
    case TokenKind::Sub:
    case TokenKind::Function:
      if (!mayDeclareProcedure()) fail(vberr::kSyntaxError);
      program_.procedures.push_back(parseProcedure(visibility, nullptr, v.pos));
      return;
    case TokenKind::Default:
      fail(vberr::kOutsideClass);
    case TokenKind::Const:
      advance();
      out.push_back(parseConst(visibility, v.pos));
      return;
    default:
      out.push_back(parseDim(visibility, v.pos));
  }
}

std::unique_ptr<DimStmt> Parser::parseDim(Visibility visibility, SourcePos pos) {
  auto stmt = std::make_unique<DimStmt>(pos, visibility);
  do {
    const Token& name = expectName();
    declare(*scope_, name, kNameVariable);
    VarDecl decl;
    decl.name = text(name);
    decl.pos = name.pos;
    if (accept(TokenKind::LParen)) {
      decl.isArray = true;
      if (!accept(TokenKind::RParen)) {
        // Dim takes literal bounds only; ReDim is for computed ones.
        do {
          const Token& bound = tok();
          if (bound.kind != TokenKind::Number ||
              !isIntegerLiteral(stream_.literals[static_cast<std::size_t>(bound.value)])) {
            fail(vberr::kExpectedInteger);
          }
          advance();
          decl.bounds.push_back(literal(bound));
        } while (accept(TokenKind::Comma));
        expect(TokenKind::RParen, vberr::kExpectedRParen);
      }
    }
    stmt->vars.push_back(std::move(decl));
  } while (accept(TokenKind::Comma));
  return stmt;
}

std::unique_ptr<ConstStmt> Parser::parseConst(Visibility visibility, SourcePos pos) {
  auto stmt = std::make_unique<ConstStmt>(pos, visibility);
  do {
    const Token& name = expectName();
    declare(*scope_, name, kNameVariable);
    expect(TokenKind::Eq, vberr::kExpectedEquals);
    ConstDecl decl;
    decl.name = text(name);
    decl.pos = name.pos;
    decl.value = parseConstValue();
    stmt->consts.push_back(std::move(decl));
  } while (accept(TokenKind::Comma));
  return stmt;
}

// A Const takes a literal, a number literal with signs before it included, and nothing else:
// no operators, parentheses or other constants, whatever the documentation suggests.
ExprPtr Parser::parseConstValue() {
  const Token& start = tok();
  std::vector<const Token*> signs;
  while (at(TokenKind::Minus) || at(TokenKind::Plus)) signs.push_back(&advance());
  switch (kind()) {
    case TokenKind::Number:
      break;
    case TokenKind::String:
    case TokenKind::Date:
    case TokenKind::True:
    case TokenKind::False:
    case TokenKind::Empty:
    case TokenKind::Null:
    case TokenKind::Nothing:
      if (signs.empty()) break;
      [[fallthrough]];
    default:
      fail(vberr::kExpectedLiteral, start);
  }
  ExprPtr value = parsePrimary();
  for (auto it = signs.rbegin(); it != signs.rend(); ++it) {
    UnaryOp op = (*it)->kind == TokenKind::Minus ? UnaryOp::Negate : UnaryOp::Plus;
    value = std::make_unique<UnaryExpr>((*it)->pos, op, std::move(value));
  }
  if (!atStatementEnd() && !at(TokenKind::Comma)) fail(vberr::kExpectedLiteral, start);
  return value;
}

StmtPtr Parser::parseReDim() {
  const Token& t = advance();
  auto stmt = std::make_unique<ReDimStmt>(t.pos, accept(TokenKind::Preserve));
  do {
    ReDimItem item;
    const Token& head = tok();
    item.pos = head.pos;
    if (accept(TokenKind::Me)) {
      item.target = std::make_unique<MeExpr>(head.pos);
      if (!at(TokenKind::Dot)) fail(vberr::kInvalidMe, head);
    } else {
      item.target = std::make_unique<NameExpr>(head.pos, text(expectName()));
    }
    while (accept(TokenKind::Dot)) {
      if (!isNameLike(kind()) && !isKeyword(kind())) fail(vberr::kExpectedIdentifier);
      item.target = std::make_unique<MemberExpr>(head.pos, std::move(item.target), text(advance()));
    }
    expect(TokenKind::LParen, vberr::kExpectedLParen);
    do {
      item.bounds.push_back(parseExpr());
    } while (accept(TokenKind::Comma));
    expect(TokenKind::RParen, vberr::kExpectedRParen);
    stmt->items.push_back(std::move(item));
  } while (accept(TokenKind::Comma));
  return stmt;
}

StmtPtr Parser::parseErase() {
  const Token& t = advance();
  auto stmt = std::make_unique<EraseStmt>(t.pos);
  do {
    const Token& name = expectName();
    stmt->targets.push_back(std::make_unique<NameExpr>(name.pos, text(name)));
  } while (accept(TokenKind::Comma));
  return stmt;
}

void Parser::parseParams(ProcDecl& proc, NameTable& locals) {
  if (!accept(TokenKind::LParen) || accept(TokenKind::RParen)) return;
  do {
    Param param;
    if (accept(TokenKind::ByVal)) {
      param.byVal = true;
    } else {
      accept(TokenKind::ByRef);
    }
    const Token& name = expectName();
    param.name = text(name);
    param.pos = name.pos;
    if (accept(TokenKind::LParen)) {
      expect(TokenKind::RParen, vberr::kExpectedRParen);
      param.isArray = true;
    }
    declare(locals, name, kNameVariable);
    proc.params.push_back(std::move(param));
  } while (accept(TokenKind::Comma));
  expect(TokenKind::RParen, vberr::kExpectedRParen);
}

ProcDecl Parser::parseProcedure(Visibility visibility, const Token* defaultToken, SourcePos pos) {
  const Token& keyword = advance();
  ProcDecl proc;
  proc.visibility = visibility;
  proc.isDefault = defaultToken != nullptr;
  proc.pos = pos;
  ProcContext context = ProcContext::Property;
  TokenKind endWord = keyword.kind;
  std::int32_t wrongEnd = vberr::kExpectedProperty;
  if (keyword.kind == TokenKind::Sub) {
    proc.kind = ProcKind::Sub;
    context = ProcContext::Sub;
    wrongEnd = vberr::kExpectedSub;
  } else if (keyword.kind == TokenKind::Function) {
    proc.kind = ProcKind::Function;
    context = ProcContext::Function;
    wrongEnd = vberr::kExpectedFunction;
  } else {
    if (!inClass_) fail(vberr::kOutsideClass, keyword);
    switch (kind()) {
      case TokenKind::Get:
        proc.kind = ProcKind::PropertyGet;
        break;
      case TokenKind::Let:
        proc.kind = ProcKind::PropertyLet;
        break;
      case TokenKind::Set:
        proc.kind = ProcKind::PropertySet;
        break;
      default:
        fail(vberr::kExpectedPropertyKind);
    }
    advance();
    if (defaultToken && proc.kind != ProcKind::PropertyGet)
      fail(vberr::kDefaultNotGet, *defaultToken);
  }

  const Token& name = expectName();
  proc.name = text(name);
  NameTable locals;
  parseParams(proc, locals);
  if (inClass_ && !proc.params.empty() &&
      (equalsNoCase(proc.name, u"Class_Initialize") ||
       equalsNoCase(proc.name, u"Class_Terminate"))) {
    fail(vberr::kInitTerminateArgs, name);
  }
  bool needsValue = proc.kind == ProcKind::PropertyLet || proc.kind == ProcKind::PropertySet;
  if (needsValue && proc.params.empty()) fail(vberr::kPropertyNeedsArgument, name);
  declareProcedure(proc, name);
  if (defaultToken) {
    if (classDefault_) fail(vberr::kMultipleDefaults, *defaultToken);
    classDefault_ = defaultToken;
  }
  if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);

  NameTable* savedScope = scope_;
  scope_ = &locals;
  proc_ = context;
  int savedDo = doDepth_, savedFor = forDepth_;
  doDepth_ = forDepth_ = 0;
  parseBlock(proc.body);
  doDepth_ = savedDo;
  forDepth_ = savedFor;
  proc_ = ProcContext::None;
  scope_ = savedScope;

  if (!at(TokenKind::End)) fail(vberr::kExpectedEnd);
  proc.endPos = advance().pos;
  if (!at(endWord)) fail(wrongEnd);
  advance();
  return proc;
}

void Parser::declareProcedure(const ProcDecl& proc, const Token& nameToken) {
  unsigned nameKind = kNameProcedure;
  switch (proc.kind) {
    case ProcKind::PropertyGet:
      nameKind = kNamePropertyGet;
      break;
    case ProcKind::PropertyLet:
      nameKind = kNamePropertyLet;
      break;
    case ProcKind::PropertySet:
      nameKind = kNamePropertySet;
      break;
    default:
      break;
  }
  declare(*scope_, nameToken, nameKind);
  if (nameKind == kNameProcedure) return;
  // Let and Set take the assigned value after the arguments a Get takes.
  std::size_t arity = proc.params.size() - (proc.kind == ProcKind::PropertyGet ? 0 : 1);
  auto [it, inserted] = propertyArity_.try_emplace(proc.name, arity);
  if (!inserted && it->second != arity) fail(vberr::kPropertyArgCount, nameToken);
}

// `Property Get|Let|Set name`: the header of a property, not a variable called Property.
bool Parser::propertyHeaderAhead() const {
  TokenKind k = peek().kind;
  return (k == TokenKind::Get || k == TokenKind::Let || k == TokenKind::Set) &&
         isNameLike(peek(2).kind);
}

void Parser::parseClass() {
  const Token& t = advance();
  const Token& name = expectName();
  declare(globals_, name, kNameClass);
  ClassDecl cls;
  cls.name = text(name);
  cls.pos = t.pos;
  if (!atSeparator()) fail(vberr::kExpectedEndOfStatement);

  NameTable members;
  scope_ = &members;
  inClass_ = true;
  propertyArity_.clear();
  classDefault_ = nullptr;
  for (;;) {
    skipSeparators();
    if (accept(TokenKind::End)) {
      expect(TokenKind::Class, vberr::kExpectedClass);
      break;
    }
    if (at(TokenKind::EndOfInput)) fail(vberr::kExpectedEnd);
    parseClassMember(cls);
    if (!atSeparator() && !atClosingEnd()) fail(vberr::kExpectedEndOfStatement);
  }
  inClass_ = false;
  scope_ = &globals_;
  program_.classes.push_back(std::move(cls));
}

void Parser::parseClassMember(ClassDecl& cls) {
  const Token& first = tok();
  Visibility visibility = Visibility::Default;
  const Token* defaultToken = nullptr;
  if (at(TokenKind::Public) || at(TokenKind::Private)) {
    visibility = advance().kind == TokenKind::Public ? Visibility::Public : Visibility::Private;
    if (at(TokenKind::Default)) {
      if (visibility != Visibility::Public) fail(vberr::kDefaultNotPublic);
      defaultToken = &advance();
      if (!at(TokenKind::Sub) && !at(TokenKind::Function) && !at(TokenKind::Property)) {
        fail(vberr::kDefaultPlacement, *defaultToken);
      }
    }
  } else if (at(TokenKind::Default)) {
    fail(vberr::kDefaultNotPublic);
  }
  switch (kind()) {
    case TokenKind::Sub:
    case TokenKind::Function:
    case TokenKind::Property:
      cls.procedures.push_back(parseProcedure(visibility, defaultToken, first.pos));
      return;
    case TokenKind::Const:
      advance();
      cls.consts.push_back(parseConst(visibility, first.pos));
      return;
    case TokenKind::Dim:
      if (visibility != Visibility::Default) fail(vberr::kExpectedIdentifier);
      advance();
      cls.fields.push_back(parseDim(Visibility::Default, first.pos));
      return;
    default:
      if (visibility != Visibility::Default && isNameLike(kind())) {
        cls.fields.push_back(parseDim(visibility, first.pos));
        return;
      }
      fail(vberr::kSyntaxError);
  }
}

}  // namespace vantorel::vbs::detail
