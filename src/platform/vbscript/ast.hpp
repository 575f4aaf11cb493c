#pragma once
// The syntax tree of a VBScript program, as the parser builds it and the compiler reads it.
// Nodes are plain structs selected by their kind (LLVM style: check kind(), then static_cast).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/variant.hpp"

namespace vantorel::vbs {

// 1-based; columns count UTF-16 code units.
struct SourcePos {
  std::int32_t line = 0;
  std::int32_t column = 0;
};

// ---- Expressions ----

enum class ExprKind : std::uint8_t {
  Literal,  // numbers, strings, dates, True, False, Empty, Null, Nothing
  Name,     // a plain identifier: variable, constant, procedure, named object
  Member,   // object.name; object is null inside With for ".name"
  Call,     // callee(args): a call, an array index or a default-member access
  Paren,    // (expr): kept, since a parenthesised argument is passed by value
  New,      // New ClassName
  Me,
  Unary,
  Binary,
};

enum class UnaryOp : std::uint8_t { Negate, Plus, Not };

enum class BinaryOp : std::uint8_t {
  Pow, Mul, Div, IntDiv, Mod, Add, Sub, Concat,
  Eq, Ne, Lt, Le, Gt, Ge, Is,
  And, Or, Xor, Eqv, Imp,
};

struct Expr {
  explicit Expr(ExprKind k, SourcePos p) : kind(k), pos(p) {}
  virtual ~Expr() = default;
  ExprKind kind;
  SourcePos pos;
};
using ExprPtr = std::unique_ptr<Expr>;

struct LiteralExpr : Expr {
  LiteralExpr(SourcePos p, Variant v) : Expr(ExprKind::Literal, p), value(std::move(v)) {}
  Variant value;  // Nothing is an Object variant holding no object
};

struct NameExpr : Expr {
  NameExpr(SourcePos p, std::u16string n) : Expr(ExprKind::Name, p), name(std::move(n)) {}
  std::u16string name;  // as written; names compare without regard to case
};

struct MemberExpr : Expr {
  MemberExpr(SourcePos p, ExprPtr obj, std::u16string n)
      : Expr(ExprKind::Member, p), object(std::move(obj)), name(std::move(n)) {}
  ExprPtr object;  // null: the object of the innermost With
  std::u16string name;
};

struct CallExpr : Expr {
  CallExpr(SourcePos p, ExprPtr c) : Expr(ExprKind::Call, p), callee(std::move(c)) {}
  ExprPtr callee;             // a Name, Member or another Call (a(1)(2))
  std::vector<ExprPtr> args;  // a null entry is an omitted argument: f(1, , 3)
};

struct ParenExpr : Expr {
  ParenExpr(SourcePos p, ExprPtr e) : Expr(ExprKind::Paren, p), inner(std::move(e)) {}
  ExprPtr inner;
};

struct NewExpr : Expr {
  NewExpr(SourcePos p, std::u16string c) : Expr(ExprKind::New, p), className(std::move(c)) {}
  std::u16string className;
};

struct MeExpr : Expr {
  explicit MeExpr(SourcePos p) : Expr(ExprKind::Me, p) {}
};

struct UnaryExpr : Expr {
  UnaryExpr(SourcePos p, UnaryOp o, ExprPtr e) : Expr(ExprKind::Unary, p), op(o), operand(std::move(e)) {}
  UnaryOp op;
  ExprPtr operand;
};

struct BinaryExpr : Expr {
  BinaryExpr(SourcePos p, BinaryOp o, ExprPtr l, ExprPtr r)
      : Expr(ExprKind::Binary, p), op(o), left(std::move(l)), right(std::move(r)) {}
  BinaryOp op;
  ExprPtr left, right;
};

// ---- Statements ----

enum class StmtKind : std::uint8_t {
  Call,        // a call statement: `f a, b`, `o.m(a)`, `Call f(a, b)`
  Assign,      // `x = e`, `Set x = e`
  Dim,         // Dim / Private / Public variable declarations (also class fields)
  ReDim,
  Const,
  Erase,
  If,
  Select,
  For,
  ForEach,
  Do,          // Do ... Loop in all its forms
  While,       // While ... Wend
  Exit,
  OnError,
  With,
  Execute,     // Execute and ExecuteGlobal
  Randomize,
  Stop,
};

struct Stmt {
  explicit Stmt(StmtKind k, SourcePos p) : kind(k), pos(p) {}
  virtual ~Stmt() = default;
  StmtKind kind;
  SourcePos pos;  // where the statement begins; runtime errors report it
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

enum class Visibility : std::uint8_t { Default, Public, Private };

struct CallStmt : Stmt {
  CallStmt(SourcePos p, ExprPtr c, bool kw) : Stmt(StmtKind::Call, p), call(std::move(c)), callKeyword(kw) {}
  // A Call expression, or a Name/Member for a call without arguments. Without the Call keyword,
  // `f (x)` arrives as a Call whose single argument is a Paren.
  ExprPtr call;
  bool callKeyword;
};

struct AssignStmt : Stmt {
  AssignStmt(SourcePos p, ExprPtr t, ExprPtr v, bool set)
      : Stmt(StmtKind::Assign, p), target(std::move(t)), value(std::move(v)), isSet(set) {}
  ExprPtr target;  // Name, Member or Call (indexed or property with arguments)
  ExprPtr value;
  bool isSet;
};

struct VarDecl {
  std::u16string name;
  SourcePos pos;
  bool isArray = false;         // declared with parentheses
  std::vector<ExprPtr> bounds;  // upper bounds; empty with isArray: a dynamic array
};

struct DimStmt : Stmt {
  DimStmt(SourcePos p, Visibility v) : Stmt(StmtKind::Dim, p), visibility(v) {}
  Visibility visibility;  // Default for Dim
  std::vector<VarDecl> vars;
};

struct ReDimItem {
  ExprPtr target;  // a Name (or Member for a class field reached through Me/an object)
  std::vector<ExprPtr> bounds;
  SourcePos pos;
};

struct ReDimStmt : Stmt {
  ReDimStmt(SourcePos p, bool pres) : Stmt(StmtKind::ReDim, p), preserve(pres) {}
  bool preserve;
  std::vector<ReDimItem> items;
};

struct ConstDecl {
  std::u16string name;
  ExprPtr value;  // a literal, possibly signed, or a constant expression
  SourcePos pos;
};

struct ConstStmt : Stmt {
  ConstStmt(SourcePos p, Visibility v) : Stmt(StmtKind::Const, p), visibility(v) {}
  Visibility visibility;
  std::vector<ConstDecl> consts;
};

struct EraseStmt : Stmt {
  explicit EraseStmt(SourcePos p) : Stmt(StmtKind::Erase, p) {}
  std::vector<ExprPtr> targets;
};

struct IfBranch {
  ExprPtr condition;
  Block body;
  SourcePos pos;
};

struct IfStmt : Stmt {
  explicit IfStmt(SourcePos p) : Stmt(StmtKind::If, p) {}
  std::vector<IfBranch> branches;  // If, then each ElseIf
  bool hasElse = false;
  Block elseBody;
};

struct CaseClause {
  std::vector<ExprPtr> values;
  Block body;
  SourcePos pos;
};

struct SelectStmt : Stmt {
  explicit SelectStmt(SourcePos p) : Stmt(StmtKind::Select, p) {}
  ExprPtr subject;
  std::vector<CaseClause> cases;
  bool hasElse = false;
  Block elseBody;
};

struct ForStmt : Stmt {
  explicit ForStmt(SourcePos p) : Stmt(StmtKind::For, p) {}
  std::u16string variable;
  SourcePos variablePos;
  ExprPtr from, to, step;  // step may be null
  Block body;
};

struct ForEachStmt : Stmt {
  explicit ForEachStmt(SourcePos p) : Stmt(StmtKind::ForEach, p) {}
  std::u16string variable;
  SourcePos variablePos;
  ExprPtr collection;
  Block body;
};

enum class LoopCondition : std::uint8_t { None, While, Until };

struct DoStmt : Stmt {
  explicit DoStmt(SourcePos p) : Stmt(StmtKind::Do, p) {}
  LoopCondition condition = LoopCondition::None;
  bool testAtEnd = false;  // Do ... Loop While x
  ExprPtr test;            // null when condition is None
  Block body;
};

struct WhileStmt : Stmt {
  explicit WhileStmt(SourcePos p) : Stmt(StmtKind::While, p) {}
  ExprPtr test;
  Block body;
};

enum class ExitKind : std::uint8_t { Do, For, Function, Sub, Property };

struct ExitStmt : Stmt {
  ExitStmt(SourcePos p, ExitKind k) : Stmt(StmtKind::Exit, p), what(k) {}
  ExitKind what;
};

struct OnErrorStmt : Stmt {
  OnErrorStmt(SourcePos p, bool rn) : Stmt(StmtKind::OnError, p), resumeNext(rn) {}
  bool resumeNext;  // false: On Error GoTo 0
};

struct WithStmt : Stmt {
  explicit WithStmt(SourcePos p) : Stmt(StmtKind::With, p) {}
  ExprPtr object;
  Block body;
};

struct ExecuteStmt : Stmt {
  ExecuteStmt(SourcePos p, bool g, ExprPtr c) : Stmt(StmtKind::Execute, p), global(g), code(std::move(c)) {}
  bool global;  // ExecuteGlobal
  ExprPtr code;
};

struct RandomizeStmt : Stmt {
  RandomizeStmt(SourcePos p, ExprPtr s) : Stmt(StmtKind::Randomize, p), seed(std::move(s)) {}
  ExprPtr seed;  // may be null
};

struct StopStmt : Stmt {
  explicit StopStmt(SourcePos p) : Stmt(StmtKind::Stop, p) {}
};

// ---- Declarations ----

enum class ProcKind : std::uint8_t { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Param {
  std::u16string name;
  bool byVal = false;  // ByRef unless ByVal is written
  bool isArray = false;  // written as name()
  SourcePos pos;
};

struct ProcDecl {
  ProcKind kind = ProcKind::Sub;
  std::u16string name;
  std::vector<Param> params;
  Block body;
  Visibility visibility = Visibility::Default;  // Default counts as Public
  bool isDefault = false;
  SourcePos pos;     // of the declaration line
  SourcePos endPos;  // of its End line
};

struct ClassDecl {
  std::u16string name;
  std::vector<std::unique_ptr<DimStmt>> fields;    // Dim/Public/Private at class level
  std::vector<std::unique_ptr<ConstStmt>> consts;  // rare, but allowed
  std::vector<ProcDecl> procedures;
  SourcePos pos;
};

// One unit of source: what one AddCode, Execute or ExecuteGlobal compiles.
struct Program {
  bool optionExplicit = false;
  Block statements;  // top-level code, run in order
  std::vector<ProcDecl> procedures;
  std::vector<ClassDecl> classes;
};

}  // namespace vantorel::vbs
