#pragma once
// The recursive-descent parser behind parseProgram and parseExpression. Private to the parser's
// source files.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/text/case_fold.hpp"
#include "platform/vbscript/ast.hpp"
#include "platform/vbscript/lexer.hpp"
#include "platform/vbscript/script_error.hpp"

namespace vantorel::vbs::detail {

// What a name in one scope has been declared as, one bit each; the three property kinds may
// share a name.
enum NameKind : unsigned {
  kNameVariable = 1,
  kNameProcedure = 2,
  kNamePropertyGet = 4,
  kNamePropertyLet = 8,
  kNamePropertySet = 16,
  kNameClass = 32,
};

using NameTable = std::unordered_map<std::u16string, unsigned, NoCaseHash, NoCaseEqual>;

enum class ProcContext : std::uint8_t { None, Sub, Function, Property };

class Parser {
 public:
  Parser(std::u16string_view source, std::int32_t lineOffset);

  Program parseProgram();
  ExprPtr parseStandaloneExpression();

 private:
  // ---- tokens and errors (parser.cpp) ----
  const Token& tok() const { return tokens_[pos_]; }
  const Token& peek(std::size_t ahead = 1) const {
    std::size_t k = pos_ + ahead;
    return k < tokens_.size() ? tokens_[k] : tokens_.back();
  }
  TokenKind kind() const { return tokens_[pos_].kind; }
  bool at(TokenKind k) const { return kind() == k; }
  const Token& advance() {
    const Token& t = tokens_[pos_];
    if (pos_ + 1 < tokens_.size()) ++pos_;
    return t;
  }
  bool accept(TokenKind k) {
    if (!at(k)) return false;
    advance();
    return true;
  }
  const Token& expect(TokenKind k, std::int32_t error);
  std::u16string text(const Token& t) const { return std::u16string(tokenText(source_, t)); }
  // An identifier or a word that may serve as a name.
  const Token& expectName();
  bool atSeparator() const {
    TokenKind k = kind();
    return k == TokenKind::Newline || k == TokenKind::Colon || k == TokenKind::EndOfInput;
  }
  bool atStatementEnd() const {
    return atSeparator() || (inlineIf_ > 0 && at(TokenKind::Else)) || atClosingEnd();
  }
  // `End Sub`, `End If`... may follow a statement on its line without a separator.
  bool atClosingEnd() const;
  void expectStatementEnd();
  void skipSeparators() {
    while (at(TokenKind::Newline) || at(TokenKind::Colon)) advance();
  }
  [[noreturn]] void fail(std::int32_t number, const Token& at) const;
  [[noreturn]] void fail(std::int32_t number) const { fail(number, tok()); }
  std::u16string lineText(std::int32_t line) const;
  void declare(NameTable& table, const Token& name, unsigned nameKind);

  // ---- expressions (parser_expressions.cpp) ----
  ExprPtr parseExpr() { return parseBinary(1); }
  ExprPtr parseBinary(int minPrecedence);
  ExprPtr parseOperand();
  // Stops before the token at stopAt; lastCallParen gets the index of the last call's '('.
  ExprPtr parsePostfix(bool statementStart, std::size_t stopAt, std::size_t* lastCallParen);
  ExprPtr parsePrimary();
  void parseParenArguments(std::vector<ExprPtr>& args);
  void parseBareArguments(std::vector<ExprPtr>& args);
  ExprPtr literal(const Token& t);

  // ---- statements (parser_statements.cpp) ----
  void parseBlock(Block& out);
  void parseInlineBody(Block& out);
  void parseStatement(Block& out);
  // Whether the token can begin a statement.
  bool atStatementStart() const;
  StmtPtr parseCallOrAssign();
  StmtPtr parseCallStatement();
  StmtPtr parseSet();
  StmtPtr parseIf();
  bool colonBlockIf() const;
  StmtPtr parseSelect();
  StmtPtr parseFor();
  StmtPtr parseDo();
  StmtPtr parseWhile();
  StmtPtr parseExit();
  StmtPtr parseOnError();
  StmtPtr parseWith();
  StmtPtr parseExecute();
  // After a block, the closing `End <word>`; a different terminator is `Expected 'End'`.
  void expectEnd(TokenKind word, std::int32_t wrongWordError);

  // ---- declarations (parser_declarations.cpp) ----
  void parseTopLevel();
  void parseOptionExplicit();
  void parseVisibilityStatement(Block& out);
  std::unique_ptr<DimStmt> parseDim(Visibility visibility, SourcePos pos);
  std::unique_ptr<ConstStmt> parseConst(Visibility visibility, SourcePos pos);
  ExprPtr parseConstValue();
  StmtPtr parseReDim();
  StmtPtr parseErase();
  ProcDecl parseProcedure(Visibility visibility, const Token* defaultToken, SourcePos pos);
  void parseParams(ProcDecl& proc, NameTable& locals);
  bool propertyHeaderAhead() const;
  void parseClass();
  void parseClassMember(ClassDecl& cls);
  void declareProcedure(const ProcDecl& proc, const Token& nameToken);
  bool atTopLevel() const {
    return proc_ == ProcContext::None && !inClass_ && nesting_ == 0 && inlineIf_ == 0;
  }
  // Procedures and classes may stand inside a block of top-level code; they are global all the
  // same.
  bool mayDeclareProcedure() const {
    return proc_ == ProcContext::None && !inClass_ && inlineIf_ == 0;
  }

  std::u16string_view source_;
  std::int32_t lineOffset_;
  TokenStream stream_;
  const std::vector<Token>& tokens_;
  std::size_t pos_ = 0;

  Program program_;
  NameTable globals_;
  NameTable* scope_ = &globals_;
  // Parameter counts of the properties of the class being parsed, by name, as a Get would have.
  std::unordered_map<std::u16string, std::size_t, NoCaseHash, NoCaseEqual> propertyArity_;
  const Token* classDefault_ = nullptr;

  ProcContext proc_ = ProcContext::None;
  bool inClass_ = false;
  bool sawCode_ = false;  // Option Explicit must come first
  int nesting_ = 0;       // block statements around the current one
  int inlineIf_ = 0;      // single-line If bodies around the current statement
  int doDepth_ = 0;
  int forDepth_ = 0;

  // Nesting deep enough to exhaust the stack here or in the compiler is refused, as VBScript
  // refuses source it cannot hold. Real scripts stay far below both limits.
  static constexpr int kMaxDepth = 400;
  static constexpr int kMaxOperatorChain = 3000;
  int depth_ = 0;
  class DepthGuard {
   public:
    explicit DepthGuard(Parser& p) : parser_(p) {
      if (++parser_.depth_ > kMaxDepth) parser_.fail(vberr::kCompilerOutOfMemory);
    }
    ~DepthGuard() { --parser_.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    Parser& parser_;
  };
};

}  // namespace vantorel::vbs::detail
