// `s = s & x`: text appended to the variable's own string.
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/runtime/string_support.hpp"
#include "platform/vbscript/vm/operator_nodes.hpp"
#include "platform/vbscript/vm/stmt_nodes.hpp"

namespace vantorel::vbs {

namespace {

// Whether v still holds the very string held holds: one text buffer is never two strings'.
bool sameString(const Variant& v, const Variant& held) {
  return v.isString() && v.stringValue().data() == held.stringValue().data() &&
         v.stringValue().size() == held.stringValue().size();
}

}  // namespace

Flow AppendNode::exec(Frame& f) {
  Variant* dst = target.get(f);
  if (!dst || !dst->isString() || dst->hasOddByte()) return general->exec(f);
  // s as it was before the pieces run: a piece may call code that changes it.
  Variant before = *dst;
  const std::size_t n = pieces.size();
  TextPieces text(n);
  text.evaluate(f, pieces);
  const std::u16string_view* texts = text.texts;
  const std::size_t quick = text.quick;
  const std::size_t added = text.total;
  if (quick == n && sameString(*dst, before)) {
    if (added == 0) return Flow::Normal;  // s & "" is s
    detail::checkStringLength(before.stringValue().size() + added);
    before.clear();
    // The units move out when s is their one holder; a shared string is copied, so any other
    // variable holding it keeps its value. A piece that is s itself holds its own reference.
    std::u16string units = dst->takeString();
    units.reserve(units.size() + added);
    for (std::size_t i = 0; i < n; ++i) units.append(texts[i]);
    Variant joined(std::move(units));
    dst->swap(joined);
    return Flow::Normal;
  }
  // The nested & of the plain assignment, from the value s had: the text pieces first, then the
  // piece that is no text and the rest, each evaluated only now, as the nested & does.
  std::u16string units(before.stringValue());
  for (std::size_t i = 0; i < quick; ++i) units.append(texts[i]);
  detail::checkStringLength(units.size());
  Variant result(std::move(units));
  for (std::size_t i = quick; i < n; ++i) {
    result = opConcat(result, i == quick ? text.held(i) : pieces[i]->eval(f));
  }
  Variant* out = target.get(f);
  if (!out) return general->exec(f);  // no longer a variable: the plain assignment says why
  storeValue(*out, std::move(result), false);
  return Flow::Normal;
}

}  // namespace vantorel::vbs
