// `x = x + y` and `x = x - y` on whole numbers, stored where x stands.
#include <climits>
#include <cmath>
#include <new>
#include <utility>

#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"

namespace vantorel::vbs {

AddInPlaceNode::AddInPlaceNode(SourcePos p, VariableSlot t, bool subtract, VariableSlot operand,
                               const Variant* literal, StmtNodePtr general)
    : StmtNode(p), target(t), operand(operand), subtract(subtract), general(std::move(general)) {
  if (literal) opfast::smallInt(*literal, this->literal, literalInteger);
  step = subtract ? -this->literal : this->literal;
}

Flow AddInPlaceNode::stepInPlace(Frame& f, Variant* x) {
  // A counter stepped by a literal, the commonest case, with nothing else to save registers for.
  // x holds nothing counted: no release before the store.
  std::int64_t a = 0;
  bool aInteger = false;
  if (x && !operand.found() && opfast::smallInt(*x, a, aInteger)) {
    const std::int64_t r = a + step;
    if (!aInteger && r >= INT32_MIN && r <= INT32_MAX) {
      new (x) Variant(static_cast<std::int32_t>(r));  // a Long stays a Long: only its value changes
    } else {
      opfast::storeInt(*x, r, aInteger && literalInteger);
    }
    return Flow::Normal;
  }
  return execOther(f, x);
}

Flow AddInPlaceNode::exec(Frame& f) {
  return stepInPlace(f, target.get(f));
}

namespace {

// A field or local counter (`count = count + 1` in a method): its kind fixed when compiled, so
// the variable is found without asking which kind it is.
template <VariableSlot::Kind K>
struct AddInPlaceAtNode final : AddInPlaceNode {
  using AddInPlaceNode::AddInPlaceNode;
  Flow exec(Frame& f) override { return stepInPlace(f, variableIn<K>(f, target)); }
};

// The same stepped by a literal that fits a Long: a Long counter whose sum stays a Long only
// has its word replaced. Anything else (an Integer, an overflow, another type) is execOther's.
template <VariableSlot::Kind K>
struct StepLongNode final : AddInPlaceNode {
  StepLongNode(SourcePos p, VariableSlot t, bool subtract, const Variant* literal,
               StmtNodePtr general)
      : AddInPlaceNode(p, t, subtract, VariableSlot{}, literal, std::move(general)),
        at(t.slot),
        longStep(static_cast<std::int32_t>(step)) {}
  Flow exec(Frame& f) override {
    Variant& x = at.in(f);
    std::int32_t sum;
    if (x.type() != VarType::Long || __builtin_add_overflow(x.longValue(), longStep, &sum))
        [[unlikely]] {
      return execOther(f, &x);
    }
    x.replaceLongValue(sum);
    return Flow::Normal;
  }
  FixedVariable<K> at;
  std::int32_t longStep;
};

template <VariableSlot::Kind K>
StmtNodePtr makeAt(SourcePos p, VariableSlot target, bool subtract, VariableSlot operand,
                   const Variant* literal, StmtNodePtr general) {
  std::int64_t value = 0;
  bool isInteger = false;
  if (!operand.found() && literal && opfast::smallInt(*literal, value, isInteger)) {
    const std::int64_t step = subtract ? -value : value;
    if (step >= INT32_MIN && step <= INT32_MAX) {
      return std::make_unique<StepLongNode<K>>(p, target, subtract, literal, std::move(general));
    }
  }
  return std::make_unique<AddInPlaceAtNode<K>>(p, target, subtract, operand, literal,
                                               std::move(general));
}

}  // namespace

StmtNodePtr makeAddInPlace(SourcePos p, VariableSlot target, bool subtract, VariableSlot operand,
                           const Variant* literal, StmtNodePtr general) {
  using Kind = VariableSlot::Kind;
  switch (target.kind) {
    case Kind::Field:
      return makeAt<Kind::Field>(p, target, subtract, operand, literal, std::move(general));
    case Kind::Local:
      return makeAt<Kind::Local>(p, target, subtract, operand, literal, std::move(general));
    default:
      return std::make_unique<AddInPlaceNode>(p, target, subtract, operand, literal,
                                              std::move(general));
  }
}

Flow AddInPlaceNode::execOther(Frame& f, Variant* x) {
  const Variant* y = operand.found() ? operand.get(f) : nullptr;
  if (!x || (operand.found() && !y)) return general->exec(f);
  std::int64_t a = 0;
  std::int64_t b = literal;
  bool aInteger = false;
  bool bInteger = literalInteger;
  if (opfast::smallInt(*x, a, aInteger) && (!y || opfast::smallInt(*y, b, bInteger))) {
    // Both are Integer or Long: the sum fits an int64, and its type is the operator's.
    opfast::storeInt(*x, subtract ? a - b : a + b, aInteger && bInteger);
    return Flow::Normal;
  }
  // A Double beside a whole number or a Double (a sum past the Long range) gives a Double.
  double p = 0;
  auto q = static_cast<double>(literal);
  if (opfast::plainNumber(*x, p) && (!y || opfast::plainNumber(*y, q))) {
    const double r = subtract ? p - q : p + q;
    if (std::isfinite(r)) {
      new (x) Variant(r);  // x held a number: nothing to release
      return Flow::Normal;
    }
  }
  return general->exec(f);  // anything else, and overflow, which the operator raises
}

}  // namespace vantorel::vbs
