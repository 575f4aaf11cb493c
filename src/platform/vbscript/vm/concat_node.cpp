// A chain of & joined once.
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/runtime/string_support.hpp"
#include "platform/vbscript/vm/operator_nodes.hpp"

namespace vantorel::vbs {

void TextPieces::evaluate(Frame& f, const std::vector<ExprNodePtr>& parts) {
  Variant* held = slots.data();
  for (; quick < parts.size(); ++quick) {
    new (&held[quick]) Variant(parts[quick]->eval(f));  // over an Empty slot, which owns nothing
    if (!detail::quickText(held[quick], digits[quick], texts[quick])) break;
    total += texts[quick].size();
  }
}

Variant ConcatNode::eval(Frame& f) {
  const std::size_t n = parts.size();
  TextPieces pieces(n);
  pieces.evaluate(f, parts);
  Variant* held = pieces.slots.data();
  const std::u16string_view* texts = pieces.texts;
  const std::size_t quick = pieces.quick;
  const std::size_t total = pieces.total;
  const auto joined = [&](std::size_t count) {
    detail::checkStringLength(total);
    std::u16string out(total, u'\0');
    char16_t* at = out.data();
    for (std::size_t i = 0; i < count; ++i) at = detail::putUnits(at, texts[i]);
    return Variant(std::move(out));
  };
  if (quick == n) return joined(n);
  // Operand `quick` is not text: what came before it is one value, as the nested & would have
  // made it (a lone number stays a number), and the rest of the chain folds with &.
  Variant result = quick <= 1 ? std::move(held[0]) : joined(quick);
  if (quick > 0) result = opConcat(result, held[quick]);
  for (std::size_t i = quick + 1; i < n; ++i) result = opConcat(result, parts[i]->eval(f));
  return result;
}

}  // namespace vantorel::vbs
