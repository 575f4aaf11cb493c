// `x = x + y` and `x = x - y` on whole numbers, stored where x stands.
#include <utility>

#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"

namespace vantorel::vbs {

AddInPlaceNode::AddInPlaceNode(SourcePos p, VariableSlot t, bool subtract, VariableSlot operand,
                               const Variant* literal, StmtNodePtr general)
    : StmtNode(p), target(t), operand(operand), subtract(subtract), general(std::move(general)) {
  if (literal) opfast::smallInt(*literal, this->literal, literalInteger);
}

Flow AddInPlaceNode::exec(Frame& f) {
  Variant* x = target.get(f);
  std::int64_t a = 0;
  std::int64_t b = literal;
  bool aInteger = false;
  bool bInteger = literalInteger;
  if (x && opfast::smallInt(*x, a, aInteger)) {
    const Variant* y = operand.found() ? operand.get(f) : nullptr;
    if (!operand.found() || (y && opfast::smallInt(*y, b, bInteger))) {
      // Both are Integer or Long: the sum fits an int64, and its type is the operator's.
      opfast::assignInt(*x, subtract ? a - b : a + b, aInteger && bInteger);
      return Flow::Normal;
    }
  }
  return general->exec(f);
}

}  // namespace vantorel::vbs
