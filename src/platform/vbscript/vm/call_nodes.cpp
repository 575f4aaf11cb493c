// A call writes its frame's fields one by one: packing pairs of them into vector registers
// first, as GCC would, takes more instructions than it saves.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("no-tree-slp-vectorize")
#endif
#include "platform/vbscript/vm/call_nodes.hpp"

#include "platform/automation/class_factory.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

// The index arguments followed by the assigned value, in one buffer.
struct ArgsWithValue {
  ArgsWithValue(Frame& f, const ArgList& list, Variant& value) : buf(list.size() + 1) {
    list.prepare(f, buf);
    buf.setRef(list.size(), &value);
  }
  ArgBuffer buf;
};

bool singleIndex(const Variant& base, const ArgList& args) {
  return base.isArray() && args.single != ArgList::Single::No;
}

std::int32_t indexNumber(const Variant& i) {
  return i.type() == VarType::Long      ? i.longValue()
         : i.type() == VarType::Integer ? i.integerValue()
                                        : toLong(i);
}

Variant fastIndex(Frame& f, const Variant& base, const ArgList& args) {
  if (singleIndex(base, args)) return base.arrayValue().at(args.singleIndex(f));
  ArgBuffer buf(args.size());
  args.prepareValues(f, buf);
  return indexValue(base, buf.args());
}

// The procedure a read or call of a script class member runs when it takes exactly the
// arguments given; null for fields, Let and Set, and the indexing cases.
Procedure* directProc(const ClassMember& m, std::size_t n) {
  Procedure* p = m.kind == ClassMember::Kind::Method     ? m.method
                 : m.kind == ClassMember::Kind::Property ? m.get
                                                         : nullptr;
  return p && p->numParams() == n ? p : nullptr;
}

}  // namespace

void ArgList::add(ExprNodePtr e, ArgMode m) {
  if (m == ArgMode::Element) hasElements = true;
  const VariableSlot variable = VariableSlot::of(*e, /*plainOnly=*/true);
  const Variant* constant = fixedValue(*e);
  single = Single::No;
  if (items.empty() && m != ArgMode::Missing) {
    single = variable.found() ? Single::Variable : Single::Expression;
    const VarType type = constant ? constant->type() : VarType::Empty;
    if (type == VarType::Long || type == VarType::Integer) {
      single = Single::Literal;
      literalIndex = indexNumber(*constant);
    }
  }
  const auto* element = dynamic_cast<const IndexNode*>(e.get());
  allPlain = allPlain && (m == ArgMode::Missing || constant || variable.found());
  // By value, the argument is copied from the first of these it is; by reference, a variable
  // argument passes the variable, and anything else a value as by value.
  const ArgStep byValue = variable.found()        ? ArgStep::Variable
                          : element               ? ArgStep::Element
                          : m == ArgMode::Missing ? ArgStep::Missing
                          : constant              ? ArgStep::Constant
                                                  : ArgStep::Evaluate;
  const VariableSlot named = VariableSlot::of(*e, /*plainOnly=*/false);
  GlobalEntry* global = named.kind == VariableSlot::Kind::Global ? named.entry : nullptr;
  const ArgStep byReference = m != ArgMode::Ref  ? byValue
                              : variable.found() ? ArgStep::Reference
                              : global           ? ArgStep::Global
                                                 : ArgStep::ReferenceOrValue;
  items.push_back(
      Arg{std::move(e), m, variable, element, constant, global, {byReference, byValue}});
  count = static_cast<std::uint32_t>(items.size());
}

ArgShape ArgList::shape() const {
  if (count != 1) return ArgShape::Many;
  const ArgStep(&steps)[2] = items[0].steps;
  if (steps[0] != ArgStep::Constant || steps[1] != ArgStep::Constant) return ArgShape::One;
  return items[0].constant->isString() ? ArgShape::OneText : ArgShape::OneConstant;
}

std::int32_t ArgList::convertedIndex(Frame& f) const {
  switch (single) {
    case Single::Literal:
      return literalIndex;
    case Single::Variable:
      return indexNumber(*items[0].variable.get(f));
    default:
      return indexNumber(items[0].expr->eval(f));
  }
}

namespace {

// Builds the value of an argument a by-value parameter gets (or a by-reference one naming no
// variable) in its slot, not built yet.
void passValue(Frame& f, const ArgList::Arg& a, ArgStep step, Variant& slot) {
  switch (step) {
    case ArgStep::Variable:
      new (&slot) Variant(*a.variable.get(f));
      break;
    case ArgStep::Element:
      if (const Variant* element = a.element->elementInPlace(f)) {
        new (&slot) Variant(*element);
      } else {
        new (&slot) Variant(a.expr->eval(f));
      }
      break;
    case ArgStep::Missing:
      new (&slot) Variant(Variant::missing());
      break;
    case ArgStep::Constant:
      new (&slot) Variant(*a.constant);
      break;
    default:
      new (&slot) Variant(a.expr->eval(f));
      break;
  }
}

// Puts argument `built` into the callee's frame: its slot, not built yet, is built (Empty
// when the parameter names the caller's variable) and counted; ref points at what the
// parameter names.
template <ArgShape kShape>
[[gnu::always_inline]] inline void passArgument(Frame& f, const ArgList::Arg& a, std::uint8_t byVal,
                                                Variant& slot, Variant*& ref, std::size_t& built) {
  if constexpr (kShape == ArgShape::OneConstant || kShape == ArgShape::OneText) {
    // A literal or constant is no array: nothing more to it than the copy.
    const Variant& constant = *a.constant;
    if (kShape == ArgShape::OneText && !constant.isString()) __builtin_unreachable();
    new (&slot) Variant(constant);
    ++built;
    ref = &slot;
    return;
  }
  ArgStep step = a.steps[byVal];
  // The commonest first: `n - 1`, a literal, a variable by reference.
  if (step == ArgStep::Evaluate) {
    new (&slot) Variant(a.expr->eval(f));
  } else if (step == ArgStep::Constant) {
    new (&slot) Variant(*a.constant);
  } else if (step == ArgStep::Reference) {
    new (&slot) Variant();
    ++built;
    ref = a.variable.get(f);
    return;
  } else if (step == ArgStep::Global && a.global->kind == EntryKind::Variable) {
    new (&slot) Variant();
    ++built;
    ref = &a.global->value;
    return;
  } else {
    if (step == ArgStep::ReferenceOrValue || step == ArgStep::Global) {
      if (Variant* r = a.expr->ref(f)) {
        new (&slot) Variant();
        ++built;
        ref = r;
        return;
      }
      step = a.steps[1];
    }
    passValue(f, a, step, slot);
  }
  ++built;
  // A by-value copy of a fixed array is the procedure's own, free to ReDim.
  if (slot.isArray() && byVal && slot.arrayValue().fixed()) slot.arrayForWrite().setFixed(false);
  ref = &slot;
}

}  // namespace

template <bool kResult, ArgShape kShape, bool kSmall>
[[gnu::always_inline]] inline auto ArgList::enter(Frame& f, Procedure& p, ScriptObject* me) const
    -> std::conditional_t<kResult, Variant, void> {
  // The arguments are evaluated before anything of the call is checked, as a call through an
  // argument list does.
  // The parameters' slots are built by their arguments, each once.
  const std::size_t n = kShape == ArgShape::Many ? count : 1;
  constexpr bool kConstant = kShape == ArgShape::OneConstant || kShape == ArgShape::OneText;
  CallFrame<kSmall> frame(*f.rt, p, me, n);
  Variant* vals = frame.vals();
  Variant** refs = frame.refs();
  const Arg* const list = items.data();
  const std::uint8_t* const byVal = p.byVal.data();
  std::size_t built = 0;
  if constexpr (kConstant) {
    passArgument<kShape>(f, list[0], 1, vals[0], refs[0], built);  // a copy cannot fail
  } else {
    try {
      if constexpr (kShape == ArgShape::One) {
        passArgument<kShape>(f, list[0], byVal[0], vals[0], refs[0], built);
      } else {
        while (built != n) {
          const std::size_t i = built;
          passArgument<kShape>(f, list[i], byVal[i], vals[i], refs[i], built);
        }
      }
    } catch (...) {
      frame.fillFrom(built);  // what the failed argument left unbuilt, for the frame to end
      throw;
    }
  }
  frame.run();
  if constexpr (!kConstant) {
    if (hasElements) [[unlikely]] {
      storeElementsBack(f, vals, byVal);
    }
  }
  if constexpr (kResult) return p.retSlot >= 0 ? std::move(vals[p.retSlot]) : Variant();
}

void ArgList::storeElementsBack(Frame& f, Variant* vals, const std::uint8_t* byVal) const {
  for (std::size_t i = 0; i < count; ++i) {
    if (items[i].mode == ArgMode::Element && !byVal[i]) items[i].expr->storeBack(f, vals[i]);
  }
}

template <bool kResult>
auto ArgList::enterLarge(Frame& f, Procedure& p, ScriptObject* me) const
    -> std::conditional_t<kResult, Variant, void> {
  return enter<kResult, ArgShape::Many, false>(f, p, me);
}

Variant ArgList::call(Frame& f, Procedure& p, ScriptObject* me) const {
  if (!CallFrame<>::fitsInline(p)) [[unlikely]] {
    return enterLarge<true>(f, p, me);
  }
  // One argument, as recursion and most methods take, without the loop over them.
  if (count == 1) return enter<true, ArgShape::One, true>(f, p, me);
  return enter<true, ArgShape::Many, true>(f, p, me);
}

void ArgList::run(Frame& f, Procedure& p, ScriptObject* me) const {
  if (!CallFrame<>::fitsInline(p)) [[unlikely]] {
    enterLarge<false>(f, p, me);
  } else if (count == 1) {
    enter<false, ArgShape::One, true>(f, p, me);
  } else {
    enter<false, ArgShape::Many, true>(f, p, me);
  }
}

void ArgList::prepare(Frame& f, ArgBuffer& buf) const {
  for (std::size_t i = 0; i < items.size(); ++i) {
    switch (items[i].mode) {
      case ArgMode::Missing:
        buf.setTemp(i, [] { return Variant::missing(); });
        break;
      case ArgMode::Ref:
        if (Variant* r = items[i].expr->ref(f)) {
          buf.setRef(i, r);
          break;
        }
        [[fallthrough]];
      case ArgMode::Value:
      case ArgMode::Element:
        buf.setTemp(i, [&] { return items[i].expr->eval(f); });
        break;
    }
  }
}

void ArgList::prepareValues(Frame& f, ArgBuffer& buf) const {
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Arg& a = items[i];
    if (a.mode == ArgMode::Missing) {
      buf.setTemp(i, [] { return Variant::missing(); });
    } else if (a.constant) {
      buf.setTemp(i, [&] { return *a.constant; });
    } else if (const Variant* v = a.variable.found() ? a.variable.get(f) : nullptr) {
      buf.setTemp(i, [v] { return *v; });
    } else {
      buf.setTemp(i, [&] { return a.expr->eval(f); });
    }
  }
}

void ArgList::prepareReadOnly(Frame& f, ArgBuffer& buf) const {
  if (!allPlain) {
    prepareValues(f, buf);
    return;
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Arg& a = items[i];
    if (a.mode == ArgMode::Missing) {
      buf.setTemp(i, [] { return Variant::missing(); });
      continue;
    }
    const Variant* v = a.constant ? a.constant : a.variable.get(f);
    // Reading an object's default value may run script that changes the variable, and an
    // array's elements are the callee's to walk: those are copied as before.
    if (v->isObject() || v->isArray()) {
      buf.setTemp(i, [v] { return *v; });
    } else {
      buf.setShared(i, v);
    }
  }
}

void ArgList::storeBack(Frame& f, ArgBuffer& buf, const Procedure* p) const {
  if (!hasElements) return;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].mode != ArgMode::Element) continue;
    if (p && (i >= p->numParams() || p->byVal[i])) continue;
    items[i].expr->storeBack(f, buf.temp(i));
  }
}

Variant IndexNode::eval(Frame& f) {
  if (const Variant* element = elementInPlace(f)) return *element;
  if (Variant* b = baseRef(f)) return fastIndex(f, *b, args);
  Variant v = base->eval(f);
  return fastIndex(f, v, args);
}

void IndexNode::assign(Frame& f, Variant v, bool isSet) {
  Variant* b = baseRef(f);
  if (!b) {
    // Not a variable: only an object's default member can take the assignment.
    Variant holder = base->eval(f);
    if (holder.isArray()) {
      // a(1)(2) = v: the inner array is an element of the outer one; change it and put it back.
      ArgBuffer buf(args.size());
      args.prepareValues(f, buf);
      assignIndexed(holder, buf.args(), std::move(v), isSet);
      base->assign(f, std::move(holder), false);
      return;
    }
    if (!holder.isObject()) raiseVbError(vberr::kTypeMismatch);
    ArgBuffer buf(args.size());
    args.prepare(f, buf);
    assignIndexed(holder, buf.args(), std::move(v), isSet);
    return;
  }
  if (singleIndex(*b, args)) {
    // a(i) = v, the commonest element assignment: no argument buffer. The index is taken
    // before the array is made writable, as the general path does.
    const std::int32_t idx = args.singleIndex(f);
    if (isSet) {
      if (!v.isObject()) raiseVbError(vberr::kObjectRequired);
    } else if (v.isObject()) {
      v = letValue(std::move(v));
    }
    if (!b->isArray()) raiseVbError(vberr::kTypeMismatch);
    b->arrayForWrite().at(idx) = std::move(v);
    return;
  }
  ArgBuffer buf(args.size());
  args.prepareValues(f, buf);
  assignIndexed(*b, buf.args(), std::move(v), isSet);
}

void IndexNode::storeBack(Frame& f, Variant& v) {
  Variant* b = base->ref(f);
  if (b && b->isArray()) assign(f, v, v.isObject());
}

Variant GlobalCallNode::eval(Frame& f) {
  // A call of a procedure with its own number of arguments, the commonest case, takes no stack
  // of its own here: both returns are tail calls.
  if (Procedure* p = entry->kind == EntryKind::Procedure ? entry->proc : nullptr;
      p && args.size() == p->numParams()) {
    return args.call(f, *p, nullptr);
  }
  return evalOther(f);
}

void GlobalCallNode::run(Frame& f) {
  // A Sub called as a statement: no result to build and drop. A Function's result still goes
  // after the call, as an expression's does.
  if (Procedure* p = entry->kind == EntryKind::Procedure ? entry->proc : nullptr;
      p && p->retSlot < 0 && args.size() == p->numParams()) {
    args.run(f, *p, nullptr);
    return;
  }
  eval(f);
}

namespace {

// Node<shape> built from args (moved from) for a list of one argument; null, with nothing
// moved, for any other.
template <template <ArgShape> class Node, class Base, class... Args>
std::unique_ptr<Base> oneArgumentNode(ArgShape shape, Args&... args) {
  switch (shape) {
    case ArgShape::One:
      return std::make_unique<Node<ArgShape::One>>(std::move(args)...);
    case ArgShape::OneConstant:
      return std::make_unique<Node<ArgShape::OneConstant>>(std::move(args)...);
    case ArgShape::OneText:
      return std::make_unique<Node<ArgShape::OneText>>(std::move(args)...);
    case ArgShape::Many:
      break;
  }
  return nullptr;
}

// The procedure a module-level name calls with one argument in a frame on the stack; null when
// the call takes the general way.
[[gnu::always_inline]] inline Procedure* smallProcOfOne(const GlobalEntry& e) {
  Procedure* p = e.kind == EntryKind::Procedure ? e.proc : nullptr;
  return p && p->numParams() == 1 && CallFrame<>::fitsInline(*p) ? p : nullptr;
}

}  // namespace

template <ArgShape kShape>
Variant GlobalCallOne<kShape>::eval(Frame& f) {
  if (Procedure* p = smallProcOfOne(*entry)) return args.enter<true, kShape, true>(f, *p, nullptr);
  return GlobalCallNode::eval(f);
}

template <ArgShape kShape>
void GlobalCallOne<kShape>::run(Frame& f) {
  if (Procedure* p = smallProcOfOne(*entry); p && p->retSlot < 0) {
    args.enter<false, kShape, true>(f, *p, nullptr);
    return;
  }
  GlobalCallNode::run(f);
}

ExprNodePtr globalCall(SourcePos pos, GlobalEntry* e, ArgList a, bool explicitOn) {
  const ArgShape shape = a.shape();
  if (auto one = oneArgumentNode<GlobalCallOne, ExprNode>(shape, pos, e, a, explicitOn)) return one;
  return std::make_unique<GlobalCallNode>(pos, e, std::move(a), explicitOn);
}

Variant GlobalCallNode::evalOther(Frame& f) {
  switch (entry->kind) {
    case EntryKind::Procedure: {
      Procedure* p = &readableProc(*entry);
      if (args.size() == p->numParams()) return args.call(f, *p, nullptr);
      if (args.size() > 0 && p->numParams() == 0) {
        // f(1) where f takes nothing: the index applies to what f returns.
        return fastIndex(f, f.rt->call(*p, nullptr, nullptr, 0), args);
      }
      ArgBuffer buf(args.size());
      args.prepare(f, buf);
      Variant r = f.rt->call(*p, nullptr, buf.ptrs(), buf.size(), buf.tempStorage());
      args.storeBack(f, buf, p);
      return r;
    }
    case EntryKind::Variable:
    case EntryKind::Constant:
    case EntryKind::Object:
      return fastIndex(f, entry->value, args);
    case EntryKind::Class:
    case EntryKind::Undefined:
      break;
  }
  if (optionExplicit && entry->kind == EntryKind::Undefined)
    raiseNamed(vberr::kVariableUndefined, entry->name);
  raiseNamed(vberr::kTypeMismatch, entry->name);
}

void GlobalCallNode::assign(Frame& f, Variant v, bool isSet) {
  if (entry->kind == EntryKind::Variable || entry->kind == EntryKind::Object) {
    ArgBuffer buf(args.size());
    args.prepareValues(f, buf);
    assignIndexed(entry->value, buf.args(), std::move(v), isSet);
    return;
  }
  if (entry->kind == EntryKind::Undefined) {
    raiseNamed(optionExplicit ? vberr::kVariableUndefined : vberr::kTypeMismatch, entry->name);
  }
  if (entry->kind == EntryKind::Procedure) {
    ArgsWithValue a(f, args, v);
    assignThroughProperty(*f.rt, *entry, isSet, a.buf.ptrs(), a.buf.size());
    return;
  }
  raiseNamed(vberr::kIllegalAssignment, entry->name);
}

void GlobalCallNode::storeBack(Frame& f, Variant& v) {
  if (entry->kind == EntryKind::Variable && entry->value.isArray()) assign(f, v, v.isObject());
}

Variant ClassCallNode::eval(Frame& f) {
  const ClassMember& m = cls->members[static_cast<std::size_t>(member)];
  if (Procedure* p = f.me ? directProc(m, args.size()) : nullptr) return args.call(f, *p, f.me);
  return evalOther(f, m);
}

void ClassCallNode::run(Frame& f) {
  const ClassMember& m = cls->members[static_cast<std::size_t>(member)];
  if (Procedure* p = f.me ? directProc(m, args.size()) : nullptr; p && p->retSlot < 0) {
    args.run(f, *p, f.me);
    return;
  }
  eval(f);
}

namespace {

// The procedure member m of the running object calls with one argument in a frame on the
// stack; null when the call takes the general way.
[[gnu::always_inline]] inline Procedure* smallProcOfOne(const Frame& f, const ClassMember& m) {
  Procedure* p = f.me ? directProc(m, 1) : nullptr;
  return p && CallFrame<>::fitsInline(*p) ? p : nullptr;
}

}  // namespace

template <ArgShape kShape>
Variant ClassCallOne<kShape>::eval(Frame& f) {
  const ClassMember& m = cls->members[static_cast<std::size_t>(member)];
  if (Procedure* p = smallProcOfOne(f, m)) return args.enter<true, kShape, true>(f, *p, f.me);
  return ClassCallNode::eval(f);
}

template <ArgShape kShape>
void ClassCallOne<kShape>::run(Frame& f) {
  const ClassMember& m = cls->members[static_cast<std::size_t>(member)];
  if (Procedure* p = smallProcOfOne(f, m); p && p->retSlot < 0) {
    args.enter<false, kShape, true>(f, *p, f.me);
    return;
  }
  ClassCallNode::run(f);
}

ExprNodePtr classCall(SourcePos pos, const ClassDef* c, std::int32_t m, ArgList a) {
  const ArgShape shape = a.shape();
  if (auto one = oneArgumentNode<ClassCallOne, ExprNode>(shape, pos, c, m, a)) return one;
  return std::make_unique<ClassCallNode>(pos, c, m, std::move(a));
}

Variant ClassCallNode::evalOther(Frame& f, const ClassMember& m) {
  if (!f.me) raiseVbError(vberr::kObjectRequired);
  ArgBuffer buf(args.size());
  args.prepare(f, buf);
  Variant r = invokeScriptMember(*f.rt, *f.me, m, kInvokeMethod | kInvokeGet, buf.ptrs(),
                                 buf.size(), buf.tempStorage());
  const Procedure* p = m.kind == ClassMember::Kind::Method ? m.method : m.get;
  args.storeBack(f, buf, p);
  return r;
}

void ClassCallNode::assign(Frame& f, Variant v, bool isSet) {
  const ClassMember& m = cls->members[static_cast<std::size_t>(member)];
  if (!f.me) raiseVbError(vberr::kObjectRequired);
  ArgsWithValue a(f, args, v);
  invokeScriptMember(*f.rt, *f.me, m, isSet ? kInvokeSet : kInvokeLet, a.buf.ptrs(), a.buf.size());
}

Variant* ClassCallNode::ref(Frame& f) {
  const ClassMember& m = cls->members[static_cast<std::size_t>(member)];
  if (m.kind == ClassMember::Kind::Field && args.size() == 0 && f.me) return &f.me->field(m.slot);
  return nullptr;
}

void ClassCallNode::storeBack(Frame& f, Variant& v) {
  const ClassMember& m = cls->members[static_cast<std::size_t>(member)];
  if (m.kind == ClassMember::Kind::Field && f.me && f.me->field(m.slot).isArray())
    assign(f, v, v.isObject());
}

Object* MemberNode::target(Frame& f, Ref<Object>& keep) {
  // A variable is read where it stands: only the object's count changes, not a Variant's.
  Variant held;
  const Variant* v = objectVariable_.get(f);
  if (!v) {
    held = object->eval(f);
    v = &held;
  }
  // A member of Nothing is "Object required" as much as a member of a number is.
  if (!v->isObject() || v->isNothing()) raiseNamed(vberr::kObjectRequired, objectName);
  Object* o = v->objectValue();
  keep = Ref<Object>(o);
  if (&o->classInfo() != cachedClass_) resolve(*o);
  return o;
}

void MemberNode::resolve(Object& o) {
  cachedMember_ = nullptr;
  cachedProc_ = nullptr;
  cachedSub_ = nullptr;
  cachedId_ = kDispIdUnknown;
  if (auto* so = dynamic_cast<ScriptObject*>(&o)) {
    const ClassMember* m = so->cls().findMember(name);
    if (m && (m->isPublic || allowPrivate)) {
      cachedMember_ = m;
      cachedProc_ = directProc(*m, args.size());
      cachedSub_ = cachedProc_ && cachedProc_->retSlot < 0 ? cachedProc_ : nullptr;
    }
  } else {
    cachedId_ = o.memberId(name);
  }
  if (!cachedMember_ && cachedId_ == kDispIdUnknown) {
    cachedClass_ = nullptr;
    raiseNamed(vberr::kNotSupported, name);
  }
  cachedClass_ = &o.classInfo();
}

[[gnu::always_inline]] inline ScriptObject* MemberNode::cachedTarget(Frame& f) const {
  const Variant* v = objectVariable_.get(f);
  Object* o = v && v->isObject() ? v->objectValue() : nullptr;
  return o && &o->classInfo() == cachedClass_ ? static_cast<ScriptObject*>(o) : nullptr;
}

inline bool MemberNode::runCached(Frame& f) const {
  // `object.Method args` on a Sub: the fast path of eval without a result.
  if (!cachedSub_) return false;
  ScriptObject* so = cachedTarget(f);
  if (!so) return false;
  const Ref<Object> keep(so);  // the call may assign the variable
  args.run(f, *cachedSub_, so);
  return true;
}

void MemberNode::run(Frame& f) {
  if (!runCached(f)) eval(f);
}

template <VariableSlot::Kind K, ArgShape kShape>
Flow MemberCallStatement<K, kShape>::exec(Frame& f) {
  // The fast path of MemberNode::run. No Sub cached: a native object's member (a template's
  // output, a host object), or a script member not found yet; either goes the general way
  // before the variable is even read.
  MemberNode& m = *call;
  Procedure* sub = m.cachedSub_;
  if (!sub) {
    m.eval(f);
    return Flow::Normal;
  }
  const Variant* v = variableIn<K>(f, m.objectVariable_);
  Object* o = v && v->isObject() ? v->objectValue() : nullptr;
  if (!o || &o->classInfo() != m.cachedClass_) {
    m.run(f);
    return Flow::Normal;
  }
  auto* so = static_cast<ScriptObject*>(o);
  const Ref<Object> keep(so);  // the call may assign the variable
  if constexpr (kShape != ArgShape::Many) {
    if (CallFrame<>::fitsInline(*sub)) [[likely]] {
      m.args.enter<false, kShape, true>(f, *sub, so);
      return Flow::Normal;
    }
  }
  m.args.run(f, *sub, so);
  return Flow::Normal;
}

namespace {

// MemberCallStatement of kind K, by its shape alone.
template <VariableSlot::Kind K>
struct MemberCallStatementOf {
  template <ArgShape kShape>
  using Shaped = MemberCallStatement<K, kShape>;
};

template <VariableSlot::Kind K>
StmtNodePtr memberCallStatement(SourcePos pos, std::unique_ptr<MemberNode> call) {
  const ArgShape shape = call->args.shape();
  if (auto one =
          oneArgumentNode<MemberCallStatementOf<K>::template Shaped, StmtNode>(shape, pos, call)) {
    return one;
  }
  return std::make_unique<MemberCallStatement<K, ArgShape::Many>>(pos, std::move(call));
}

}  // namespace

StmtNodePtr callStatement(SourcePos pos, ExprNodePtr call) {
  const bool isMember = dynamic_cast<MemberNode*>(call.get()) != nullptr;
  if (!isMember) return std::make_unique<CallStmtNode>(pos, std::move(call));
  std::unique_ptr<MemberNode> m(static_cast<MemberNode*>(call.release()));
  using Kind = VariableSlot::Kind;
  switch (m->objectKind()) {
    case Kind::Local:
      return memberCallStatement<Kind::Local>(pos, std::move(m));
    case Kind::Param:
      return memberCallStatement<Kind::Param>(pos, std::move(m));
    case Kind::Field:
      return memberCallStatement<Kind::Field>(pos, std::move(m));
    case Kind::Global:
      return memberCallStatement<Kind::Global>(pos, std::move(m));
    case Kind::None:
      break;
  }
  return std::make_unique<CallStmtNode>(pos, std::move(m));
}

Flow CallStmtNode::exec(Frame& f) {
  if (member) {
    if (!member->runCached(f)) member->eval(f);
  } else {
    call->run(f);
  }
  return Flow::Normal;
}

Variant MemberNode::eval(Frame& f) {
  // A method of a script object held by a variable, the commonest member call: the object
  // and its member as the last call found them, the arguments straight into the frame. A
  // member of a native object pays one test for it.
  if (cachedProc_) {
    if (ScriptObject* so = cachedTarget(f)) {
      const Ref<Object> keep(so);  // the call may assign the variable
      return args.call(f, *cachedProc_, so);
    }
  }
  Ref<Object> keep;
  Object* o = target(f, keep);
  if (cachedMember_) {
    const ClassMember& m = *cachedMember_;
    auto& so = static_cast<ScriptObject&>(*o);
    if (Procedure* p = directProc(m, args.size())) return args.call(f, *p, &so);
    ArgBuffer buf(args.size());
    args.prepare(f, buf);
    Variant r = invokeScriptMember(*f.rt, so, m, kInvokeMethod | kInvokeGet, buf.ptrs(), buf.size(),
                                   buf.tempStorage());
    args.storeBack(f, buf, m.kind == ClassMember::Kind::Method ? m.method : m.get);
    return r;
  }
  ArgBuffer buf(args.size());
  args.prepare(f, buf);
  if (args.size() == 0) return o->invoke(cachedId_, kInvokeMethod | kInvokeGet, buf.args());
  try {
    return o->invoke(cachedId_, kInvokeMethod | kInvokeGet, buf.args());
  } catch (const AutomationError& e) {
    // o.Items(0) where Items takes no index: the index applies to the property's value.
    const MemberInfo* mi = o->classInfo().member(cachedId_);
    if (vbErrorNumber(e.number()) != vberr::kWrongArgumentCount || !mi || !mi->get || mi->method)
      throw;
  }
  return indexValue(o->invoke(cachedId_, kInvokeGet, CallArgs()), buf.args());
}

void MemberNode::assign(Frame& f, Variant v, bool isSet) {
  Ref<Object> keep;
  Object* o = target(f, keep);
  ArgsWithValue a(f, args, v);
  const std::uint8_t flags = isSet ? kInvokeSet : kInvokeLet;
  if (isSet && !v.isObject()) raiseVbError(vberr::kObjectRequired);
  if (cachedMember_) {
    invokeScriptMember(*f.rt, static_cast<ScriptObject&>(*o), *cachedMember_, flags, a.buf.ptrs(),
                       a.buf.size());
  } else {
    o->invoke(cachedId_, flags, a.buf.args());
  }
}

Variant BuiltinCallNode::eval(Frame& f) {
  const auto n = static_cast<std::int32_t>(args.size());
  if (n < fn->minArgs || (fn->maxArgs >= 0 && n > fn->maxArgs)) {
    raiseNamed(vberr::kWrongArgumentCount, fn->name);
  }
  ArgBuffer buf(args.size());
  args.prepareReadOnly(f, buf);
  return fn->call(f.rt->state, buf.args());
}

void BuiltinCallNode::run(Frame& f) {
  // A Byte result cannot be dropped by a call statement (Call CByte(1)): error 458, once the
  // function itself has succeeded.
  if (eval(f).type() == VarType::Byte) raiseVbError(vberr::kUnsupportedAutomationType);
}

bool ArrayBoundNode::evalInt(Frame& f, std::int64_t& out, bool& isInteger) {
  if (!firstBound(variable.get(f), upper, out)) return false;
  isInteger = false;  // a bound is a Long
  return true;
}

Variant ArrayBoundNode::eval(Frame& f) {
  std::int64_t bound = 0;
  bool isInteger = false;
  if (evalInt(f, bound, isInteger)) return Variant(static_cast<std::int32_t>(bound));
  return general.eval(f);
}

Variant NewNode::eval(Frame& f) {
  // A script may declare a class named RegExp, but New RegExp still makes the built-in one.
  if (equalsNoCase(name, u"RegExp")) {
    return Variant(ClassFactory::instance().create(u"VBScript.RegExp"));
  }
  if (entry && entry->kind == EntryKind::Class) {
    std::shared_ptr<ClassDef> cls = entry->cls;
    return Variant(cls->instantiate(cls));
  }
  for (const auto& [className, make] : f.rt->hostClasses) {
    if (equalsNoCase(className, name)) return Variant(make());
  }
  raiseNamed(vberr::kClassNotDefined, name);
}

}  // namespace vantorel::vbs
