// Number text in the invariant form: parseNumber and the CStr forms of the numeric types.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/automation/number_locale.hpp"
#include "platform/automation/number_scan.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {
namespace {

// The text is made in the invariant form; the locale's decimal separator replaces the point.
std::u16string widen(const char* p, const char* end) {
  std::u16string out(p, end);
  const char16_t decimal = currentNumberLocale().decimal;
  if (decimal != u'.') {
    for (char16_t& c : out) {
      if (c == u'.') c = decimal;
    }
  }
  return out;
}

// The %G rule with VBScript's spelling: `precision` significant digits, trailing zeros dropped,
// and an exponent ("1E+20", "1.5E-07") when the number's exponent is below -4 or reaches the
// precision.
std::u16string formatFloating(double v, int precision, double exactLimit, bool shortestIsExact) {
  if (v == 0) return u"0";
  if (std::isnan(v)) return std::signbit(v) ? u"-1.#IND" : u"1.#QNAN";
  if (std::isinf(v)) return v < 0 ? u"-1.#INF" : u"1.#INF";

  char out[48];
  char* o = out;
  if (std::fabs(v) < exactLimit && v == std::trunc(v)) {
    o = std::to_chars(o, out + sizeof out, static_cast<std::int64_t>(v)).ptr;
    return widen(out, o);
  }

  char sci[48];
  // The shortest form that reads back is much cheaper to make. For a double with at most 15
  // digits it is also the nearest 15-digit number, since a double's half-ulp is well under half
  // the spacing of 15-digit numbers; a float's is not, nor a subnormal's, so those take the long
  // way.
  const char* end = sci;
  if (shortestIsExact && std::fabs(v) >= std::numeric_limits<double>::min()) {
    end = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific).ptr;
    // "d.<14 digits>e..." is 16 characters before the 'e'.
    if (std::memchr(sci, 'e', static_cast<std::size_t>(end - sci)) > sci + precision + 1) end = sci;
  }
  if (end == sci) {
    end = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific,
                        precision - 1)
              .ptr;
  }
  const char* e =
      static_cast<const char*>(std::memchr(sci, 'e', static_cast<std::size_t>(end - sci)));
  int exp10 = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exp10);
  char digits[24];
  int count = 0;
  for (const char* p = sci; p < e; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  while (count > 1 && digits[count - 1] == '0') --count;

  if (v < 0) *o++ = '-';
  if (exp10 < -4 || exp10 >= precision) {
    *o++ = digits[0];
    if (count > 1) {
      *o++ = '.';
      std::memcpy(o, digits + 1, static_cast<std::size_t>(count - 1));
      o += count - 1;
    }
    *o++ = 'E';
    *o++ = exp10 < 0 ? '-' : '+';
    const int a = exp10 < 0 ? -exp10 : exp10;
    if (a < 10) *o++ = '0';
    o = std::to_chars(o, out + sizeof out, a).ptr;
  } else if (exp10 < 0) {
    *o++ = '0';
    *o++ = '.';
    for (int k = -1; k > exp10; --k) *o++ = '0';
    std::memcpy(o, digits, static_cast<std::size_t>(count));
    o += count;
  } else {
    for (int k = 0; k <= exp10; ++k) *o++ = k < count ? digits[k] : '0';
    if (count > exp10 + 1) {
      *o++ = '.';
      std::memcpy(o, digits + exp10 + 1, static_cast<std::size_t>(count - exp10 - 1));
      o += count - exp10 - 1;
    }
  }
  return widen(out, o);
}

Variant narrowestNumber(const detail::ScannedNumber& n) {
  if (n.radix) {
    const double v = detail::radixValue(n);
    if (v < -2147483648.0 || v > 2147483647.0) return Variant(v);
    const auto i = static_cast<std::int32_t>(v);
    if (i >= -32768 && i <= 32767) return Variant(static_cast<std::int16_t>(i));
    return Variant(i);
  }
  if (n.count == 0) return Variant(static_cast<std::int16_t>(0));
  if (n.exponent >= 0 && n.count + n.exponent <= 10) {
    std::int64_t i = 0;
    for (int k = 0; k < n.count; ++k) i = i * 10 + (n.digits[k] - '0');
    for (int k = 0; k < n.exponent; ++k) i *= 10;
    if (n.negative) i = -i;
    if (i >= -32768 && i <= 32767) return Variant(static_cast<std::int16_t>(i));
    if (i >= -2147483648LL && i <= 2147483647LL) return Variant(static_cast<std::int32_t>(i));
  }
  return Variant(detail::scannedToDouble(n));
}

}  // namespace

std::optional<Variant> parseNumber(std::u16string_view text) {
  detail::ScannedNumber n;
  if (!detail::scanNumber(text, n)) return std::nullopt;
  return narrowestNumber(n);
}

std::u16string formatDouble(double v) {
  return formatFloating(v, 15, 1e15, true);
}

std::u16string formatSingle(float v) {
  return formatFloating(v, 7, 1e7, false);
}

std::u16string formatCurrency(Currency v) {
  char out[32];
  char* o = out;
  std::uint64_t m = static_cast<std::uint64_t>(v.scaled);
  if (v.scaled < 0) {
    *o++ = '-';
    m = 0 - m;
  }
  o = std::to_chars(o, out + sizeof out, m / Currency::kScale).ptr;
  auto frac = static_cast<unsigned>(m % Currency::kScale);
  if (frac != 0) {
    *o++ = '.';
    for (unsigned div = 1000; frac != 0; div /= 10) {
      *o++ = static_cast<char>('0' + frac / div);
      frac %= div;
    }
  }
  return widen(out, o);
}

std::u16string formatDecimal(const Decimal& v) {
  const detail::ScannedNumber n = detail::scanDecimal(v);
  if (n.count == 0) return u"0";
  std::u16string out;
  out.reserve(static_cast<std::size_t>(n.count) + 32);
  if (n.negative) out += u'-';
  const int intDigits = n.count + n.exponent;  // digits before the point
  if (intDigits <= 0) {
    out += u'0';
    out += currentNumberLocale().decimal;
    out.append(static_cast<std::size_t>(-intDigits), u'0');
    out.append(n.digits, n.digits + n.count);
  } else {
    for (int k = 0; k < intDigits; ++k) out += k < n.count ? char16_t(n.digits[k]) : u'0';
    if (n.count > intDigits) {
      out += currentNumberLocale().decimal;
      out.append(n.digits + intDigits, n.digits + n.count);
    }
  }
  return out;
}

}  // namespace vantorel
