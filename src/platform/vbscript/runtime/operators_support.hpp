#pragma once
// Private to the operator sources: the fast-path readers and result builders every operator
// family uses. They are inline so the common cases stay free of calls.
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel::vbs::ops {

// The open interval of OLE dates from 1 January 100 to the end of 31 December 9999; a Date
// result outside it becomes a Double.
constexpr double kDateLow = -657435.0;
constexpr double kDateHigh = 2958466.0;

[[noreturn]] inline void typeMismatch() {
  raiseVbError(vberr::kTypeMismatch);
}
[[noreturn]] inline void overflow() {
  raiseVbError(vberr::kOverflow);
}

inline bool fitsInteger(std::int64_t v) noexcept {
  return v >= std::numeric_limits<std::int16_t>::min() &&
         v <= std::numeric_limits<std::int16_t>::max();
}
inline bool fitsLong(std::int64_t v) noexcept {
  return v >= std::numeric_limits<std::int32_t>::min() &&
         v <= std::numeric_limits<std::int32_t>::max();
}

// An Integer or Long: the types of literals and loop counters.
inline bool asInt32(const Variant& v, std::int32_t& out) noexcept {
  switch (v.type()) {
    case VarType::Long:
      out = v.longValue();
      return true;
    case VarType::Integer:
      out = v.integerValue();
      return true;
    default:
      return false;
  }
}

// An Integer, Long or Double, read as a double.
inline bool asPlainDouble(const Variant& v, double& out) noexcept {
  switch (v.type()) {
    case VarType::Double:
      out = v.doubleValue();
      return true;
    case VarType::Long:
      out = v.longValue();
      return true;
    case VarType::Integer:
      out = v.integerValue();
      return true;
    default:
      return false;
  }
}

// The subtypes that take part in arithmetic and compare as numbers (Boolean and Date included).
inline bool isNumberLike(VarType t) noexcept {
  return t == VarType::Boolean || t == VarType::Date || isNumericVarType(t);
}

inline bool eitherLong(const Variant& a, const Variant& b) noexcept {
  return a.type() == VarType::Long || b.type() == VarType::Long;
}

// The narrowest of Integer and Long (then Double) that holds an integer result whose operands
// were Integers or Longs; `wide` says a Long took part.
inline Variant integerResult(std::int64_t r, bool wide) {
  if (!wide && fitsInteger(r)) return Variant(static_cast<std::int16_t>(r));
  if (fitsLong(r)) return Variant(static_cast<std::int32_t>(r));
  return Variant(static_cast<double>(r));
}

inline Variant doubleResult(double r) {
  if (!std::isfinite(r)) overflow();
  return Variant(r);
}

inline Variant dateResult(double r) {
  if (r > kDateLow && r < kDateHigh) return Variant::date(r);
  return doubleResult(r);
}

// Arrays are no operands: 13, checked both before and after objects are read.
inline void rejectArrays(const Variant& a, const Variant& b) {
  if (a.isArray() || b.isArray()) typeMismatch();
}

// An operand as the operators see it: objects replaced by their default value. The copy is
// made only for objects.
class Resolved {
 public:
  Resolved(const Resolved&) = delete;
  Resolved& operator=(const Resolved&) = delete;
  explicit Resolved(const Variant& v) : ptr_(&v) {
    if (v.isObject()) {
      value_ = defaultValue(v);
      ptr_ = &value_;
    }
  }
  const Variant& operator*() const noexcept { return *ptr_; }
  const Variant* operator->() const noexcept { return ptr_; }

 private:
  Variant value_;
  const Variant* ptr_;
};

// Operands of \, Mod and the logical operators: whole numbers of the narrowest type.
enum class IntKind : std::uint8_t { Boolean, Byte, Integer, Long };

struct IntOperand {
  IntKind kind;
  std::int32_t v;
};

inline IntKind widerIntKind(IntKind x, IntKind y) noexcept {
  if (x == y) return x;
  // A Boolean with a Byte meets in Integer, as True is -1.
  const IntKind wider = x > y ? x : y;
  return wider == IntKind::Byte ? IntKind::Integer : wider;
}

// A plain value (no object, Null or array); `logical` lets Boolean text stay Boolean.
IntOperand intOperand(const Variant& v, bool logical);

// -1, 0 or 1 as a is below, equal to or above b.
int compareDecimal(const Decimal& a, const Decimal& b) noexcept;

}  // namespace vantorel::vbs::ops
