// The element assignments whose array, index and value the compiler found to be variables
// (AssignElementNode::make): one node type for each pairing of where the three are read.
#include <array>
#include <new>
#include <span>

#include "platform/automation/safe_array.hpp"
#include "platform/vbscript/vm/script_class.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

using Kind = VariableSlot::Kind;

// The old value is released once the new one is in place, as Class_Terminate may read it.
[[gnu::noinline]] Flow replaceElement(Variant& element, const Variant& v) {
  element = v;
  return Flow::Normal;
}

// a(i) = v with a, i and v each a local, parameter or field (Index None: i is a literal): they
// are read with no code run, so in any order. Done in place when a is an array of one dimension
// that only this variable holds, i a whole number within its bounds and v text or a plain
// value; anything else (an object, whose default value may run code, an array, which is copied,
// an index to convert or out of range) is the general path's, with nothing changed.
template <Kind Value, Kind Array, Kind Index>
struct AssignElementInPlace final : AssignElementNode {
  AssignElementInPlace(SourcePos p, std::unique_ptr<IndexNode> t, ExprNodePtr v)
      : AssignElementNode(p, std::move(t), std::move(v)),
        valueAt(valueVariable.slot),
        arrayAt(target->baseVariable.slot),
        indexAt(Index == Kind::None ? 0 : target->args.items[0].variable.slot),
        literalIndex(target->args.literalIndex) {}

  Flow exec(Frame& f) override {
    const Variant& array = arrayAt.in(f);
    if (!array.isArray()) return assignGeneral(f);
    std::int32_t index = literalIndex;
    if constexpr (Index != Kind::None) {
      if (!indexAt.in(f).integerOrLong(index)) return assignGeneral(f);
    }
    Variant* element = nullptr;
    bool fresh = false;
    if (!array.arrayInPlace().soleElementForWrite(index, element, fresh)) return assignGeneral(f);
    const Variant& v = valueAt.in(f);
    // Text over a fresh element, which is Empty (a growing buffer's next one): nothing to
    // release, the copy is made over it.
    if (!fresh || !v.isString()) return storeOther(f, *element, v);
    element->setTextOverPlain(v);
    return Flow::Normal;
  }

  // Any other value, or an element written before, which may hold something to release.
  [[gnu::noinline]] Flow storeOther(Frame& f, Variant& element, const Variant& v) {
    if (!v.isString() && !plainValue(v)) return assignGeneral(f);
    if (!plainValue(element)) return replaceElement(element, v);
    if (v.isString()) {
      element.setTextOverPlain(v);
    } else {
      element.setPlainOverPlain(v);
    }
    return Flow::Normal;
  }

  FixedVariable<Value> valueAt;
  FixedVariable<Array> arrayAt;
  FixedVariable<Index> indexAt;
  std::int32_t literalIndex;
};

// The node for the kinds found so far and those still to find (the index's last; None there is
// a literal index).
template <Kind... Found>
StmtNodePtr elementNodeFor(std::span<const Kind> rest, SourcePos p, std::unique_ptr<IndexNode>& t,
                           ExprNodePtr& v) {
  if constexpr (sizeof...(Found) == 3) {
    return std::make_unique<AssignElementInPlace<Found...>>(p, std::move(t), std::move(v));
  } else {
    switch (rest.front()) {
      case Kind::Local:
        return elementNodeFor<Found..., Kind::Local>(rest.subspan(1), p, t, v);
      case Kind::Param:
        return elementNodeFor<Found..., Kind::Param>(rest.subspan(1), p, t, v);
      case Kind::Field:
        return elementNodeFor<Found..., Kind::Field>(rest.subspan(1), p, t, v);
      default:
        // Only the index may be none of the three (a literal): make() sees to it.
        if constexpr (sizeof...(Found) == 2) {
          return elementNodeFor<Found..., Kind::None>(rest.subspan(1), p, t, v);
        } else {
          return nullptr;
        }
    }
  }
}

}  // namespace

StmtNodePtr AssignElementNode::make(SourcePos p, std::unique_ptr<IndexNode> t, ExprNodePtr v) {
  const VariableSlot value = VariableSlot::of(*v, /*plainOnly=*/true);
  const ArgList& args = t->args;
  const bool literal = args.single == ArgList::Single::Literal;
  const bool variable = args.single == ArgList::Single::Variable;
  const std::array<Kind, 3> kinds{value.kind, t->baseVariable.kind,
                                  variable ? args.items[0].variable.kind : Kind::None};
  const auto readInPlace = [](Kind k) {
    return k == Kind::Local || k == Kind::Param || k == Kind::Field;
  };
  if (readInPlace(kinds[0]) && readInPlace(kinds[1]) && (literal || readInPlace(kinds[2]))) {
    return elementNodeFor<>(kinds, p, t, v);
  }
  return std::make_unique<AssignElementNode>(p, std::move(t), std::move(v));
}

}  // namespace vantorel::vbs
