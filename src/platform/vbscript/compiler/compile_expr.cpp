#include "platform/vbscript/compiler/compiler_impl.hpp"
#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/script_error.hpp"
#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

struct BuiltinTables {
  NoCaseMap<const BuiltinFunction*> functions;
  NoCaseMap<Variant> constants;
  BuiltinTables() {
    for (auto group :
         {stringFunctions(), conversionFunctions(), mathFunctions(), dateTimeFunctions(),
          typeFunctions(), arrayFunctions(), environmentFunctions()}) {
      for (const BuiltinFunction& f : group) functions.emplace(std::u16string(f.name), &f);
    }
    for (const BuiltinConstant& c : builtinConstants())
      constants.emplace(std::u16string(c.name), c.value);
  }
};

const BuiltinTables& tables() {
  static const BuiltinTables t;
  return t;
}

template <BinaryFn Fn>
ExprNodePtr binary(SourcePos p, ExprNodePtr l, ExprNodePtr r) {
  return std::make_unique<BinaryNode<Fn>>(p, std::move(l), std::move(r));
}

Operand rightOperand(ExprNodePtr r, bool pure) {
  Operand o(std::move(r));
  o.pure = pure;
  return o;
}

template <opfast::Arith A, BinaryFn Slow>
ExprNodePtr arith(SourcePos p, ExprNodePtr l, ExprNodePtr r, bool rightPure) {
  return std::make_unique<ArithNode<A, Slow>>(p, Operand(std::move(l)),
                                              rightOperand(std::move(r), rightPure));
}

template <opfast::Cmp C, BinaryFn Slow>
ExprNodePtr compare(SourcePos p, ExprNodePtr l, ExprNodePtr r, bool rightPure) {
  Operand left(std::move(l));
  if (const auto* bound = dynamic_cast<const ArrayBoundNode*>(r.get()); bound && left.var.found()) {
    const VariableSlot array = bound->variable;
    const bool upper = bound->upper;
    return makeCompareBound<C, Slow>(p, std::move(left), rightOperand(std::move(r), rightPure),
                                     array, upper);
  }
  return std::make_unique<CompareNode<C, Slow>>(p, std::move(left),
                                                rightOperand(std::move(r), rightPure));
}

ExprNodePtr binaryNode(BinaryOp op, SourcePos p, ExprNodePtr l, ExprNodePtr r, bool rightPure) {
  using opfast::Arith;
  using opfast::Cmp;
  switch (op) {
    case BinaryOp::Add:
      return arith<Arith::Add, opAdd>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Sub:
      return arith<Arith::Sub, opSub>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Mul:
      return arith<Arith::Mul, opMul>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Mod:
      return arith<Arith::Mod, opMod>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::IntDiv:
      return arith<Arith::IntDiv, opIntDiv>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Eq:
      return compare<Cmp::Eq, opEq>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Ne:
      return compare<Cmp::Ne, opNe>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Lt:
      return compare<Cmp::Lt, opLt>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Le:
      return compare<Cmp::Le, opLe>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Gt:
      return compare<Cmp::Gt, opGt>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Ge:
      return compare<Cmp::Ge, opGe>(p, std::move(l), std::move(r), rightPure);
    case BinaryOp::Pow:
      return binary<opPow>(p, std::move(l), std::move(r));
    case BinaryOp::Div:
      return binary<opDiv>(p, std::move(l), std::move(r));
    case BinaryOp::Concat:
      // a & b & c nests to the left: a third operand turns the pair on its left into a chain,
      // and each further one joins it. A lone & stays the plain operator.
      if (auto* chain = dynamic_cast<ConcatNode*>(l.get());
          chain && chain->parts.size() < ConcatNode::kMaxParts) {
        chain->parts.push_back(std::move(r));
        return l;
      }
      if (auto* pair = dynamic_cast<BinaryNode<opConcat>*>(l.get())) {
        auto chain =
            std::make_unique<ConcatNode>(pair->pos, std::move(pair->left), std::move(pair->right));
        chain->parts.push_back(std::move(r));
        return chain;
      }
      return binary<opConcat>(p, std::move(l), std::move(r));
    case BinaryOp::Is:
      return std::make_unique<IsNode>(p, std::move(l), std::move(r));
    case BinaryOp::And:
      return binary<opAnd>(p, std::move(l), std::move(r));
    case BinaryOp::Or:
      return binary<opOr>(p, std::move(l), std::move(r));
    case BinaryOp::Xor:
      return binary<opXor>(p, std::move(l), std::move(r));
    case BinaryOp::Eqv:
      return binary<opEqv>(p, std::move(l), std::move(r));
    case BinaryOp::Imp:
      return binary<opImp>(p, std::move(l), std::move(r));
  }
  return nullptr;
}

// Operators with an integer literal on the right skip evaluating it: `n - 1`, `i < 10`.
ExprNodePtr constantOperandNode(BinaryOp op, SourcePos p, ExprNodePtr& l, const Variant& c) {
  using opfast::Arith;
  using opfast::Cmp;
  if (c.type() != VarType::Integer && c.type() != VarType::Long) return nullptr;
  auto left = [&] { return Operand(std::move(l)); };
  switch (op) {
    case BinaryOp::Add:
      return std::make_unique<ArithConstNode<Arith::Add, opAdd>>(p, left(), c);
    case BinaryOp::Sub:
      return std::make_unique<ArithConstNode<Arith::Sub, opSub>>(p, left(), c);
    case BinaryOp::Mul:
      return std::make_unique<ArithConstNode<Arith::Mul, opMul>>(p, left(), c);
    case BinaryOp::Mod:
      return std::make_unique<ArithConstNode<Arith::Mod, opMod>>(p, left(), c);
    case BinaryOp::IntDiv:
      return std::make_unique<ArithConstNode<Arith::IntDiv, opIntDiv>>(p, left(), c);
    case BinaryOp::Eq:
      return std::make_unique<CompareConstNode<Cmp::Eq, opEq>>(p, left(), c);
    case BinaryOp::Ne:
      return std::make_unique<CompareConstNode<Cmp::Ne, opNe>>(p, left(), c);
    case BinaryOp::Lt:
      return std::make_unique<CompareConstNode<Cmp::Lt, opLt>>(p, left(), c);
    case BinaryOp::Le:
      return std::make_unique<CompareConstNode<Cmp::Le, opLe>>(p, left(), c);
    case BinaryOp::Gt:
      return std::make_unique<CompareConstNode<Cmp::Gt, opGt>>(p, left(), c);
    case BinaryOp::Ge:
      return std::make_unique<CompareConstNode<Cmp::Ge, opGe>>(p, left(), c);
    default:
      return nullptr;
  }
}

// ".name" outside any With.
struct UnqualifiedNode final : ExprNode {
  using ExprNode::ExprNode;
  Variant eval(Frame&) override { raiseVbError(vberr::kInvalidReference); }
};

}  // namespace

const BuiltinFunction* findBuiltinFunction(std::u16string_view name) {
  auto it = tables().functions.find(name);
  return it == tables().functions.end() ? nullptr : it->second;
}

const Variant* findBuiltinConstant(std::u16string_view name) {
  auto it = tables().constants.find(name);
  return it == tables().constants.end() ? nullptr : &it->second;
}

void Compiler::compileError(std::int32_t number, SourcePos pos) const {
  ScriptError e;
  e.number = number;
  e.source = kCompileErrorSource;
  e.description = compileErrorDescription(number);
  e.line = pos.line;
  e.column = pos.column;
  if (pos.line > 0 && !source_.empty()) {
    std::size_t start = 0;
    for (std::int32_t l = 1; l < pos.line && start != std::u16string_view::npos; ++l) {
      start = source_.find(u'\n', start);
      if (start != std::u16string_view::npos) ++start;
    }
    if (start != std::u16string_view::npos) {
      std::size_t end = source_.find_first_of(u"\r\n", start);
      e.text = std::u16string(
          source_.substr(start, end == std::u16string_view::npos ? end : end - start));
    }
  }
  throw ScriptException(std::move(e));
}

GlobalEntry* Compiler::globalEntryFor(std::u16string_view name) {
  if (pending_.count(name) == 0 && mod_.globalModule != &mod_) {
    GlobalEntry* own = mod_.find(name);
    if (!own || own->kind == EntryKind::Undefined) {
      GlobalEntry* g = mod_.globalModule->find(name);
      if (g && g->kind != EntryKind::Undefined) return g;
    }
  }
  return &mod_.entry(name);
}

GlobalEntry* Compiler::classEntryFor(std::u16string_view name) {
  if (pendingClasses_.count(name) == 0 && mod_.globalModule != &mod_) {
    GlobalEntry* own = mod_.findClass(name);
    if (!own || own->kind == EntryKind::Undefined) {
      GlobalEntry* g = mod_.globalModule->findClass(name);
      if (g && g->kind != EntryKind::Undefined) return g;
    }
  }
  return &mod_.classEntry(name);
}

Binding Compiler::resolve(std::u16string_view name) {
  Binding b;
  using K = Binding::Kind;
  if (Scope* s = scope_) {
    if (s->proc && equalsNoCase(name, s->proc->name) && s->proc->retSlot >= 0) {
      b.kind = K::Local;
      b.slot = s->proc->retSlot;
      b.isReturnValue = true;
      return b;
    }
    if (auto it = s->locals.find(name); it != s->locals.end()) {
      b.kind = K::Local;
      b.slot = it->second;
      return b;
    }
    if (auto it = s->tempLocals.find(name); it != s->tempLocals.end()) {
      b.kind = K::TempLocal;
      b.slot = it->second;
      return b;
    }
    if (auto it = s->params.find(name); it != s->params.end()) {
      b.kind = K::Param;
      b.slot = it->second;
      return b;
    }
    if (auto it = s->consts.find(name); it != s->consts.end()) {
      b.kind = K::Constant;
      b.value = it->second;
      return b;
    }
    if (auto it = s->implicits.find(name); it != s->implicits.end()) {
      b.kind = K::Implicit;
      b.entry = it->second.first;
      b.slot = it->second.second;
      return b;
    }
    if (ClassDef* c = s->cls) {
      if (auto it = c->byName.find(name); it != c->byName.end()) {
        const ClassMember& m = c->members[static_cast<std::size_t>(it->second)];
        b.kind = m.kind == ClassMember::Kind::Field ? K::Field : K::Member;
        b.slot = m.kind == ClassMember::Kind::Field ? m.slot : it->second;
        return b;
      }
      if (auto it = c->consts.find(name); it != c->consts.end()) {
        b.kind = K::Constant;
        b.value = it->second;
        return b;
      }
    }
  }
  if (auto it = pendingConsts_.find(name); it != pendingConsts_.end()) {
    b.kind = K::Constant;
    b.value = it->second;
    return b;
  }
  const bool defined = [&] {
    if (pending_.count(name)) return true;
    for (ModuleState* m : {&mod_, mod_.globalModule}) {
      GlobalEntry* e = m->find(name);
      if (e && e->kind != EntryKind::Undefined) return true;
    }
    return false;
  }();
  if (defined) {
    b.kind = K::Global;
    b.entry = globalEntryFor(name);
    return b;
  }
  if (equalsNoCase(name, u"Err")) {
    b.kind = K::Err;
    return b;
  }
  if (equalsNoCase(name, u"Eval")) {
    b.kind = K::Eval;
    return b;
  }
  if (equalsNoCase(name, u"GetRef")) {
    b.kind = K::GetRef;
    return b;
  }
  for (const Ref<Object>& o : mod_.rt->memberObjects) {
    DispId id = o->memberId(name);
    if (id != kDispIdUnknown) {
      b.kind = K::NamedMember;
      b.object = o;
      b.id = id;
      return b;
    }
  }
  if (const Variant* c = findBuiltinConstant(name)) {
    b.kind = K::Constant;
    b.value = *c;
    return b;
  }
  if (const BuiltinFunction* f = findBuiltinFunction(name)) {
    b.kind = K::Builtin;
    b.fn = f;
    return b;
  }
  b.entry = globalEntryFor(name);
  Scope* s = scope_;
  if (s && s->proc && !s->fixedSlots && !optionExplicit_) {
    const std::int32_t slot = s->numSlots++;
    s->implicits.emplace(std::u16string(name), std::make_pair(b.entry, slot));
    b.kind = K::Implicit;
    b.slot = slot;
    return b;
  }
  b.kind = K::Global;
  return b;
}

ExprNodePtr Compiler::bindingNode(const Binding& b, SourcePos pos) {
  using K = Binding::Kind;
  switch (b.kind) {
    case K::Local:
      return std::make_unique<LocalNode>(pos, b.slot);
    case K::TempLocal:
      return std::make_unique<TempVarNode>(pos, b.slot);
    case K::Param:
      return std::make_unique<ParamNode>(pos, b.slot);
    case K::Field:
      return std::make_unique<FieldNode>(pos, b.slot);
    case K::Member:
      return std::make_unique<ClassCallNode>(pos, scope_->cls, b.slot, ArgList{});
    case K::Constant:
      return std::make_unique<ConstantNode>(pos, b.value, std::u16string());
    case K::Global:
      return std::make_unique<GlobalNode>(pos, b.entry, optionExplicit_);
    case K::Implicit:
      return std::make_unique<ImplicitNode>(pos, b.entry, b.slot);
    case K::NamedMember:
      return std::make_unique<NamedMemberNode>(pos, b.object, b.id);
    case K::Builtin:
      return std::make_unique<BuiltinCallNode>(pos, b.fn, ArgList{});
    case K::Eval:
      return makeEvalNode(pos, ArgList{});
    case K::GetRef:
      return makeGetRefNode(pos, ArgList{});
    case K::Err:
      return std::make_unique<ErrNode>(pos);
  }
  return nullptr;
}

ExprNodePtr Compiler::nameNode(const NameExpr& n) {
  Binding b = resolve(n.name);
  ExprNodePtr node = bindingNode(b, n.pos);
  if (b.kind == Binding::Kind::Constant) static_cast<ConstantNode&>(*node).name = n.name;
  return node;
}

ArgList Compiler::args(const std::vector<ExprPtr>& list) {
  ArgList out;
  for (const ExprPtr& a : list) {
    if (!a) {
      out.add(std::make_unique<LiteralNode>(SourcePos{}, Variant::missing()), ArgMode::Missing);
      continue;
    }
    ArgMode mode = ArgMode::Value;
    if (a->kind == ExprKind::Name) {
      if (resolve(static_cast<const NameExpr&>(*a).name).isVariable()) mode = ArgMode::Ref;
    } else if (a->kind == ExprKind::Call) {
      const Expr& callee = *static_cast<const CallExpr&>(*a).callee;
      if (callee.kind == ExprKind::Name &&
          resolve(static_cast<const NameExpr&>(callee).name).isVariable()) {
        mode = ArgMode::Element;
      }
    }
    out.add(expr(*a), mode);
  }
  return out;
}

namespace {

// The name VBScript gives a value that should have been an object: the variable, member or
// function it came from.
std::u16string nameOf(const Expr* e) {
  if (!e) return {};
  switch (e->kind) {
    case ExprKind::Name:
      return static_cast<const NameExpr*>(e)->name;
    case ExprKind::Member:
      return static_cast<const MemberExpr*>(e)->name;
    case ExprKind::Call:
      return nameOf(static_cast<const CallExpr*>(e)->callee.get());
    default:
      return {};
  }
}

}  // namespace

ExprNodePtr Compiler::member(const MemberExpr& m, ArgList a) {
  ExprNodePtr obj;
  if (m.object) {
    obj = expr(*m.object);
  } else if (scope_ && !scope_->withSlots.empty()) {
    obj = std::make_unique<TempNode>(m.pos, scope_->withSlots.back());
  } else {
    obj = std::make_unique<UnqualifiedNode>(m.pos);
  }
  const bool viaMe = m.object && m.object->kind == ExprKind::Me;
  auto node = std::make_unique<MemberNode>(m.pos, std::move(obj), m.name, std::move(a), viaMe);
  node->objectName = nameOf(m.object.get());
  return node;
}

ExprNodePtr Compiler::call(const CallExpr& c) {
  const Expr& callee = *c.callee;
  if (callee.kind == ExprKind::Member)
    return member(static_cast<const MemberExpr&>(callee), args(c.args));
  if (callee.kind != ExprKind::Name)
    return std::make_unique<IndexNode>(c.pos, expr(callee), args(c.args));
  const auto& name = static_cast<const NameExpr&>(callee).name;
  Binding b = resolve(name);
  using K = Binding::Kind;
  if (b.isReturnValue) {
    // fname(args) inside fname is a recursive call, not an index into the return value.
    if (scope_->cls) {
      return classCall(c.pos, scope_->cls, scope_->cls->byName.at(name), args(c.args));
    }
    return globalCall(c.pos, globalEntryFor(name), args(c.args), optionExplicit_);
  }
  switch (b.kind) {
    case K::Global:
      return globalCall(c.pos, b.entry, args(c.args), optionExplicit_);
    case K::Member:
      return classCall(c.pos, scope_->cls, b.slot, args(c.args));
    case K::Builtin: {
      ArgList list = args(c.args);
      const bool upper = equalsNoCase(b.fn->name, u"UBound");
      if ((upper || equalsNoCase(b.fn->name, u"LBound")) && list.size() == 1 &&
          list.items[0].mode != ArgMode::Missing && list.items[0].variable.found()) {
        return std::make_unique<ArrayBoundNode>(c.pos, b.fn, std::move(list), upper);
      }
      return std::make_unique<BuiltinCallNode>(c.pos, b.fn, std::move(list));
    }
    case K::Eval:
      return makeEvalNode(c.pos, args(c.args));
    case K::GetRef:
      return makeGetRefNode(c.pos, args(c.args));
    case K::Implicit: {
      auto global = std::make_unique<GlobalCallNode>(c.pos, b.entry, args(c.args), optionExplicit_);
      auto local = std::make_unique<IndexNode>(
          c.pos, std::make_unique<LocalNode>(callee.pos, b.slot), args(c.args));
      return std::make_unique<ImplicitCallNode>(c.pos, b.entry, std::move(global),
                                                std::move(local));
    }
    case K::NamedMember: {
      auto obj = std::make_unique<LiteralNode>(c.pos, Variant(b.object));
      return std::make_unique<MemberNode>(c.pos, std::move(obj), name, args(c.args), false);
    }
    default:
      return std::make_unique<IndexNode>(c.pos, bindingNode(b, callee.pos), args(c.args));
  }
}

ExprNodePtr Compiler::expr(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Literal:
      return std::make_unique<LiteralNode>(e.pos, static_cast<const LiteralExpr&>(e).value);
    case ExprKind::Name:
      return nameNode(static_cast<const NameExpr&>(e));
    case ExprKind::Member:
      return member(static_cast<const MemberExpr&>(e), ArgList{});
    case ExprKind::Call:
      return call(static_cast<const CallExpr&>(e));
    case ExprKind::Paren:
      return expr(*static_cast<const ParenExpr&>(e).inner);
    case ExprKind::New: {
      const auto& n = static_cast<const NewExpr&>(e);
      return std::make_unique<NewNode>(e.pos, classEntryFor(n.className), n.className);
    }
    case ExprKind::Me:
      return std::make_unique<MeNode>(e.pos);
    case ExprKind::Unary: {
      const auto& u = static_cast<const UnaryExpr&>(e);
      ExprNodePtr operand = expr(*u.operand);
      switch (u.op) {
        case UnaryOp::Negate:
          return std::make_unique<NegateNode>(e.pos, std::move(operand));
        case UnaryOp::Plus:
          return std::make_unique<UnaryNode<opPlus>>(e.pos, std::move(operand));
        case UnaryOp::Not:
          return std::make_unique<UnaryNode<opNot>>(e.pos, std::move(operand));
      }
      break;
    }
    case ExprKind::Binary: {
      const auto& b = static_cast<const BinaryExpr&>(e);
      if (ExprNodePtr n = literalComparison(b)) return n;
      ExprNodePtr l = expr(*b.left);
      if (b.right->kind == ExprKind::Literal) {
        if (ExprNodePtr n = constantOperandNode(b.op, e.pos, l,
                                                static_cast<const LiteralExpr&>(*b.right).value)) {
          return n;
        }
      }
      ExprNodePtr r = expr(*b.right);
      return binaryNode(b.op, e.pos, std::move(l), std::move(r), isPure(*b.right));
    }
  }
  compileError(vberr::kSyntaxError, e.pos);
}

namespace {

// Whether a literal's value is hard-typed in a comparison: strings, numbers and dates are;
// True and False are not (a Boolean meets a string as its text, or not at all).
bool isHardValue(const Variant& v) {
  return v.isString() || (isHardNumberLiteral(v) && v.type() != VarType::Boolean);
}

template <BinaryFn Fn>
ExprNodePtr literalCompare(SourcePos p, ExprNodePtr other, const Variant& lit, bool left) {
  return std::make_unique<LiteralCompareNode<Fn>>(p, std::move(other), lit, left);
}

}  // namespace

// The literal value of a hard-typed operand: a literal, a sign before a number literal, or a
// Const, which stands for its literal (the signed value is kept in `storage`).
const Variant* Compiler::hardLiteral(const Expr& e, Variant& storage) {
  switch (e.kind) {
    case ExprKind::Literal: {
      const Variant& v = static_cast<const LiteralExpr&>(e).value;
      return isHardValue(v) ? &v : nullptr;
    }
    case ExprKind::Unary: {
      const auto& u = static_cast<const UnaryExpr&>(e);
      if (u.op == UnaryOp::Not || u.operand->kind != ExprKind::Literal) return nullptr;
      const Variant& v = static_cast<const LiteralExpr&>(*u.operand).value;
      if (!v.isNumericType()) return nullptr;
      storage = u.op == UnaryOp::Negate ? opNegate(v) : v;
      return &storage;
    }
    case ExprKind::Name: {
      Binding b = resolve(static_cast<const NameExpr&>(e).name);
      if (b.kind != Binding::Kind::Constant || !isHardValue(b.value)) return nullptr;
      storage = std::move(b.value);
      return &storage;
    }
    default:
      return nullptr;
  }
}

bool Compiler::isHardLiteral(const Expr& e) {
  Variant storage;
  return hardLiteral(e, storage) != nullptr;
}

ExprNodePtr Compiler::literalComparison(const BinaryExpr& b) {
  switch (b.op) {
    case BinaryOp::Eq:
    case BinaryOp::Ne:
    case BinaryOp::Lt:
    case BinaryOp::Le:
    case BinaryOp::Gt:
    case BinaryOp::Ge:
      break;
    default:
      return nullptr;
  }
  Variant leftSigned, rightSigned;
  const Variant* l = hardLiteral(*b.left, leftSigned);
  const Variant* r = hardLiteral(*b.right, rightSigned);
  if (!l && !r) return nullptr;
  // An Integer or Long on the right (a literal, a signed one, or a Const such as vbBoolean)
  // takes the faster CompareConstNode, which applies the same rule; two literals of one kind
  // need nothing.
  if (r && !l && (r->type() == VarType::Integer || r->type() == VarType::Long)) {
    if (b.right->kind == ExprKind::Literal) return nullptr;
    ExprNodePtr other = expr(*b.left);
    return constantOperandNode(b.op, b.pos, other, *r);
  }
  if (l && r && l->isString() == r->isString()) return nullptr;
  // With two literals the string side is read as a number.
  const bool literalLeft = l && (!r || !l->isString());
  const Variant& lit = literalLeft ? *l : *r;
  ExprNodePtr other = expr(literalLeft ? *b.right : *b.left);
  const SourcePos p = b.pos;
  switch (b.op) {
    case BinaryOp::Eq:
      return literalCompare<opEq>(p, std::move(other), lit, literalLeft);
    case BinaryOp::Ne:
      return literalCompare<opNe>(p, std::move(other), lit, literalLeft);
    case BinaryOp::Lt:
      return literalCompare<opLt>(p, std::move(other), lit, literalLeft);
    case BinaryOp::Le:
      return literalCompare<opLe>(p, std::move(other), lit, literalLeft);
    case BinaryOp::Gt:
      return literalCompare<opGt>(p, std::move(other), lit, literalLeft);
    case BinaryOp::Ge:
      return literalCompare<opGe>(p, std::move(other), lit, literalLeft);
    default:
      return nullptr;
  }
}

bool Compiler::isPure(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Literal:
    case ExprKind::Me:
      return true;
    case ExprKind::Paren:
      return isPure(*static_cast<const ParenExpr&>(e).inner);
    case ExprKind::Unary:
      return isPure(*static_cast<const UnaryExpr&>(e).operand);
    case ExprKind::Binary: {
      const auto& b = static_cast<const BinaryExpr&>(e);
      return isPure(*b.left) && isPure(*b.right);
    }
    case ExprKind::Name: {
      // A name may be a function called without parentheses; variables and constants are safe.
      const Binding b = resolve(static_cast<const NameExpr&>(e).name);
      switch (b.kind) {
        case Binding::Kind::Local:
        case Binding::Kind::Param:
        case Binding::Kind::Field:
        case Binding::Kind::Constant:
          return true;
        case Binding::Kind::Global:
          return b.entry->kind == EntryKind::Variable ||
                 (pending_.count(b.entry->name) &&
                  pending_.at(b.entry->name) == EntryKind::Variable);
        default:
          return false;
      }
    }
    default:
      return false;
  }
}

Variant Compiler::constantValue(const Expr& e) {
  // Only literals, other constants and operators on them: such an expression needs no frame.
  auto check = [&](auto&& self, const Expr& x) -> void {
    switch (x.kind) {
      case ExprKind::Literal:
        return;
      case ExprKind::Paren:
        return self(self, *static_cast<const ParenExpr&>(x).inner);
      case ExprKind::Unary:
        return self(self, *static_cast<const UnaryExpr&>(x).operand);
      case ExprKind::Binary: {
        const auto& b = static_cast<const BinaryExpr&>(x);
        self(self, *b.left);
        return self(self, *b.right);
      }
      case ExprKind::Name:
        if (resolve(static_cast<const NameExpr&>(x).name).kind == Binding::Kind::Constant) return;
        break;
      default:
        break;
    }
    compileError(vberr::kExpectedLiteral, x.pos);
  };
  check(check, e);
  ExprNodePtr node = expr(e);
  Frame f;
  f.rt = mod_.rt;
  f.module = &mod_;
  try {
    return node->eval(f);
  } catch (const AutomationError&) {
    compileError(vberr::kExpectedLiteral, e.pos);
  }
}

}  // namespace vantorel::vbs
