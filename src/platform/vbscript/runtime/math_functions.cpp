// Abs, Atn, Cos, Exp, Fix, Int, Log, Rnd, Round, Sgn, Sin, Sqr, Tan. Abs, Fix, Int and Round keep
// the subtype of their argument (text becomes Double) and pass Null through; the others work in
// Double.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_scan.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/builtins.hpp"
#include "platform/vbscript/runtime/random.hpp"

namespace vantorel::vbs {
namespace {

using detail::ScannedNumber;

// The plain value of an argument: objects give their default value.
Variant plain(const Variant& v) {
  return v.isObject() ? defaultValue(v) : v;
}

double checked(double r) {
  if (std::isinf(r)) raiseVbError(vberr::kOverflow);
  return r;
}

std::int64_t pow10(int n) noexcept {
  std::int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// Drops the fraction of a Decimal, towards zero or (floor) towards minus infinity.
Decimal decimalWhole(const Decimal& d, bool floor) {
  UInt128 m = d.magnitude();
  bool inexact = false;
  for (int k = 0; k < d.scale; ++k) {
    inexact = inexact || m % 10 != 0;
    m /= 10;
  }
  if (floor && d.negative && inexact) ++m;
  return Decimal::fromMagnitude(m, 0, d.negative);
}

std::int64_t currencyWhole(std::int64_t scaled, bool floor) noexcept {
  std::int64_t q = scaled / Currency::kScale;
  if (floor && scaled % Currency::kScale < 0) --q;
  return q * Currency::kScale;
}

// Values without a fraction, as Int, Fix and Round return them: Null and the integer subtypes
// as they are, Empty and Boolean as Integers. Nothing for the other subtypes.
std::optional<Variant> alreadyWhole(const Variant& v) {
  switch (v.type()) {
    case VarType::Null:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
      return v;
    case VarType::Empty:
      return Variant(std::int16_t{0});
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(v.boolValue() ? -1 : 0));
    default:
      return std::nullopt;
  }
}

Variant wholePart(const Variant& arg, bool floor) {
  const Variant v = plain(arg);
  if (auto whole = alreadyWhole(v)) return *std::move(whole);
  const auto cut = [floor](double d) { return floor ? std::floor(d) : std::trunc(d); };
  switch (v.type()) {
    case VarType::Single:
      return Variant(static_cast<float>(cut(v.singleValue())));
    case VarType::Date:
      return Variant::date(cut(v.dateValue()));
    case VarType::Currency:
      return Variant(Currency{currencyWhole(v.currencyValue().scaled, floor)});
    case VarType::Decimal:
      return Variant(decimalWhole(v.decimalValue(), floor));
    default:
      return Variant(cut(toDouble(v)));
  }
}

Variant absFn(CallArgs a) {
  const Variant v = plain(a[0]);
  switch (v.type()) {
    case VarType::Null:
    case VarType::Byte:
      return v;
    case VarType::Empty:
      return Variant(std::int16_t{0});
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(v.boolValue() ? 1 : 0));
    case VarType::Integer: {
      // The one Integer without a positive counterpart widens, as arithmetic does.
      const int i = v.integerValue();
      if (i == std::numeric_limits<std::int16_t>::min()) return Variant(std::int32_t{-i});
      return Variant(static_cast<std::int16_t>(i < 0 ? -i : i));
    }
    case VarType::Long: {
      const std::int64_t i = v.longValue();
      if (i == std::numeric_limits<std::int32_t>::min()) return Variant(static_cast<double>(-i));
      return Variant(static_cast<std::int32_t>(i < 0 ? -i : i));
    }
    case VarType::Single:
      return Variant(std::fabs(v.singleValue()));
    case VarType::Currency: {
      const std::int64_t s = v.currencyValue().scaled;
      if (s == std::numeric_limits<std::int64_t>::min()) raiseVbError(vberr::kOverflow);
      return Variant(Currency{s < 0 ? -s : s});
    }
    case VarType::Decimal: {
      Decimal d = v.decimalValue();
      d.negative = false;
      return Variant(d);
    }
    default:
      return Variant(std::fabs(toDouble(v)));
  }
}

Variant intFn(CallArgs a) {
  return wholePart(a[0], true);
}
Variant fixFn(CallArgs a) {
  return wholePart(a[0], false);
}

Variant sgnFn(CallArgs a) {
  const Variant v = plain(a[0]);
  int sign;
  if (v.type() == VarType::Decimal) {
    const Decimal d = v.decimalValue();
    sign = d.magnitude() == 0 ? 0 : (d.negative ? -1 : 1);
  } else if (v.type() == VarType::Currency) {
    const std::int64_t s = v.currencyValue().scaled;
    sign = (s > 0) - (s < 0);
  } else {
    const double d = toDouble(v);
    sign = (d > 0) - (d < 0);
  }
  return Variant(static_cast<std::int16_t>(sign));
}

Variant atnFn(CallArgs a) {
  return Variant(std::atan(toDouble(a[0])));
}
Variant cosFn(CallArgs a) {
  return Variant(std::cos(toDouble(a[0])));
}
Variant sinFn(CallArgs a) {
  return Variant(std::sin(toDouble(a[0])));
}
Variant tanFn(CallArgs a) {
  return Variant(std::tan(toDouble(a[0])));
}
Variant expFn(CallArgs a) {
  return Variant(checked(std::exp(toDouble(a[0]))));
}

Variant logFn(CallArgs a) {
  const double d = toDouble(a[0]);
  if (!(d > 0)) raiseVbError(vberr::kInvalidProcedureCall);
  return Variant(std::log(d));
}

Variant sqrFn(CallArgs a) {
  const double d = toDouble(a[0]);
  if (d < 0) raiseVbError(vberr::kInvalidProcedureCall);
  return Variant(std::sqrt(d));
}

Variant rndFn(ScriptState& state, CallArgs a) {
  return Variant(nextRandom(state, a.has(0) ? a[0] : Variant::missing()));
}

// Rounds the decimal digits to `places` after the point, half to even. Working on the digits
// the value shows (15 for a Double) keeps Round(0.12345, 4) at 0.1234 although the binary value
// lies a little off the halfway point.
ScannedNumber roundDigits(const ScannedNumber& n, int places) {
  if (n.count == 0 || n.exponent >= -places) return n;
  UInt128 m;
  detail::scannedRoundScaled(n, places, m);
  auto whole = static_cast<std::int64_t>(m);
  ScannedNumber r = detail::scanInteger(n.negative ? -whole : whole, -places);
  if (r.count == 0) r.negative = n.negative;
  return r;
}

Variant roundFn(CallArgs a) {
  const Variant v = plain(a[0]);
  int places = 0;
  if (a.has(1)) {
    const std::int32_t p = toLong(a[1]);
    if (p < 0) raiseVbError(vberr::kInvalidProcedureCall);
    places = p > 60 ? 60 : p;
  }
  // Unlike Int and Fix, Round hands a Boolean back as it is.
  if (v.type() == VarType::Boolean) return v;
  if (auto whole = alreadyWhole(v)) return *std::move(whole);
  switch (v.type()) {
    case VarType::Single: {
      const float f = v.singleValue();
      if (!std::isfinite(f)) return v;
      return Variant(detail::scannedToSingle(roundDigits(detail::scanSingle(f, 7), places)));
    }
    case VarType::Currency: {
      if (places >= 4) return v;
      const std::int64_t unit = pow10(4 - places);
      const std::int64_t s = v.currencyValue().scaled;
      std::int64_t q = s / unit;
      const std::int64_t r = s % unit;
      const std::int64_t twice = 2 * (r < 0 ? -r : r);
      if (twice > unit || (twice == unit && q % 2 != 0)) q += s < 0 ? -1 : 1;
      return Variant(Currency{q * unit});
    }
    case VarType::Decimal:
      return Variant(
          detail::scannedToDecimal(roundDigits(detail::scanDecimal(v.decimalValue()), places)));
    default: {
      const double d = toDouble(v);
      if (!std::isfinite(d)) return Variant(d);
      return Variant(detail::scannedToDouble(roundDigits(detail::scanDouble(d, 15), places)));
    }
  }
}

constexpr BuiltinFunction kFunctions[] = {
    {u"Abs", 1, 1, absFn}, {u"Atn", 1, 1, atnFn},          {u"Cos", 1, 1, cosFn},
    {u"Exp", 1, 1, expFn}, {u"Fix", 1, 1, fixFn},          {u"Int", 1, 1, intFn},
    {u"Log", 1, 1, logFn}, {u"Rnd", 0, 1, nullptr, rndFn}, {u"Round", 1, 2, roundFn},
    {u"Sgn", 1, 1, sgnFn}, {u"Sin", 1, 1, sinFn},          {u"Sqr", 1, 1, sqrFn},
    {u"Tan", 1, 1, tanFn},
};

}  // namespace

std::span<const BuiltinFunction> mathFunctions() {
  return kFunctions;
}

}  // namespace vantorel::vbs
