#pragma once
// The compiler's working state: the scope being compiled and what the unit defines.
#include <unordered_map>

#include "platform/vbscript/compiler/compiler.hpp"
#include "platform/vbscript/runtime/builtins.hpp"
#include "platform/vbscript/vm/call_nodes.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"

namespace vantorel::vbs {

template <class T>
using NoCaseMap = std::unordered_map<std::u16string, T, NoCaseHash, NoCaseEqual>;

// What a name stands for where it is used.
struct Binding {
  enum class Kind : std::uint8_t {
    Local,
    TempLocal,
    Param,
    Field,
    Member,
    Constant,
    Global,
    Implicit,
    NamedMember,
    Builtin,
    Eval,
    GetRef,
    Err,
  };
  Kind kind = Kind::Global;
  std::int32_t slot = 0;
  GlobalEntry* entry = nullptr;
  Variant value;
  const BuiltinFunction* fn = nullptr;
  Ref<Object> object;
  DispId id = kDispIdUnknown;
  bool isReturnValue = false;

  bool isVariable() const {
    return kind == Kind::Local || kind == Kind::TempLocal || kind == Kind::Param ||
           kind == Kind::Field || kind == Kind::Global || kind == Kind::Implicit;
  }
};

struct Scope {
  Procedure* proc = nullptr;  // null at module level
  ClassDef* cls = nullptr;
  bool fixedSlots = false;  // code run inside a live frame (Execute, Eval) cannot add slots
  NoCaseMap<std::int32_t> locals;
  // Variables that code run by Execute inside a procedure declares: they live in its own
  // hidden slots, ahead of the With slots.
  NoCaseMap<std::int32_t> tempLocals;
  NoCaseMap<std::int32_t> params;
  NoCaseMap<Variant> consts;
  NoCaseMap<std::pair<GlobalEntry*, std::int32_t>> implicits;
  std::int32_t numSlots = 0;
  std::vector<std::int32_t> withSlots;
  std::int32_t maxTemps = 0;
};

class Compiler {
 public:
  Compiler(ModuleState& module, bool optionExplicit, std::u16string_view source)
      : mod_(module), optionExplicit_(optionExplicit), source_(source) {}

  void compileProgram(const Program& program, CodeScope scope, CompiledUnit& unit);
  ExprNodePtr compileStandalone(const Expr& e, CodeScope scope, std::int32_t& numTemps);

  // Expressions (compile_expr.cpp)
  ExprNodePtr expr(const Expr& e);
  ExprNodePtr nameNode(const NameExpr& n);
  ExprNodePtr call(const CallExpr& c);
  ExprNodePtr member(const MemberExpr& m, ArgList args);
  ArgList args(const std::vector<ExprPtr>& list);
  Binding resolve(std::u16string_view name);
  ExprNodePtr bindingNode(const Binding& b, SourcePos pos);
  // Whether evaluating the expression can run script code (and so change variables).
  bool isPure(const Expr& e);
  // A literal, a sign before a number literal, or a Const: an operand VBScript treats as
  // hard-typed in a comparison.
  const Variant* hardLiteral(const Expr& e, Variant& storage);
  bool isHardLiteral(const Expr& e);
  // A comparison with a hard-typed literal operand; nullptr when the rule does not apply.
  ExprNodePtr literalComparison(const BinaryExpr& b);
  // Evaluates a constant expression now; raises a compile error for anything else.
  Variant constantValue(const Expr& e);

  // Statements (compile_stmt.cpp)
  void block(const Block& b, BlockNode& out);
  StmtNodePtr stmt(const Stmt& s);
  StmtNodePtr assignment(const AssignStmt& a);
  // `s = s & x ...` as an append to s's own string; plain itself for any other assignment.
  StmtNodePtr appendInPlace(const AssignStmt& a, StmtNodePtr plain);
  // `x = x + y` and `x = x - y` on whole numbers stored in place (AddInPlaceNode), else plain.
  StmtNodePtr addInPlace(const AssignStmt& a, StmtNodePtr plain);
  // The variable an assignment's target names when `read` names the same one; none otherwise.
  VariableSlot selfReadTarget(const AssignStmt& a, const Expr& read);
  // Declarations a block makes, hoisted to the start of its scope.
  void declare(const Block& b);

  [[noreturn]] void compileError(std::int32_t number, SourcePos pos) const;

  ModuleState& mod_;
  bool optionExplicit_;
  std::u16string_view source_;
  Scope* scope_ = nullptr;
  NoCaseMap<EntryKind> pending_;  // module names this unit defines
  NoCaseMap<Variant> pendingConsts_;
  NoCaseMap<bool> pendingClasses_;

 private:
  GlobalEntry* globalEntryFor(std::u16string_view name);
  GlobalEntry* classEntryFor(std::u16string_view name);
  void compileProcedure(const ProcDecl& d, Procedure& p, ClassDef* cls);
  std::shared_ptr<ClassDef> declareClass(const ClassDecl& d);
  void compileClassBodies(const ClassDecl& d, ClassDef& cls);
};

// Eval, GetRef and Execute need the compiler at run time (dynamic_code.cpp).
ExprNodePtr makeEvalNode(SourcePos pos, ArgList args);
ExprNodePtr makeGetRefNode(SourcePos pos, ArgList args);
StmtNodePtr makeExecuteNode(SourcePos pos, bool global, ExprNodePtr code);

// The library's functions and constants by name.
const BuiltinFunction* findBuiltinFunction(std::u16string_view name);
const Variant* findBuiltinConstant(std::u16string_view name);

}  // namespace vantorel::vbs
