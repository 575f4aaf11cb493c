// The nodes comparing a variable with a bound of an array variable, for each comparison, each
// bound and each pairing of the two variables' kinds.
#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/value_nodes.hpp"

namespace vantorel::vbs {

namespace {

template <opfast::Cmp C, BinaryFn Slow, bool Upper>
ExprNodePtr compareBound(SourcePos p, Operand left, Operand right, const VariableSlot& array) {
  using Kind = VariableSlot::Kind;
  const Kind both = left.var.kind == array.kind ? array.kind : Kind::None;
  if (both == Kind::Field) {
    return std::make_unique<CompareBoundNode<C, Slow, Kind::Field, Upper>>(p, std::move(left),
                                                                           std::move(right), array);
  }
  if (both == Kind::Local) {
    return std::make_unique<CompareBoundNode<C, Slow, Kind::Local, Upper>>(p, std::move(left),
                                                                           std::move(right), array);
  }
  return std::make_unique<CompareBoundNode<C, Slow, Kind::None, Upper>>(p, std::move(left),
                                                                        std::move(right), array);
}

}  // namespace

template <opfast::Cmp C, BinaryFn Slow>
ExprNodePtr makeCompareBound(SourcePos p, Operand left, Operand right, const VariableSlot& array,
                             bool upper) {
  if (upper) return compareBound<C, Slow, true>(p, std::move(left), std::move(right), array);
  return compareBound<C, Slow, false>(p, std::move(left), std::move(right), array);
}

template ExprNodePtr makeCompareBound<opfast::Cmp::Eq, opEq>(SourcePos, Operand, Operand,
                                                             const VariableSlot&, bool);
template ExprNodePtr makeCompareBound<opfast::Cmp::Ne, opNe>(SourcePos, Operand, Operand,
                                                             const VariableSlot&, bool);
template ExprNodePtr makeCompareBound<opfast::Cmp::Lt, opLt>(SourcePos, Operand, Operand,
                                                             const VariableSlot&, bool);
template ExprNodePtr makeCompareBound<opfast::Cmp::Le, opLe>(SourcePos, Operand, Operand,
                                                             const VariableSlot&, bool);
template ExprNodePtr makeCompareBound<opfast::Cmp::Gt, opGt>(SourcePos, Operand, Operand,
                                                             const VariableSlot&, bool);
template ExprNodePtr makeCompareBound<opfast::Cmp::Ge, opGe>(SourcePos, Operand, Operand,
                                                             const VariableSlot&, bool);

}  // namespace vantorel::vbs
