// The CBool/CByte/CInt/CLng/CSng/CDbl/CCur/CDate/CStr conversions. The interpreter calls these
// in its inner loop, so each is one switch on the type with the plain cases first and no
// allocation outside the text conversions.
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_scan.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {
namespace {

using detail::ScannedNumber;

// Default members returning objects whose default members return objects: past this depth the
// chain is taken to be a cycle.
constexpr int kMaxDefaultDepth = 16;

// The open interval of OLE dates from 1 January 100 to the end of 31 December 9999.
constexpr double kDateLow = -657435.0;
constexpr double kDateHigh = 2958466.0;

[[noreturn]] void typeMismatch() {
  raiseVbError(vberr::kTypeMismatch);
}
[[noreturn]] void overflow() {
  raiseVbError(vberr::kOverflow);
}
[[noreturn]] void invalidUseOfNull() {
  raiseVbError(vberr::kInvalidUseOfNull);
}

ScannedNumber scanText(const std::u16string& text) {
  ScannedNumber n;
  if (!detail::scanNumber(text, n)) typeMismatch();
  return n;
}

template <class T>
T roundToRange(double v) {
  // nearbyint rounds half to even in the default rounding mode, as CInt and CLng do.
  const double r = std::nearbyint(v);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
        r <= static_cast<double>(std::numeric_limits<T>::max()))) {
    overflow();
  }
  return static_cast<T>(r);
}

template <class T>
T checkRange(std::int64_t v) {
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) overflow();
  return static_cast<T>(v);
}

std::int64_t roundCurrency(std::int64_t scaled) noexcept {
  std::int64_t q = scaled / Currency::kScale;
  const std::int64_t r = scaled % Currency::kScale;
  constexpr std::int64_t kHalf = Currency::kScale / 2;
  if (r > kHalf || (r == kHalf && (q & 1) != 0)) ++q;
  if (r < -kHalf || (r == -kHalf && (q & 1) != 0)) --q;
  return q;
}

// "&H" text fills the target's own width first, so CInt("&HFFFF") is -1 while CLng("&HFFFF")
// is 65535; wider values read as a Long's bit pattern, as the other conversions do.
template <class T>
T textToIntegral(const std::u16string& text) {
  const ScannedNumber n = scanText(text);
  if (n.radix && !n.radixTooBig) {
    using Unsigned = std::make_unsigned_t<T>;
    if (n.bits <= std::numeric_limits<Unsigned>::max()) {
      return static_cast<T>(static_cast<Unsigned>(n.bits));
    }
  }
  return static_cast<T>(
      detail::scannedToInteger(n, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

template <class T>
T toIntegral(const Variant& v) {
  switch (v.type()) {
    case VarType::Long:
      return checkRange<T>(v.longValue());
    case VarType::Integer:
      return checkRange<T>(v.integerValue());
    case VarType::Double:
    case VarType::Date:
      return roundToRange<T>(v.doubleValue());
    case VarType::String:
      return textToIntegral<T>(v.stringValue());
    case VarType::Empty:
      return 0;
    case VarType::Boolean:
      // True is all bits set: -1, or 255 for a Byte.
      return v.boolValue() ? static_cast<T>(-1) : T{0};
    case VarType::Byte:
      return static_cast<T>(v.byteValue());
    case VarType::Single:
      return roundToRange<T>(v.singleValue());
    case VarType::Currency:
      return checkRange<T>(roundCurrency(v.currencyValue().scaled));
    case VarType::Decimal:
      return static_cast<T>(detail::scannedToInteger(detail::scanDecimal(v.decimalValue()),
                                                     std::numeric_limits<T>::min(),
                                                     std::numeric_limits<T>::max()));
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toIntegral<T>(defaultValue(v));
    default:
      typeMismatch();
  }
}

float narrowToSingle(double v) {
  const auto f = static_cast<float>(v);
  if (std::isinf(f) && !std::isinf(v)) overflow();
  return f;
}

Currency currencyFromDouble(double v) {
  const double r = std::nearbyint(v * static_cast<double>(Currency::kScale));
  // 2^63 is exact in a double; the bounds are the int64 range.
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) overflow();
  return Currency{static_cast<std::int64_t>(r)};
}

Decimal decimalFromInteger(std::int64_t v) noexcept {
  const auto m = static_cast<std::uint64_t>(v);
  return Decimal::fromMagnitude(v < 0 ? 0 - m : m, 0, v < 0);
}

double checkDate(double v) {
  if (!(v > kDateLow && v < kDateHigh)) overflow();
  return v;
}

// Compares with a lower-case ASCII word, ignoring case.
bool equalsWord(std::u16string_view s, std::u16string_view lowerWord) noexcept {
  if (s.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    if (c != lowerWord[i]) return false;
  }
  return true;
}

bool textToBool(const std::u16string& text) {
  std::u16string_view s = text;
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  if (equalsWord(s, u"true")) return true;
  if (equalsWord(s, u"false")) return false;
  const ScannedNumber n = scanText(text);
  return n.radix ? n.bits != 0 || n.radixTooBig : n.count != 0;
}

std::u16string integerText(std::int64_t v) {
  char buf[24];
  char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::u16string(buf, end);
}

}  // namespace

bool toBool(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean:
      return v.boolValue();
    case VarType::Long:
      return v.longValue() != 0;
    case VarType::Integer:
      return v.integerValue() != 0;
    case VarType::Double:
    case VarType::Date:
      return v.doubleValue() != 0;
    case VarType::String:
      return textToBool(v.stringValue());
    case VarType::Empty:
      return false;
    case VarType::Byte:
      return v.byteValue() != 0;
    case VarType::Single:
      return v.singleValue() != 0;
    case VarType::Currency:
      return v.currencyValue().scaled != 0;
    case VarType::Decimal:
      return v.decimalValue().magnitude() != 0;
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toBool(defaultValue(v));
    default:
      typeMismatch();
  }
}

std::uint8_t toByte(const Variant& v) {
  return toIntegral<std::uint8_t>(v);
}

std::int16_t toInteger(const Variant& v) {
  return toIntegral<std::int16_t>(v);
}

std::int32_t toLong(const Variant& v) {
  if (v.type() == VarType::Long) return v.longValue();
  return toIntegral<std::int32_t>(v);
}

double toDouble(const Variant& v) {
  switch (v.type()) {
    case VarType::Double:
    case VarType::Date:
      return v.doubleValue();
    case VarType::Long:
      return v.longValue();
    case VarType::Integer:
      return v.integerValue();
    case VarType::String:
      return detail::scannedToDouble(scanText(v.stringValue()));
    case VarType::Empty:
      return 0;
    case VarType::Boolean:
      return v.boolValue() ? -1 : 0;
    case VarType::Byte:
      return v.byteValue();
    case VarType::Single:
      return v.singleValue();
    case VarType::Currency:
      return static_cast<double>(v.currencyValue().scaled) / Currency::kScale;
    case VarType::Decimal:
      return detail::scannedToDouble(detail::scanDecimal(v.decimalValue()));
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toDouble(defaultValue(v));
    default:
      typeMismatch();
  }
}

float toSingle(const Variant& v) {
  switch (v.type()) {
    case VarType::Single:
      return v.singleValue();
    case VarType::String:
      return detail::scannedToSingle(scanText(v.stringValue()));
    case VarType::Decimal:
      return detail::scannedToSingle(detail::scanDecimal(v.decimalValue()));
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toSingle(defaultValue(v));
    default:
      return narrowToSingle(toDouble(v));
  }
}

Currency toCurrency(const Variant& v) {
  constexpr std::int64_t kScale = Currency::kScale;
  switch (v.type()) {
    case VarType::Currency:
      return v.currencyValue();
    case VarType::Long:
      return Currency{static_cast<std::int64_t>(v.longValue()) * kScale};
    case VarType::Integer:
      return Currency{static_cast<std::int64_t>(v.integerValue()) * kScale};
    case VarType::Byte:
      return Currency{static_cast<std::int64_t>(v.byteValue()) * kScale};
    case VarType::Boolean:
      return Currency{v.boolValue() ? -kScale : 0};
    case VarType::Empty:
      return Currency{};
    case VarType::Double:
    case VarType::Date:
      return currencyFromDouble(v.doubleValue());
    case VarType::Single:
      return currencyFromDouble(v.singleValue());
    case VarType::String:
      return detail::scannedToCurrency(scanText(v.stringValue()));
    case VarType::Decimal:
      return detail::scannedToCurrency(detail::scanDecimal(v.decimalValue()));
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toCurrency(defaultValue(v));
    default:
      typeMismatch();
  }
}

Decimal toDecimal(const Variant& v) {
  switch (v.type()) {
    case VarType::Decimal:
      return v.decimalValue();
    case VarType::Long:
      return decimalFromInteger(v.longValue());
    case VarType::Integer:
      return decimalFromInteger(v.integerValue());
    case VarType::Byte:
      return decimalFromInteger(v.byteValue());
    case VarType::Boolean:
      return decimalFromInteger(v.boolValue() ? -1 : 0);
    case VarType::Empty:
      return Decimal{};
    case VarType::Double:
    case VarType::Date: {
      // Through the 15 digits CStr shows, so that CDec(0.1) is exactly 0.1.
      const double d = v.doubleValue();
      if (!std::isfinite(d)) overflow();
      return detail::scannedToDecimal(detail::scanDouble(d, 15));
    }
    case VarType::Single: {
      const float f = v.singleValue();
      if (!std::isfinite(f)) overflow();
      return detail::scannedToDecimal(detail::scanSingle(f, 7));
    }
    case VarType::Currency:
      return detail::scannedToDecimal(detail::scanInteger(v.currencyValue().scaled, -4));
    case VarType::String:
      return detail::scannedToDecimal(scanText(v.stringValue()));
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toDecimal(defaultValue(v));
    default:
      typeMismatch();
  }
}

double toDate(const Variant& v) {
  switch (v.type()) {
    case VarType::Date:
      return v.dateValue();
    case VarType::String: {
      const std::optional<double> d = parseDate(v.stringValue());
      if (!d) typeMismatch();
      return *d;
    }
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toDate(defaultValue(v));
    default:
      return checkDate(toDouble(v));
  }
}

std::u16string takeText(Variant&& v) {
  return v.isString() ? v.takeString() : toString(v);
}

std::u16string toString(const Variant& v) {
  switch (v.type()) {
    case VarType::String:
      return v.stringValue();
    case VarType::Long:
      return integerText(v.longValue());
    case VarType::Integer:
      return integerText(v.integerValue());
    case VarType::Double:
      return formatDouble(v.doubleValue());
    case VarType::Empty:
      return {};
    case VarType::Boolean:
      return v.boolValue() ? u"True" : u"False";
    case VarType::Date:
      return formatDate(v.dateValue());
    case VarType::Byte:
      return integerText(v.byteValue());
    case VarType::Single:
      return formatSingle(v.singleValue());
    case VarType::Currency:
      return formatCurrency(v.currencyValue());
    case VarType::Decimal:
      return formatDecimal(v.decimalValue());
    case VarType::Null:
      invalidUseOfNull();
    case VarType::Object:
      return toString(defaultValue(v));
    default:
      typeMismatch();
  }
}

Variant changeType(const Variant& v, VarType type) {
  const VarType from = v.type();
  if (from == type || type == VarType::Variant) return v;
  switch (type) {
    case VarType::Empty:
      return Variant();
    case VarType::Null:
      if (from != VarType::Empty) typeMismatch();
      return Variant::null();
    case VarType::Boolean:
      return Variant(toBool(v));
    case VarType::Byte:
      return Variant(toByte(v));
    case VarType::Integer:
      return Variant(toInteger(v));
    case VarType::Long:
      return Variant(toLong(v));
    case VarType::Single:
      return Variant(toSingle(v));
    case VarType::Double:
      return Variant(toDouble(v));
    case VarType::Currency:
      return Variant(toCurrency(v));
    case VarType::Decimal:
      return Variant(toDecimal(v));
    case VarType::Date:
      return Variant::date(toDate(v));
    case VarType::String:
      return Variant(toString(v));
    default:
      // Object, Error and Array hold only what already is one.
      typeMismatch();
  }
}

Variant defaultValue(const Variant& v) {
  if (!v.isObject()) return v;
  Variant current = v;
  for (int depth = 0; current.isObject(); ++depth) {
    Object* object = current.objectValue();
    if (!object) raiseVbError(vberr::kObjectVariableNotSet);
    if (depth == kMaxDefaultDepth) typeMismatch();
    Variant next = object->invoke(kDispIdValue, kInvokeGet | kInvokeMethod, CallArgs{});
    current = std::move(next);
  }
  return current;
}

}  // namespace vantorel
