// +, -, *, /, \, Mod, ^, & and the unary signs. Each starts with the pairs that loops and
// string building produce (Integer, Long, Double, String); everything else goes through one
// slow path per family that reads objects through their default member and then follows the
// Variant promotion rules.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_scan.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/operators.hpp"
#include "platform/vbscript/runtime/operators_support.hpp"
#include "platform/vbscript/runtime/string_support.hpp"

namespace vantorel::vbs {
namespace ops {
namespace {

using vantorel::detail::ScannedNumber;

// Two strings joined in one allocation: the fast path of + and & on text. A result beyond the
// longest string raises 14, as Space(2^30) does, rather than growing until memory runs out.
// A byte string of an odd length joins byte by byte.
[[gnu::always_inline]] inline Variant concatStrings(const Variant& va, const Variant& vb) {
  if (va.hasOddByte() || vb.hasOddByte()) [[unlikely]]
    return vbs::detail::joinBytes(va, vb);
  const std::u16string& a = va.stringValue();
  const std::u16string& b = vb.stringValue();
  vbs::detail::checkStringLength(a.size() + b.size());
  std::u16string r;
  r.reserve(a.size() + b.size());
  r += a;
  r += b;
  return Variant(std::move(r));
}

// ---------------------------------------------------------------------------------------------
// Decimal arithmetic: exact on decimal digits, then rounded once by the Decimal conversion
// (half to even, at most 28 decimals and 96 bits, 6 raised when the integer part is too big).

constexpr int kMaxWork = 128;

// Little-endian decimal digits (index 0 is the units of 10^exponent).
struct DigitBuffer {
  std::uint8_t d[kMaxWork] = {};
  int length = 0;
};

Decimal decimalFromDigits(const DigitBuffer& buf, int exponent, bool negative, bool sticky) {
  int top = buf.length - 1;
  while (top >= 0 && buf.d[top] == 0) --top;
  if (top < 0) return Decimal{};
  int low = 0;
  while (buf.d[low] == 0) ++low;
  ScannedNumber n;
  n.negative = negative;
  n.sticky = sticky;
  int count = top - low + 1;
  if (count > ScannedNumber::kMaxDigits) {
    const int keepFrom = top - ScannedNumber::kMaxDigits + 1;
    for (int i = low; i < keepFrom; ++i) {
      if (buf.d[i] != 0) n.sticky = true;
    }
    low = keepFrom;
    count = ScannedNumber::kMaxDigits;
    while (buf.d[low] == 0) {
      ++low;
      --count;
    }
  }
  for (int k = 0; k < count; ++k) n.digits[k] = static_cast<char>('0' + buf.d[top - k]);
  n.count = count;
  n.exponent = exponent + low;
  return vantorel::detail::scannedToDecimal(n);
}

void placeDigits(const ScannedNumber& s, int shift, DigitBuffer& out) {
  for (int k = 0; k < s.count; ++k) out.d[shift + s.count - 1 - k] = s.digits[k] - '0';
  if (shift + s.count > out.length) out.length = shift + s.count;
}

// Magnitude order of two scanned numbers (no leading or trailing zeros).
int compareMagnitude(const ScannedNumber& x, const ScannedNumber& y) noexcept {
  if (x.count == 0 || y.count == 0) return (x.count != 0) - (y.count != 0);
  const int ix = x.count + x.exponent;
  const int iy = y.count + y.exponent;
  if (ix != iy) return ix < iy ? -1 : 1;
  const int common = x.count < y.count ? x.count : y.count;
  for (int k = 0; k < common; ++k) {
    if (x.digits[k] != y.digits[k]) return x.digits[k] < y.digits[k] ? -1 : 1;
  }
  return (x.count > common) - (y.count > common);
}

}  // namespace

int compareDecimal(const Decimal& a, const Decimal& b) noexcept {
  const ScannedNumber x = vantorel::detail::scanDecimal(a);
  const ScannedNumber y = vantorel::detail::scanDecimal(b);
  if (x.negative != y.negative) return x.negative ? -1 : 1;
  const int m = compareMagnitude(x, y);
  return x.negative ? -m : m;
}

namespace {

Decimal decimalAdd(const Decimal& a, const Decimal& b, bool subtract) {
  ScannedNumber x = vantorel::detail::scanDecimal(a);
  ScannedNumber y = vantorel::detail::scanDecimal(b);
  if (subtract && y.count != 0) y.negative = !y.negative;
  const int e = x.exponent < y.exponent ? x.exponent : y.exponent;
  DigitBuffer bx, by;
  placeDigits(x, x.exponent - e, bx);
  placeDigits(y, y.exponent - e, by);
  DigitBuffer r;
  r.length = (bx.length > by.length ? bx.length : by.length) + 1;
  bool negative = x.negative;
  if (x.negative == y.negative) {
    int carry = 0;
    for (int i = 0; i < r.length; ++i) {
      const int s = bx.d[i] + by.d[i] + carry;
      r.d[i] = static_cast<std::uint8_t>(s % 10);
      carry = s / 10;
    }
  } else {
    const DigitBuffer* big = &bx;
    const DigitBuffer* small = &by;
    if (compareMagnitude(x, y) < 0) {
      std::swap(big, small);
      negative = y.negative;
    }
    int borrow = 0;
    for (int i = 0; i < r.length; ++i) {
      int s = big->d[i] - small->d[i] - borrow;
      borrow = s < 0;
      if (borrow) s += 10;
      r.d[i] = static_cast<std::uint8_t>(s);
    }
  }
  return decimalFromDigits(r, e, negative, false);
}

Decimal decimalMul(const Decimal& a, const Decimal& b) {
  const ScannedNumber x = vantorel::detail::scanDecimal(a);
  const ScannedNumber y = vantorel::detail::scanDecimal(b);
  if (x.count == 0 || y.count == 0) return Decimal{};
  unsigned acc[kMaxWork] = {};
  for (int i = 0; i < x.count; ++i) {
    for (int j = 0; j < y.count; ++j) {
      acc[(x.count - 1 - i) + (y.count - 1 - j)] +=
          static_cast<unsigned>((x.digits[i] - '0') * (y.digits[j] - '0'));
    }
  }
  DigitBuffer r;
  r.length = x.count + y.count + 1;
  unsigned carry = 0;
  for (int i = 0; i < r.length; ++i) {
    const unsigned s = acc[i] + carry;
    r.d[i] = static_cast<std::uint8_t>(s % 10);
    carry = s / 10;
  }
  return decimalFromDigits(r, x.exponent + y.exponent, x.negative != y.negative, false);
}

Decimal decimalDiv(const Decimal& a, const Decimal& b) {
  const UInt128 divisor = b.magnitude();
  const ScannedNumber x = vantorel::detail::scanDecimal(a);
  if (divisor == 0) raiseVbError(x.count == 0 ? vberr::kOverflow : vberr::kDivisionByZero);
  if (x.count == 0) return Decimal{};
  // Long division of x's digits, then of zeros, keeping more digits than a Decimal holds; the
  // remainder stays below the 96-bit divisor, so ten times it fits in 128 bits.
  std::uint8_t q[kMaxWork];
  int produced = 0;
  int significant = 0;
  int extraZeros = 0;
  UInt128 rem = 0;
  for (int k = 0;; ++k) {
    const bool fromDividend = k < x.count;
    if (!fromDividend) {
      if (rem == 0 || significant >= ScannedNumber::kMaxDigits || produced == kMaxWork) break;
      ++extraZeros;
    }
    rem = rem * 10 + static_cast<unsigned>(fromDividend ? x.digits[k] - '0' : 0);
    const auto digit = static_cast<std::uint8_t>(rem / divisor);
    rem %= divisor;
    if (digit != 0 || significant > 0) {
      q[produced++] = digit;
      ++significant;
    }
  }
  DigitBuffer r;
  r.length = produced;
  for (int i = 0; i < produced; ++i) r.d[i] = q[produced - 1 - i];
  const int exponent = x.exponent - extraZeros + static_cast<int>(b.scale);
  return decimalFromDigits(r, exponent, x.negative != b.negative, rem != 0);
}

// ---------------------------------------------------------------------------------------------
// Add, Sub and Mul on anything: the numeric kinds in the order of their promotion.

enum class Kind : std::uint8_t {
  Empty,
  Byte,
  Integer,
  Long,
  Single,
  Double,
  Currency,
  Decimal,
  Date
};

struct Operand {
  Kind kind = Kind::Empty;
  std::int32_t i = 0;   // Empty, Byte, Integer (and Boolean), Long
  double d = 0;         // Single, Double, Date
  std::int64_t cy = 0;  // Currency, scaled
  const Variant* source = nullptr;
};

// A plain value (no object, Null or array) as a number; text is read as a Double.
Operand numericOperand(const Variant& v) {
  Operand o;
  o.source = &v;
  switch (v.type()) {
    case VarType::Empty:
      break;
    case VarType::Boolean:
      o.kind = Kind::Integer;
      o.i = v.boolValue() ? -1 : 0;
      break;
    case VarType::Byte:
      o.kind = Kind::Byte;
      o.i = v.byteValue();
      break;
    case VarType::Integer:
      o.kind = Kind::Integer;
      o.i = v.integerValue();
      break;
    case VarType::Long:
      o.kind = Kind::Long;
      o.i = v.longValue();
      break;
    case VarType::Single:
      o.kind = Kind::Single;
      o.d = v.singleValue();
      break;
    case VarType::Double:
      o.kind = Kind::Double;
      o.d = v.doubleValue();
      break;
    case VarType::Date:
      o.kind = Kind::Date;
      o.d = v.dateValue();
      break;
    case VarType::Currency:
      o.kind = Kind::Currency;
      o.cy = v.currencyValue().scaled;
      break;
    case VarType::Decimal:
      o.kind = Kind::Decimal;
      break;
    case VarType::String:
      o.kind = Kind::Double;
      o.d = toDouble(v);
      break;
    default:
      typeMismatch();
  }
  return o;
}

double asDouble(const Operand& o) {
  switch (o.kind) {
    case Kind::Single:
    case Kind::Double:
    case Kind::Date:
      return o.d;
    case Kind::Currency:
      return static_cast<double>(o.cy) / Currency::kScale;
    case Kind::Decimal:
      return toDouble(*o.source);
    default:
      return o.i;
  }
}

std::int64_t asScaledCurrency(const Operand& o) {
  switch (o.kind) {
    case Kind::Currency:
      return o.cy;
    case Kind::Single:
    case Kind::Double:
    case Kind::Date:
      return toCurrency(Variant(o.d)).scaled;
    default:
      return static_cast<std::int64_t>(o.i) * Currency::kScale;
  }
}

enum class ArithOp : std::uint8_t { Add, Sub, Mul };

// Addition and subtraction rank Currency above Double; multiplication ranks it below.
int promotionRank(Kind k, ArithOp op) noexcept {
  switch (k) {
    case Kind::Empty:
      return 0;
    case Kind::Byte:
      return 1;
    case Kind::Integer:
      return 2;
    case Kind::Long:
      return 3;
    case Kind::Single:
      return 4;
    case Kind::Double:
      return op == ArithOp::Mul ? 6 : 5;
    case Kind::Currency:
      return op == ArithOp::Mul ? 5 : 6;
    default:
      return 7;
  }
}

Kind resultKind(ArithOp op, Kind x, Kind y) noexcept {
  if (x == Kind::Empty && y == Kind::Empty) return Kind::Integer;
  if (x == Kind::Date || y == Kind::Date) {
    return op == ArithOp::Sub && x == y ? Kind::Double : Kind::Date;
  }
  if ((x == Kind::Single && y == Kind::Long) || (x == Kind::Long && y == Kind::Single)) {
    return Kind::Double;
  }
  return promotionRank(x, op) >= promotionRank(y, op) ? x : y;
}

std::int64_t roundedCurrencyProduct(std::int64_t a, std::int64_t b) {
  __extension__ typedef __int128 Int128;
  const Int128 p = static_cast<Int128>(a) * b;
  Int128 q = p / Currency::kScale;
  const Int128 r = p % Currency::kScale;
  constexpr Int128 kHalf = Currency::kScale / 2;
  if (r > kHalf || (r == kHalf && (q & 1) != 0)) ++q;
  if (r < -kHalf || (r == -kHalf && (q & 1) != 0)) --q;
  if (q < std::numeric_limits<std::int64_t>::min() ||
      q > std::numeric_limits<std::int64_t>::max()) {
    overflow();
  }
  return static_cast<std::int64_t>(q);
}

std::int64_t applyInteger(ArithOp op, std::int64_t x, std::int64_t y) noexcept {
  switch (op) {
    case ArithOp::Add:
      return x + y;
    case ArithOp::Sub:
      return x - y;
    default:
      return x * y;
  }
}

double applyDouble(ArithOp op, double x, double y) noexcept {
  switch (op) {
    case ArithOp::Add:
      return x + y;
    case ArithOp::Sub:
      return x - y;
    default:
      return x * y;
  }
}

Variant arithmetic(ArithOp op, Operand x, Operand y) {
  if (op == ArithOp::Mul) {
    // A product of dates is no date.
    if (x.kind == Kind::Date) x.kind = Kind::Double;
    if (y.kind == Kind::Date) y.kind = Kind::Double;
  }
  const Kind k = resultKind(op, x.kind, y.kind);
  switch (k) {
    case Kind::Byte:
    case Kind::Integer:
    case Kind::Long: {
      const std::int64_t r = applyInteger(op, x.i, y.i);
      if (k == Kind::Byte && r >= 0 && r <= 255) return Variant(static_cast<std::uint8_t>(r));
      return integerResult(r, k == Kind::Long);
    }
    case Kind::Single: {
      const double r = applyDouble(op, asDouble(x), asDouble(y));
      const auto f = static_cast<float>(r);
      if (std::isinf(f)) return doubleResult(r);
      return Variant(f);
    }
    case Kind::Double:
      return doubleResult(applyDouble(op, asDouble(x), asDouble(y)));
    case Kind::Date:
      return dateResult(applyDouble(op, asDouble(x), asDouble(y)));
    case Kind::Currency: {
      const std::int64_t a = asScaledCurrency(x);
      const std::int64_t b = asScaledCurrency(y);
      std::int64_t r;
      if (op == ArithOp::Mul) {
        r = roundedCurrencyProduct(a, b);
      } else if (op == ArithOp::Add ? __builtin_add_overflow(a, b, &r)
                                    : __builtin_sub_overflow(a, b, &r)) {
        overflow();
      }
      return Variant(Currency{r});
    }
    default: {
      const Decimal a = toDecimal(*x.source);
      const Decimal b = toDecimal(*y.source);
      if (op == ArithOp::Mul) return Variant(decimalMul(a, b));
      return Variant(decimalAdd(a, b, op == ArithOp::Sub));
    }
  }
}

Variant arithmeticSlow(ArithOp op, const Variant& left, const Variant& right) {
  rejectArrays(left, right);
  const Resolved a(left);
  const Resolved b(right);
  rejectArrays(*a, *b);
  if (a->isNull() || b->isNull()) return Variant::null();
  if (op == ArithOp::Add) {
    if (a->isString() && b->isString()) return Variant(a->stringValue() + b->stringValue());
    // Adding Empty leaves the other operand as it is (a Boolean still counts as an Integer).
    const bool emptyA = a->isEmpty();
    const bool emptyB = b->isEmpty();
    if (emptyA != emptyB) {
      const Variant& other = emptyA ? *b : *a;
      if (other.type() == VarType::Boolean) {
        return Variant(static_cast<std::int16_t>(other.boolValue() ? -1 : 0));
      }
      if (other.isString() || isNumberLike(other.type())) return other;
      typeMismatch();
    }
  }
  return arithmetic(op, numericOperand(*a), numericOperand(*b));
}

Variant intResult(IntKind kind, std::int64_t r) {
  switch (kind) {
    case IntKind::Boolean:
      return Variant(r != 0);
    case IntKind::Byte:
      if (r >= 0 && r <= 255) return Variant(static_cast<std::uint8_t>(r));
      return integerResult(r, false);
    case IntKind::Integer:
      return integerResult(r, false);
    default:
      return integerResult(r, true);
  }
}

enum class IntOp : std::uint8_t { Div, Mod };

Variant integerDivision(IntOp op, const Variant& left, const Variant& right) {
  rejectArrays(left, right);
  const Resolved a(left);
  const Resolved b(right);
  rejectArrays(*a, *b);
  if (a->isNull() || b->isNull()) return Variant::null();
  const IntOperand x = intOperand(*a, false);
  const IntOperand y = intOperand(*b, false);
  if (y.v == 0) raiseVbError(vberr::kDivisionByZero);
  const std::int64_t n = x.v;
  const std::int64_t d = y.v;
  return intResult(widerIntKind(x.kind, y.kind), op == IntOp::Div ? n / d : n % d);
}

// +, - and *: the Integer/Long and Double fast paths, then the promotion rules.
template <ArithOp op>
Variant arithmeticOperator(const Variant& a, const Variant& b) {
  std::int32_t ia, ib;
  if (asInt32(a, ia) && asInt32(b, ib))
    return integerResult(applyInteger(op, ia, ib), eitherLong(a, b));
  double da, db;
  if (asPlainDouble(a, da) && asPlainDouble(b, db)) return doubleResult(applyDouble(op, da, db));
  if constexpr (op == ArithOp::Add) {
    if (a.isString() && b.isString()) return concatStrings(a, b);
  }
  return arithmeticSlow(op, a, b);
}

// \ and Mod: the Integer/Long fast path, then operands rounded to whole numbers.
template <IntOp op>
Variant integerOperator(const Variant& a, const Variant& b) {
  std::int32_t ia, ib;
  if (asInt32(a, ia) && asInt32(b, ib) && ib != 0) {
    const std::int64_t n = ia;
    return integerResult(op == IntOp::Div ? n / ib : n % ib, eitherLong(a, b));
  }
  return integerDivision(op, a, b);
}

}  // namespace
}  // namespace ops

using namespace ops;

Variant opAdd(const Variant& a, const Variant& b) {
  return arithmeticOperator<ArithOp::Add>(a, b);
}
Variant opSub(const Variant& a, const Variant& b) {
  return arithmeticOperator<ArithOp::Sub>(a, b);
}
Variant opMul(const Variant& a, const Variant& b) {
  return arithmeticOperator<ArithOp::Mul>(a, b);
}

Variant opDiv(const Variant& a, const Variant& b) {
  double x, y;
  if (!asPlainDouble(a, x) || !asPlainDouble(b, y)) {
    rejectArrays(a, b);
    const Resolved ra(a);
    const Resolved rb(b);
    rejectArrays(*ra, *rb);
    if (ra->isNull() || rb->isNull()) return Variant::null();
    if (ra->type() == VarType::Decimal || rb->type() == VarType::Decimal) {
      return Variant(decimalDiv(toDecimal(*ra), toDecimal(*rb)));
    }
    x = asDouble(numericOperand(*ra));
    y = asDouble(numericOperand(*rb));
  }
  if (y == 0) raiseVbError(x == 0 ? vberr::kOverflow : vberr::kDivisionByZero);
  return doubleResult(x / y);
}

Variant opIntDiv(const Variant& a, const Variant& b) {
  return integerOperator<IntOp::Div>(a, b);
}
Variant opMod(const Variant& a, const Variant& b) {
  return integerOperator<IntOp::Mod>(a, b);
}

Variant opPow(const Variant& a, const Variant& b) {
  double x, y;
  if (!asPlainDouble(a, x) || !asPlainDouble(b, y)) {
    rejectArrays(a, b);
    const Resolved ra(a);
    const Resolved rb(b);
    rejectArrays(*ra, *rb);
    if (ra->isNull() || rb->isNull()) return Variant::null();
    x = asDouble(numericOperand(*ra));
    y = asDouble(numericOperand(*rb));
  }
  // A negative base needs a whole exponent, and zero has no negative powers.
  if ((x < 0 && y != std::trunc(y)) || (x == 0 && y < 0)) {
    raiseVbError(vberr::kInvalidProcedureCall);
  }
  return doubleResult(std::pow(x, y));
}

Variant opConcat(const Variant& a, const Variant& b) {
  char16_t digitsA[12], digitsB[12];
  std::u16string_view textA, textB;
  if (detail::quickText(a, digitsA, textA) && detail::quickText(b, digitsB, textB)) {
    // A string joined with nothing is shared, not copied.
    if (textA.empty() && b.isString()) return b;
    if (textB.empty() && a.isString()) return a;
    detail::checkStringLength(textA.size() + textB.size());
    std::u16string r(textA.size() + textB.size(), u'\0');
    detail::putUnits(detail::putUnits(r.data(), textA), textB);
    return Variant(std::move(r));
  }
  rejectArrays(a, b);
  const Resolved ra(a);
  const Resolved rb(b);
  rejectArrays(*ra, *rb);
  const bool nullA = ra->isNull();
  const bool nullB = rb->isNull();
  if (nullA && nullB) return Variant::null();
  // Null counts as "" and anything else as its text; strings are taken as they are, so that a
  // byte string keeps its odd byte.
  const auto text = [](const Variant& v, bool isNull) {
    return isNull ? Variant(std::u16string()) : v.isString() ? v : Variant(toString(v));
  };
  return concatStrings(text(*ra, nullA), text(*rb, nullB));
}

Variant opNegate(const Variant& v) {
  switch (v.type()) {
    case VarType::Integer:
      return integerResult(-static_cast<std::int64_t>(v.integerValue()), false);
    case VarType::Long:
      return integerResult(-static_cast<std::int64_t>(v.longValue()), true);
    case VarType::Double:
      // 0 - x rather than -x: negating zero gives 0, never -0.
      return Variant(0.0 - v.doubleValue());
    default:
      break;
  }
  if (v.isArray()) typeMismatch();
  const Resolved r(v);
  switch (r->type()) {
    case VarType::Null:
      return Variant::null();
    case VarType::Empty:
      return Variant(std::int16_t{0});
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(r->boolValue() ? 1 : 0));
    case VarType::Byte:
      return Variant(static_cast<std::int16_t>(-r->byteValue()));
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
      return opNegate(*r);
    case VarType::Single:
      return Variant(0.0f - r->singleValue());
    case VarType::Date:
      return dateResult(0.0 - r->dateValue());
    case VarType::Currency: {
      const std::int64_t c = r->currencyValue().scaled;
      if (c == std::numeric_limits<std::int64_t>::min()) overflow();
      return Variant(Currency{-c});
    }
    case VarType::Decimal: {
      Decimal d = r->decimalValue();
      if (d.magnitude() != 0) d.negative = !d.negative;
      return Variant(d);
    }
    case VarType::String:
      return Variant(0.0 - toDouble(*r));
    default:
      typeMismatch();
  }
}

// Unary + changes nothing: text stays text, a Boolean stays Boolean and an object stays the
// object itself, its default member unread.
Variant opPlus(const Variant& v) {
  return v;
}

}  // namespace vantorel::vbs
