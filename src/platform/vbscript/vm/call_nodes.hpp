#pragma once
// Calls, indexing and member access. Arguments that name a variable pass the variable itself;
// array elements pass a temporary that is stored back after a by-reference call; everything
// else passes a temporary.
#include <string>
#include <type_traits>
#include <vector>

#include "platform/vbscript/runtime/builtins.hpp"
#include "platform/vbscript/vm/runtime.hpp"
#include "platform/vbscript/vm/script_class.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

enum class ArgMode : std::uint8_t { Value, Ref, Element, Missing };

// How a call puts one argument into the callee's frame, decided when the call is compiled for
// either passing of the parameter.
enum class ArgStep : std::uint8_t {
  Reference,         // the caller's local, parameter or field itself
  ReferenceOrValue,  // what the expression names, else its value as by value
  Global,            // a module-level variable itself; ReferenceOrValue while it is none
  Variable,          // a copy of the caller's variable
  Element,           // a copy of `a(i)` read in place, else the expression's value
  Missing,           // a left-out argument
  Constant,          // a copy of a literal or constant
  Evaluate,          // the expression's value, built in the slot
};

// What a call knows of its arguments when compiled, for the code that passes them: any number
// (a loop), one of any kind, or one literal or constant, copied without asking its kind (and
// OneText when it holds text, whose copy only counts a reference).
enum class ArgShape : std::uint8_t { Many, One, OneConstant, OneText };

struct ArgList {
  struct Arg {
    ExprNodePtr expr;
    ArgMode mode;
    VariableSlot variable;            // where a plain variable argument lives
    const struct IndexNode* element;  // `a(i)` of a plain variable, read in place
    const Variant* constant;          // the value of a literal or constant, copied without a call
    GlobalEntry* global;              // the module-level name a by-reference argument names
    // The step for a ByRef parameter ([0]) and for a ByVal one ([1]); [1] is also what
    // ReferenceOrValue and Global fall back to. Anything else (`n - 1`, a call) is evaluated
    // straight into its slot.
    ArgStep steps[2];
  };
  std::vector<Arg> items;
  std::uint32_t count = 0;  // items.size(), read on every call without a division
  bool hasElements = false;
  // Every argument is a literal, a constant or a plain variable (or left out): evaluating one
  // runs nothing that could change another.
  bool allPlain = true;

  // How a list of one index is read: a literal or a variable needs no node run for it.
  enum class Single : std::uint8_t { No, Literal, Variable, Expression };
  Single single = Single::No;
  std::int32_t literalIndex = 0;

  std::size_t size() const { return count; }
  ArgShape shape() const;
  void add(ExprNodePtr e, ArgMode m);
  // The one index as a number (Single is not No).
  [[gnu::always_inline]] std::int32_t singleIndex(Frame& f) const {
    // Inline for a literal and for a variable holding a whole number, as loops index.
    if (single == Single::Literal) return literalIndex;
    if (single == Single::Variable) {
      const Variant& v = *items[0].variable.get(f);
      if (v.type() == VarType::Integer) return v.integerValue();
      if (v.type() == VarType::Long) return v.longValue();
    }
    return convertedIndex(f);
  }
  // Fills buf with pointers to the caller's variables or to temporaries.
  void prepare(Frame& f, ArgBuffer& buf) const;
  // Values only, as builtins take them.
  void prepareValues(Frame& f, ArgBuffer& buf) const;
  // The same for a callee that only reads its arguments and runs no script: with allPlain, a
  // variable or literal holding text, a number or the like is passed as it is, not copied.
  void prepareReadOnly(Frame& f, ArgBuffer& buf) const;
  // Stores by-reference elements back, for the parameters of p that are ByRef (all when p is null).
  void storeBack(Frame& f, ArgBuffer& buf, const Procedure* p) const;
  // The one index of any other kind, converted as an index is.
  std::int32_t convertedIndex(Frame& f) const;
  // Calls p, which takes as many parameters as the list has arguments, with the arguments
  // evaluated straight into its frame.
  // One function for the general call nodes, which reach it by a tail call; the nodes for
  // one argument build the frame themselves (enter).
  [[gnu::noinline]] Variant call(Frame& f, Procedure& p, ScriptObject* me) const;
  // The same for a call statement of a Sub, which has no result to hand back.
  [[gnu::noinline]] void run(Frame& f, Procedure& p, ScriptObject* me) const;

 private:
  template <VariableSlot::Kind K, ArgShape kShape>
  friend struct MemberCallStatement;
  template <ArgShape kShape>
  friend struct GlobalCallOne;
  template <ArgShape kShape>
  friend struct ClassCallOne;
  // kShape: what the list is (shape()); kSmall: p's slots fit on the stack (the large frame
  // is apart, in enterLarge, so that the common calls neither allocate nor test for it).
  template <bool kResult, ArgShape kShape, bool kSmall>
  auto enter(Frame& f, Procedure& p, ScriptObject* me) const
      -> std::conditional_t<kResult, Variant, void>;
  template <bool kResult>
  [[gnu::noinline]] auto enterLarge(Frame& f, Procedure& p, ScriptObject* me) const
      -> std::conditional_t<kResult, Variant, void>;
  // After the call, while its frame stands: array elements passed to ByRef parameters get
  // what the callee left in their slots.
  [[gnu::noinline]] void storeElementsBack(Frame& f, Variant* vals,
                                           const std::uint8_t* byVal) const;
};

// x(args) where x is any value: an array element, or the default member of an object.
struct IndexNode final : ExprNode {
  IndexNode(SourcePos p, ExprNodePtr b, ArgList a)
      : ExprNode(p),
        base(std::move(b)),
        args(std::move(a)),
        baseVariable(VariableSlot::of(*base, /*plainOnly=*/true)) {}
  Variant eval(Frame& f) override;
  void assign(Frame& f, Variant v, bool isSet) override;
  void storeBack(Frame& f, Variant& v) override;
  // The element `a(i)` names in place, when a is a local, parameter or field holding an array
  // and there is one index; null (with nothing evaluated) otherwise.
  const Variant* elementInPlace(Frame& f) const {
    if (!baseVariable.found() || args.single == ArgList::Single::No) return nullptr;
    const Variant* b = baseVariable.get(f);
    return b->isArray() ? &b->arrayValue().at(args.singleIndex(f)) : nullptr;
  }
  // The variable the base names, or null when it names none.
  Variant* baseRef(Frame& f) const {
    return baseVariable.found() ? baseVariable.get(f) : base->ref(f);
  }
  ExprNodePtr base;
  ArgList args;
  VariableSlot baseVariable;  // a local, parameter or field base, read without a call
};

// name(args) for a module-level name: a procedure call, or an index into a global variable.
struct GlobalCallNode : ExprNode {
  GlobalCallNode(SourcePos p, GlobalEntry* e, ArgList a, bool explicitOn)
      : ExprNode(p), entry(e), args(std::move(a)), optionExplicit(explicitOn) {}
  Variant eval(Frame& f) override;
  void run(Frame& f) override;
  void assign(Frame& f, Variant v, bool isSet) override;
  void storeBack(Frame& f, Variant& v) override;
  GlobalEntry* entry;
  ArgList args;
  bool optionExplicit;

 private:
  Variant evalOther(Frame& f);  // everything but a call with the procedure's own count
};

// GlobalCallNode for a list of one argument (kShape): a procedure taking one parameter is
// called with its frame built in eval or run itself, no second call on the way.
template <ArgShape kShape>
struct GlobalCallOne final : GlobalCallNode {
  using GlobalCallNode::GlobalCallNode;
  Variant eval(Frame& f) override;
  void run(Frame& f) override;
};

// The node of name(args) for a module-level name: GlobalCallOne where it applies.
ExprNodePtr globalCall(SourcePos pos, GlobalEntry* e, ArgList a, bool explicitOn);

// name(args) for a name a procedure uses undeclared: its own local unless a module-level name
// of that name exists by the time the code runs.
struct ImplicitCallNode final : ExprNode {
  ImplicitCallNode(SourcePos p, GlobalEntry* e, std::unique_ptr<GlobalCallNode> g,
                   std::unique_ptr<IndexNode> l)
      : ExprNode(p), entry(e), global(std::move(g)), local(std::move(l)) {}
  Variant eval(Frame& f) override {
    return entry->kind == EntryKind::Undefined ? local->eval(f) : global->eval(f);
  }
  void assign(Frame& f, Variant v, bool isSet) override {
    if (entry->kind == EntryKind::Undefined) {
      local->assign(f, std::move(v), isSet);
    } else {
      global->assign(f, std::move(v), isSet);
    }
  }
  void storeBack(Frame& f, Variant& v) override {
    if (entry->kind == EntryKind::Undefined) {
      local->storeBack(f, v);
    } else {
      global->storeBack(f, v);
    }
  }
  GlobalEntry* entry;
  std::unique_ptr<GlobalCallNode> global;
  std::unique_ptr<IndexNode> local;
};

// A member of the class whose code is running, reached without "Me.".
struct ClassCallNode : ExprNode {
  ClassCallNode(SourcePos p, const ClassDef* c, std::int32_t m, ArgList a)
      : ExprNode(p), cls(c), member(m), args(std::move(a)) {}
  Variant eval(Frame& f) override;
  void run(Frame& f) override;
  void assign(Frame& f, Variant v, bool isSet) override;
  Variant* ref(Frame& f) override;
  void storeBack(Frame& f, Variant& v) override;
  const ClassDef* cls;
  std::int32_t member;
  ArgList args;

 private:
  Variant evalOther(Frame& f, const ClassMember& m);
};

// ClassCallNode for a list of one argument (kShape): a method or Property Get of one parameter
// is called with its frame built in eval or run itself.
template <ArgShape kShape>
struct ClassCallOne final : ClassCallNode {
  using ClassCallNode::ClassCallNode;
  Variant eval(Frame& f) override;
  void run(Frame& f) override;
};

// The node of a call of a member of the class whose code is running: ClassCallOne where it
// applies.
ExprNodePtr classCall(SourcePos pos, const ClassDef* c, std::int32_t m, ArgList a);

// object.name or object.name(args), late-bound with a cache of the member per class.
struct MemberNode final : ExprNode {
  MemberNode(SourcePos p, ExprNodePtr o, std::u16string n, ArgList a, bool privateAccess)
      : ExprNode(p),
        object(std::move(o)),
        name(std::move(n)),
        args(std::move(a)),
        allowPrivate(privateAccess),
        objectVariable_(VariableSlot::of(*object, /*plainOnly=*/false)) {}
  Variant eval(Frame& f) override;
  void run(Frame& f) override;
  void assign(Frame& f, Variant v, bool isSet) override;
  // run() where the cached Sub applies, inline in the call statement; false, with nothing
  // run, otherwise.
  [[gnu::always_inline]] bool runCached(Frame& f) const;
  // Where the object is read: a variable's kind, or None for an expression.
  VariableSlot::Kind objectKind() const { return objectVariable_.kind; }
  ExprNodePtr object;
  std::u16string name;
  ArgList args;
  bool allowPrivate;
  std::u16string objectName;  // what "Object required" names: the expression before the dot

 private:
  template <VariableSlot::Kind K, ArgShape kShape>
  friend struct MemberCallStatement;
  // The object, kept alive by keep for the call.
  Object* target(Frame& f, Ref<Object>& keep);
  void resolve(Object& o);
  // A local, parameter, field or module-level variable holding the object (a script's main
  // code calls its objects through globals); a module-level name that is no variable now is
  // evaluated instead.
  VariableSlot objectVariable_;
  const ClassInfo* cachedClass_ = nullptr;
  DispId cachedId_ = kDispIdUnknown;
  const ClassMember* cachedMember_ = nullptr;
  // The procedure the cached member runs when called with this many arguments; null when the
  // call takes the general way (a field, Let or Set, another count).
  Procedure* cachedProc_ = nullptr;
  Procedure* cachedSub_ = nullptr;  // cachedProc_ when it is a Sub, which a statement calls
  // The script object the fast path may call: the variable holds it, of the cached class.
  ScriptObject* cachedTarget(Frame& f) const;
};

// `object.Method args` as a statement where object is a local, parameter, field or module-level
// variable (K): the member's cached Sub runs from the statement itself, its frame built here
// (with one argument in this very function). Whatever the cache does not cover goes the
// member node's general way.
template <VariableSlot::Kind K, ArgShape kShape>
struct MemberCallStatement final : StmtNode {
  MemberCallStatement(SourcePos p, std::unique_ptr<MemberNode> c)
      : StmtNode(p), call(std::move(c)) {}
  Flow exec(Frame& f) override;
  std::unique_ptr<MemberNode> call;
};

// The node of a call statement: MemberCallStatement where it applies, else CallStmtNode.
StmtNodePtr callStatement(SourcePos pos, ExprNodePtr call);

struct BuiltinCallNode final : ExprNode {
  BuiltinCallNode(SourcePos p, const BuiltinFunction* f, ArgList a)
      : ExprNode(p), fn(f), args(std::move(a)) {}
  Variant eval(Frame& f) override;
  void run(Frame& f) override;
  const BuiltinFunction* fn;
  ArgList args;
};

// UBound(v) or LBound(v) of a variable holding an array: the bound is read in place, as a loop
// or a growing buffer tests it on every pass. Anything else goes the builtin's own way.
struct ArrayBoundNode final : ExprNode {
  ArrayBoundNode(SourcePos p, const BuiltinFunction* f, ArgList a, bool upper)
      : ExprNode(p), variable(a.items.at(0).variable), upper(upper), general(p, f, std::move(a)) {}
  Variant eval(Frame& f) override;
  // The bound as a whole number for arithmetic and comparisons; false, with nothing run, when
  // the variable holds no array.
  bool evalInt(Frame& f, std::int64_t& out, bool& isInteger) override;
  bool hasIntPath() const override { return variable.found(); }
  VariableSlot variable;
  bool upper;
  BuiltinCallNode general;
};

// New ClassName: a script class, or RegExp.
struct NewNode final : ExprNode {
  NewNode(SourcePos p, GlobalEntry* e, std::u16string n)
      : ExprNode(p), entry(e), name(std::move(n)) {}
  Variant eval(Frame& f) override;
  GlobalEntry* entry;
  std::u16string name;
};

}  // namespace vantorel::vbs
