// Not, And, Or, Xor, Eqv, Imp and the truth of conditions: bitwise on whole numbers, and
// three-valued where Null takes part.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/runtime/operators_support.hpp"

namespace vantorel::vbs {
namespace ops {
namespace {

// "True" or "False" (any case, blanks around): the text a Boolean converts to.
int booleanWord(const std::u16string& text) noexcept {
  std::u16string_view s = text;
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  auto equals = [s](std::u16string_view lower) {
    if (s.size() != lower.size()) return false;
    for (std::size_t k = 0; k < s.size(); ++k) {
      char16_t c = s[k];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
      if (c != lower[k]) return false;
    }
    return true;
  };
  if (equals(u"true")) return 1;
  if (equals(u"false")) return 0;
  return -1;
}

}  // namespace

IntOperand intOperand(const Variant& v, bool logical) {
  switch (v.type()) {
    case VarType::Empty:
      return {IntKind::Integer, 0};
    case VarType::Boolean:
      if (logical) return {IntKind::Boolean, v.boolValue() ? -1 : 0};
      return {IntKind::Integer, v.boolValue() ? -1 : 0};
    case VarType::Byte:
      return {IntKind::Byte, v.byteValue()};
    case VarType::Integer:
      return {IntKind::Integer, v.integerValue()};
    case VarType::Long:
      return {IntKind::Long, v.longValue()};
    case VarType::String:
      if (logical) {
        const int word = booleanWord(v.stringValue());
        if (word >= 0) return {IntKind::Boolean, word ? -1 : 0};
      }
      return {IntKind::Long, toLong(v)};
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
    case VarType::Currency:
    case VarType::Decimal:
      return {IntKind::Long, toLong(v)};
    default:
      typeMismatch();
  }
}

namespace {

enum class LogicOp : std::uint8_t { And, Or, Xor, Eqv, Imp };

std::int32_t allBits(IntKind kind) noexcept {
  return kind == IntKind::Byte ? 0xFF : -1;
}

std::int32_t applyLogic(LogicOp op, std::int32_t x, std::int32_t y) noexcept {
  switch (op) {
    case LogicOp::And:
      return x & y;
    case LogicOp::Or:
      return x | y;
    case LogicOp::Xor:
      return x ^ y;
    case LogicOp::Eqv:
      return ~(x ^ y);
    default:
      return ~x | y;
  }
}

Variant logicResult(IntKind kind, std::int32_t r) {
  switch (kind) {
    case IntKind::Boolean:
      return Variant(r != 0);
    case IntKind::Byte:
      return Variant(static_cast<std::uint8_t>(r & 0xFF));
    case IntKind::Integer:
      return Variant(static_cast<std::int16_t>(r));
    default:
      return Variant(r);
  }
}

Variant logicWithNull(LogicOp op, const IntOperand* x, const IntOperand* y) {
  // x or y (not both) is known; a result exists only when the known side forces every bit.
  switch (op) {
    case LogicOp::And: {
      const IntOperand* known = x ? x : y;
      if (known && known->v == 0) return logicResult(known->kind, 0);
      break;
    }
    case LogicOp::Or: {
      const IntOperand* known = x ? x : y;
      if (known && known->v == allBits(known->kind)) return logicResult(known->kind, known->v);
      break;
    }
    case LogicOp::Imp:
      // False Imp anything is True; anything Imp True is True.
      if (x && x->v == 0) return logicResult(x->kind, allBits(x->kind));
      if (y && y->v == allBits(y->kind)) return logicResult(y->kind, y->v);
      break;
    default:
      break;
  }
  return Variant::null();
}

Variant logic(LogicOp op, const Variant& left, const Variant& right) {
  const VarType tl = left.type();
  const VarType tr = right.type();
  if (tl == VarType::Boolean && tr == VarType::Boolean) {
    const std::int32_t r = applyLogic(op, left.boolValue() ? -1 : 0, right.boolValue() ? -1 : 0);
    return Variant(r != 0);
  }
  rejectArrays(left, right);
  const Resolved a(left);
  const Resolved b(right);
  rejectArrays(*a, *b);
  const bool nullA = a->isNull();
  const bool nullB = b->isNull();
  IntOperand x{}, y{};
  if (!nullA) x = intOperand(*a, true);
  if (!nullB) y = intOperand(*b, true);
  if (nullA || nullB) return logicWithNull(op, nullA ? nullptr : &x, nullB ? nullptr : &y);
  const IntKind kind = widerIntKind(x.kind, y.kind);
  return logicResult(kind, applyLogic(op, x.v, y.v));
}

}  // namespace
}  // namespace ops

using namespace ops;

Variant opNot(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean:
      return Variant(!v.boolValue());
    case VarType::Integer:
      return Variant(static_cast<std::int16_t>(~v.integerValue()));
    case VarType::Long:
      return Variant(~v.longValue());
    default:
      break;
  }
  if (v.isArray()) typeMismatch();
  const Resolved r(v);
  if (r->isArray()) typeMismatch();
  if (r->isNull()) return Variant::null();
  const IntOperand x = intOperand(*r, true);
  return logicResult(x.kind, ~x.v);
}

Variant opAnd(const Variant& a, const Variant& b) {
  return logic(LogicOp::And, a, b);
}
Variant opOr(const Variant& a, const Variant& b) {
  return logic(LogicOp::Or, a, b);
}
Variant opXor(const Variant& a, const Variant& b) {
  return logic(LogicOp::Xor, a, b);
}
Variant opEqv(const Variant& a, const Variant& b) {
  return logic(LogicOp::Eqv, a, b);
}
Variant opImp(const Variant& a, const Variant& b) {
  return logic(LogicOp::Imp, a, b);
}

bool isTrue(const Variant& condition) {
  switch (condition.type()) {
    case VarType::Boolean:
      return condition.boolValue();
    case VarType::Null:
    case VarType::Empty:
      return false;
    case VarType::Integer:
      return condition.integerValue() != 0;
    case VarType::Long:
      return condition.longValue() != 0;
    case VarType::Object: {
      const Variant value = defaultValue(condition);
      return isTrue(value);
    }
    default:
      return toBool(condition);
  }
}

}  // namespace vantorel::vbs
