#pragma once
// Nodes that name a value: literals, constants, locals, parameters, fields, globals, Me, Err.
// Each is bound to its slot or entry when compiled.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/safe_array.hpp"
#include "platform/vbscript/vm/runtime.hpp"
#include "platform/vbscript/vm/script_class.hpp"

namespace vantorel::vbs {

// A variable declared with bounds takes no assignment as a whole.
inline void refuseFixedTarget(const Variant& dst) {
  if (dst.isArray() && dst.arrayValue().fixed()) raiseVbError(vberr::kTypeMismatch);
}
// An array assigned to a variable is a copy that variable may ReDim, even if it came from a
// variable declared with bounds.
inline void unfixAssigned(Variant& dst) {
  if (dst.isArray() && dst.arrayValue().fixed()) dst.arrayForWrite().setFixed(false);
}

// Whether the value holds nothing counted (Empty, Null, numbers, dates, Booleans), so that
// copying or replacing it is a plain copy of its words.
[[gnu::always_inline]] inline bool plainValue(const Variant& v) {
  const VarType t = v.type();
  return static_cast<unsigned>(t) < static_cast<unsigned>(VarType::String) || t == VarType::Boolean;
}

// Let stores the default value of an object; Set insists on an object.
inline void storeValue(Variant& dst, Variant v, bool isSet) {
  refuseFixedTarget(dst);
  if (v.isArray() && !isSet) {
    dst = std::move(v);
    unfixAssigned(dst);
    return;
  }
  if (isSet) {
    if (!v.isObject()) raiseVbError(vberr::kObjectRequired);
    dst = std::move(v);
  } else if (v.isObject()) {
    dst = letValue(std::move(v));
  } else {
    dst = std::move(v);
  }
}

struct LiteralNode final : ExprNode {
  LiteralNode(SourcePos p, Variant v) : ExprNode(p), value(std::move(v)) {}
  Variant eval(Frame&) override { return value; }
  Variant value;
};

// A named constant: reads give the value, assignments raise "Illegal assignment".
struct ConstantNode final : ExprNode {
  ConstantNode(SourcePos p, Variant v, std::u16string n)
      : ExprNode(p), value(std::move(v)), name(std::move(n)) {}
  Variant eval(Frame&) override { return value; }
  void assign(Frame&, Variant, bool) override { raiseNamed(vberr::kIllegalAssignment, name); }
  Variant value;
  std::u16string name;
};

// The value of a literal or a named constant, which no run changes: read in place instead of
// through a node call. Null for any other expression.
inline const Variant* fixedValue(const ExprNode& e) {
  if (const auto* literal = dynamic_cast<const LiteralNode*>(&e)) return &literal->value;
  if (const auto* constant = dynamic_cast<const ConstantNode*>(&e)) return &constant->value;
  return nullptr;
}

// Let of a variable's value into dst (`x = y`): copied once, without a call for the value; an
// object's default value is read the general way.
inline void letCopy(ExprNode& node, Frame& f, const Variant& v, Variant& dst) {
  if (v.isObject()) {
    node.ExprNode::evalInto(f, dst);
  } else if (plainValue(dst)) {
    // Over nothing counted (a result not set yet, a number): built in place, no swap and no
    // release of the old value.
    new (&dst) Variant(v);
  } else {
    dst = v;
  }
}

struct LocalNode final : ExprNode {
  LocalNode(SourcePos p, std::int32_t s) : ExprNode(p), slot(s) {}
  Variant eval(Frame& f) override { return f.vals[slot]; }
  void evalInto(Frame& f, Variant& dst) override { letCopy(*this, f, f.vals[slot], dst); }
  Variant* ref(Frame& f) override { return &f.vals[slot]; }
  void assign(Frame& f, Variant v, bool isSet) override {
    if (!isSet && !v.isObject() && !v.isArray() && !f.vals[slot].isArray()) {
      f.vals[slot].swap(v);
    } else {
      storeValue(f.vals[slot], std::move(v), isSet);
    }
  }
  std::int32_t slot;
};

struct ParamNode final : ExprNode {
  ParamNode(SourcePos p, std::int32_t i) : ExprNode(p), index(i) {}
  Variant eval(Frame& f) override { return *f.refs[index]; }
  void evalInto(Frame& f, Variant& dst) override { letCopy(*this, f, *f.refs[index], dst); }
  Variant* ref(Frame& f) override { return f.refs[index]; }
  void assign(Frame& f, Variant v, bool isSet) override {
    storeValue(*f.refs[index], std::move(v), isSet);
  }
  std::int32_t index;
};

struct FieldNode final : ExprNode {
  FieldNode(SourcePos p, std::int32_t s) : ExprNode(p), slot(s) {}
  Variant eval(Frame& f) override { return f.me->field(slot); }
  void evalInto(Frame& f, Variant& dst) override { letCopy(*this, f, f.me->field(slot), dst); }
  Variant* ref(Frame& f) override { return &f.me->field(slot); }
  void assign(Frame& f, Variant v, bool isSet) override {
    storeValue(f.me->field(slot), std::move(v), isSet);
  }
  std::int32_t slot;
};

// The With object, kept in a hidden slot of the frame.
struct TempNode final : ExprNode {
  TempNode(SourcePos p, std::int32_t s) : ExprNode(p), slot(s) {}
  Variant eval(Frame& f) override { return f.temps[slot]; }
  std::int32_t slot;
};

// A variable declared by code that Execute runs inside a procedure, in the hidden slots.
struct TempVarNode final : ExprNode {
  TempVarNode(SourcePos p, std::int32_t s) : ExprNode(p), slot(s) {}
  Variant eval(Frame& f) override { return f.temps[slot]; }
  Variant* ref(Frame& f) override { return &f.temps[slot]; }
  void assign(Frame& f, Variant v, bool isSet) override {
    storeValue(f.temps[slot], std::move(v), isSet);
  }
  std::int32_t slot;
};

struct MeNode final : ExprNode {
  explicit MeNode(SourcePos p) : ExprNode(p) {}
  Variant eval(Frame& f) override {
    if (!f.me) raiseVbError(vberr::kObjectRequired);
    return Variant(static_cast<Object*>(f.me));
  }
};

struct ErrNode final : ExprNode {
  explicit ErrNode(SourcePos p) : ExprNode(p) {}
  Variant eval(Frame& f) override { return Variant(f.rt->errRef()); }
};

// A module-level name. What it is may change between runs (a later AddCode defines it), so the
// entry's kind is checked each time: one predictable branch.
struct GlobalNode final : ExprNode {
  GlobalNode(SourcePos p, GlobalEntry* e, bool explicitOn)
      : ExprNode(p), entry(e), optionExplicit(explicitOn) {}
  Variant eval(Frame& f) override;
  Variant* ref(Frame& f) override;
  void assign(Frame& f, Variant v, bool isSet) override;
  // A bare name as a statement calls it; nothing of that name exists to call.
  void run(Frame& f) override {
    if (entry->kind == EntryKind::Undefined) {
      raiseNamed(optionExplicit ? vberr::kVariableUndefined : vberr::kTypeMismatch, entry->name);
    }
    eval(f);
  }
  GlobalEntry* entry;
  bool optionExplicit;
};

// A name a procedure assigns without declaring it: a local, unless a global of that name exists
// by the time the code runs.
struct ImplicitNode final : ExprNode {
  ImplicitNode(SourcePos p, GlobalEntry* e, std::int32_t s)
      : ExprNode(p), global(p, e, false), slot(s) {}
  Variant eval(Frame& f) override {
    return global.entry->kind == EntryKind::Undefined ? f.vals[slot] : global.eval(f);
  }
  Variant* ref(Frame& f) override {
    return global.entry->kind == EntryKind::Undefined ? &f.vals[slot] : global.ref(f);
  }
  void run(Frame& f) override {
    if (global.entry->kind == EntryKind::Undefined) {
      raiseNamed(vberr::kTypeMismatch, global.entry->name);
    }
    global.eval(f);
  }
  void assign(Frame& f, Variant v, bool isSet) override {
    if (global.entry->kind == EntryKind::Undefined) {
      storeValue(f.vals[slot], std::move(v), isSet);
    } else {
      global.assign(f, std::move(v), isSet);
    }
  }
  GlobalNode global;
  std::int32_t slot;
};

// Where a variable node's value lives, so that hot paths read it without a virtual call: a
// local, a parameter, a field of the running object, or a module-level variable.
struct VariableSlot {
  enum class Kind : std::uint8_t { None, Local, Param, Field, Global };
  Kind kind = Kind::None;
  std::int32_t slot = 0;
  GlobalEntry* entry = nullptr;

  // None unless e is one of the four; with plainOnly, a module-level name is None too (its
  // reference may define it, which only the node itself does).
  static VariableSlot of(const ExprNode& e, bool plainOnly);
  bool found() const { return kind != Kind::None; }
  // The variable; null for None and for a module-level name that is not a variable now.
  [[gnu::always_inline]] Variant* get(Frame& f) const {
    switch (kind) {
      case Kind::Local:
        return &f.vals[slot];
      case Kind::Param:
        return f.refs[slot];
      case Kind::Field:
        return &f.me->field(slot);
      case Kind::Global:
        return entry->kind == EntryKind::Variable ? &entry->value : nullptr;
      case Kind::None:
        break;
    }
    return nullptr;
  }
};

// The variable v names, for code that knows its kind K when it is compiled: found without
// asking the kind (None asks v). Null where v.get is null.
template <VariableSlot::Kind K>
[[gnu::always_inline]] inline Variant* variableIn(Frame& f, const VariableSlot& v) {
  using Kind = VariableSlot::Kind;
  if constexpr (K == Kind::Field) {
    return &f.me->field(v.slot);
  } else if constexpr (K == Kind::Local) {
    return &f.vals[v.slot];
  } else if constexpr (K == Kind::Param) {
    return f.refs[v.slot];
  } else if constexpr (K == Kind::Global) {
    return v.entry->kind == EntryKind::Variable ? &v.entry->value : nullptr;
  } else {
    return v.get(f);
  }
}

// A local, parameter or field whose kind the compiler found, kept as a byte offset from the
// frame's locals, its parameters' references or the running object's fields: found with no
// test of the kind and no scaling of a slot number.
template <VariableSlot::Kind K>
struct FixedVariable {
  explicit FixedVariable(std::int32_t slot)
      : offset(static_cast<std::ptrdiff_t>(slot) *
               static_cast<std::ptrdiff_t>(K == VariableSlot::Kind::Param ? sizeof(Variant*)
                                                                          : sizeof(Variant))) {}
  [[gnu::always_inline]] Variant& in(Frame& f) const {
    using Kind = VariableSlot::Kind;
    static_assert(K == Kind::Local || K == Kind::Param || K == Kind::Field);
    if constexpr (K == Kind::Local) {
      return *reinterpret_cast<Variant*>(reinterpret_cast<char*>(f.vals) + offset);
    } else if constexpr (K == Kind::Param) {
      return **reinterpret_cast<Variant**>(reinterpret_cast<char*>(f.refs) + offset);
    } else {
      // The running object outlives the statement: its caller holds a reference for the call.
      return *reinterpret_cast<Variant*>(reinterpret_cast<char*>(&f.me->field(0)) + offset);
    }
  }
  std::ptrdiff_t offset;
};

// A bound of the array a variable holds (UBound or LBound of its first dimension); false when
// it holds no array, or one without dimensions.
[[gnu::always_inline]] inline bool firstBound(const Variant* v, bool upper, std::int64_t& out) {
  return v && v->isArray() && v->arrayValue().firstBound(upper, out);
}

// A member of a named object added with its members as globals.
struct NamedMemberNode final : ExprNode {
  NamedMemberNode(SourcePos p, Ref<Object> o, DispId i)
      : ExprNode(p), object(std::move(o)), id(i) {}
  Variant eval(Frame&) override {
    return object->invoke(id, kInvokeMethod | kInvokeGet, CallArgs());
  }
  void assign(Frame&, Variant v, bool isSet) override {
    Variant* p = &v;
    object->invoke(id, isSet ? kInvokeSet : kInvokeLet, CallArgs(std::span<Variant* const>(&p, 1)));
  }
  Ref<Object> object;
  DispId id;
};

}  // namespace vantorel::vbs
