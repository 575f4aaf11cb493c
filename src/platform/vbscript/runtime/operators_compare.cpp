// =, <>, <, <=, >, >=, Is, and the comparisons of Select Case and literals. The Integer/Long,
// Double and String pairs are compared directly; the rest goes through compareSlow.
#include <cstdint>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/runtime/operators_support.hpp"

namespace vantorel::vbs {
namespace {

using namespace ops;

enum class Order : std::uint8_t { Less, Equal, Greater, Null };

template <class T>
Order orderOf(T x, T y) noexcept {
  return x < y ? Order::Less : y < x ? Order::Greater : Order::Equal;
}

Order orderOfInt(int c) noexcept {
  return c < 0 ? Order::Less : c > 0 ? Order::Greater : Order::Equal;
}

bool isExactKind(VarType t) noexcept {
  switch (t) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Currency:
    case VarType::Decimal:
      return true;
    default:
      return false;
  }
}

// Two numbers (Empty, Boolean and Date included).
Order compareNumbers(const Variant& a, const Variant& b) {
  const VarType ta = a.type();
  const VarType tb = b.type();
  if (isExactKind(ta) && isExactKind(tb)) {
    if (ta == VarType::Decimal || tb == VarType::Decimal) {
      return orderOfInt(compareDecimal(toDecimal(a), toDecimal(b)));
    }
    // Currency and whole numbers all fit in a scaled 64-bit count.
    return orderOf(toCurrency(a).scaled, toCurrency(b).scaled);
  }
  // A Single beside a Double compares at the Single's precision: CSng(0.1) = 0.1.
  if ((ta == VarType::Single && tb == VarType::Double) ||
      (ta == VarType::Double && tb == VarType::Single)) {
    return orderOf(static_cast<float>(toDouble(a)), static_cast<float>(toDouble(b)));
  }
  return orderOf(toDouble(a), toDouble(b));
}

Order compareStrings(const std::u16string& x, const std::u16string& y) noexcept {
  return orderOfInt(x.compare(y));
}

Order compareSlow(const Variant& left, const Variant& right) {
  rejectArrays(left, right);
  const Resolved a(left);
  const Resolved b(right);
  rejectArrays(*a, *b);
  if (a->isNull() || b->isNull()) return Order::Null;
  const VarType ta = a->type();
  const VarType tb = b->type();
  const bool stringA = ta == VarType::String;
  const bool stringB = tb == VarType::String;
  if (stringA && stringB) return compareStrings(a->stringValue(), b->stringValue());
  if (ta == VarType::Empty && tb == VarType::Empty) return Order::Equal;
  // Empty is "" beside a string and 0 beside a number.
  if (ta == VarType::Empty && stringB) {
    return b->stringValue().empty() ? Order::Equal : Order::Less;
  }
  if (stringA && tb == VarType::Empty) {
    return a->stringValue().empty() ? Order::Equal : Order::Greater;
  }
  const bool numberA = ta == VarType::Empty || isNumberLike(ta);
  const bool numberB = tb == VarType::Empty || isNumberLike(tb);
  // A number is less than any string.
  if (numberA && stringB) return Order::Less;
  if (stringA && numberB) return Order::Greater;
  if (numberA && numberB) return compareNumbers(*a, *b);
  typeMismatch();
}

Order compare(const Variant& a, const Variant& b) {
  std::int32_t ia, ib;
  if (asInt32(a, ia) && asInt32(b, ib)) return orderOf(ia, ib);
  double da, db;
  if (asPlainDouble(a, da) && asPlainDouble(b, db)) return orderOf(da, db);
  if (a.isString() && b.isString()) return compareStrings(a.stringValue(), b.stringValue());
  return compareSlow(a, b);
}

Variant comparison(Order o, bool whenLess, bool whenEqual, bool whenGreater) {
  switch (o) {
    case Order::Less:
      return Variant(whenLess);
    case Order::Equal:
      return Variant(whenEqual);
    case Order::Greater:
      return Variant(whenGreater);
    default:
      return Variant::null();
  }
}

}  // namespace

Variant opEq(const Variant& a, const Variant& b) {
  return comparison(compare(a, b), false, true, false);
}
Variant opNe(const Variant& a, const Variant& b) {
  return comparison(compare(a, b), true, false, true);
}
Variant opLt(const Variant& a, const Variant& b) {
  return comparison(compare(a, b), true, false, false);
}
Variant opLe(const Variant& a, const Variant& b) {
  return comparison(compare(a, b), true, true, false);
}
Variant opGt(const Variant& a, const Variant& b) {
  return comparison(compare(a, b), false, false, true);
}
Variant opGe(const Variant& a, const Variant& b) {
  return comparison(compare(a, b), false, true, true);
}

bool opIs(const Variant& a, const Variant& b) {
  if (!a.isObject() || !b.isObject()) raiseVbError(vberr::kObjectRequired);
  return a.objectValue() == b.objectValue();
}

bool valuesEqual(const Variant& a, const Variant& b) {
  return compare(a, b) == Order::Equal;
}

bool isHardNumberLiteral(const Variant& literal) noexcept {
  return literal.isNumericType() || literal.type() == VarType::Boolean ||
         literal.type() == VarType::Date;
}

Variant coerceForLiteral(const Variant& value, const Variant& literal) {
  if (value.isString()) {
    switch (literal.type()) {
      case VarType::Boolean:
        return Variant(toBool(value));
      case VarType::Date:
        return Variant::date(toDate(value));
      default:
        // Numbers meet as Doubles: reading "40000" as the Integer 5's type would overflow.
        if (literal.isNumericType()) return Variant(toDouble(value));
        return value;
    }
  }
  if (literal.isString() && isHardNumberLiteral(value)) {
    return Variant(toString(value));
  }
  return value;
}

}  // namespace vantorel::vbs
