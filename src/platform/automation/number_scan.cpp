#include "platform/automation/number_scan.hpp"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::detail {
namespace {

using U128 = UInt128;

// Exponents past this are far outside every type's range; clamping keeps the arithmetic in int.
constexpr int kExponentClamp = 100000;

bool isDigit(char16_t c) noexcept {
  return c >= u'0' && c <= u'9';
}

int hexDigitValue(char16_t c) noexcept {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool scanRadix(std::u16string_view s, std::size_t i, ScannedNumber& out) noexcept {
  // s[i] is the '&'.
  ++i;
  if (i >= s.size()) return false;
  unsigned shift;
  if (s[i] == u'H' || s[i] == u'h') {
    shift = 4;
  } else if (s[i] == u'O' || s[i] == u'o') {
    shift = 3;
  } else {
    return false;
  }
  ++i;
  const std::uint64_t base = 1u << shift;
  std::uint64_t bits = 0;
  bool any = false;
  for (; i < s.size(); ++i) {
    const int d = hexDigitValue(s[i]);
    if (d < 0 || static_cast<std::uint64_t>(d) >= base) break;
    any = true;
    if (bits >> (64 - shift) != 0) out.radixTooBig = true;
    bits = (bits << shift) | static_cast<std::uint64_t>(d);
  }
  while (i < s.size() && isBlank(s[i])) ++i;
  if (!any || i != s.size()) return false;
  out.radix = true;
  out.bits = bits;
  return true;
}

void appendDigit(ScannedNumber& out, char c, bool fraction) noexcept {
  if (out.count == 0 && c == '0') {
    if (fraction) --out.exponent;
    return;
  }
  if (out.count < ScannedNumber::kMaxDigits) {
    out.digits[out.count++] = c;
    if (fraction) --out.exponent;
  } else {
    if (c != '0') out.sticky = true;
    if (!fraction) ++out.exponent;
  }
}

void stripTrailingZeros(ScannedNumber& n) noexcept {
  while (n.count > 0 && n.digits[n.count - 1] == '0') {
    --n.count;
    ++n.exponent;
  }
  if (n.count == 0) {
    n.exponent = 0;
    n.sticky = false;
  }
}

// Parses "d.ddde+XX" as std::to_chars writes it in scientific form.
ScannedNumber scanScientific(const char* p, const char* end, bool negative) noexcept {
  ScannedNumber n;
  n.negative = negative;
  int exp10 = 0;
  const char* e = static_cast<const char*>(std::memchr(p, 'e', static_cast<std::size_t>(end - p)));
  if (e) std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exp10);
  const char* stop = e ? e : end;
  for (; p < stop; ++p) {
    if (*p != '.' && n.count < ScannedNumber::kMaxDigits) n.digits[n.count++] = *p;
  }
  n.exponent = exp10 - (n.count - 1);
  stripTrailingZeros(n);
  return n;
}

const double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Writes the digits in the form from_chars reads, with a trailing 1 standing for dropped digits
// so that a value just above a halfway point is not rounded as if it were on it.
std::size_t writeForFromChars(const ScannedNumber& n, char* buf) noexcept {
  std::size_t len = 0;
  if (n.negative) buf[len++] = '-';
  std::memcpy(buf + len, n.digits, static_cast<std::size_t>(n.count));
  len += static_cast<std::size_t>(n.count);
  int exp = n.exponent;
  if (n.sticky) {
    buf[len++] = '1';
    --exp;
  }
  buf[len++] = 'e';
  len += static_cast<std::size_t>(std::to_chars(buf + len, buf + len + 12, exp).ptr - (buf + len));
  return len;
}

template <class Float>
Float scannedToFloat(const ScannedNumber& n, int maxExp10, int minExp10) {
  if (n.radix) return static_cast<Float>(radixValue(n));
  if (n.count == 0) return 0;
  const int leading = n.count + n.exponent - 1;  // power of ten of the first digit
  if (leading > maxExp10) raiseVbError(vberr::kOverflow);
  if (leading < minExp10) return 0;
  char buf[ScannedNumber::kMaxDigits + 24];
  const std::size_t len = writeForFromChars(n, buf);
  Float value = 0;
  const auto [ptr, ec] = std::from_chars(buf, buf + len, value);
  if (ec == std::errc::result_out_of_range) {
    if (leading > 0) raiseVbError(vberr::kOverflow);
    return 0;
  }
  (void)ptr;
  return value;
}

}  // namespace

bool scanNumber(std::u16string_view s, ScannedNumber& out) noexcept {
  out = ScannedNumber{};
  std::size_t i = 0;
  const std::size_t size = s.size();
  while (i < size && isBlank(s[i])) ++i;
  if (i < size && s[i] == u'&') return scanRadix(s, i, out);

  const NumberLocale& locale = currentNumberLocale();
  bool paren = false, currency = false, sign = false;
  if (i < size && s[i] == u'(') {
    paren = true;
    ++i;
  }
  for (; i < size; ++i) {
    if (s[i] == locale.currency && !currency) {
      currency = true;
    } else if ((s[i] == u'-' || s[i] == u'+') && !sign && !paren) {
      sign = true;
      out.negative = s[i] == u'-';
    } else {
      break;
    }
  }

  bool anyDigit = false;
  for (; i < size; ++i) {
    const char16_t c = s[i];
    if (isDigit(c)) {
      anyDigit = true;
      appendDigit(out, static_cast<char>(c), false);
    } else if (c != locale.group || !anyDigit) {
      break;
    }
  }
  if (i < size && s[i] == locale.decimal) {
    for (++i; i < size && isDigit(s[i]); ++i) {
      anyDigit = true;
      appendDigit(out, static_cast<char>(s[i]), true);
    }
  }
  if (!anyDigit) return false;

  if (i < size && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    bool expNegative = false;
    if (i < size && (s[i] == u'+' || s[i] == u'-')) expNegative = s[i++] == u'-';
    if (i >= size || !isDigit(s[i])) return false;
    int exp = 0;
    for (; i < size && isDigit(s[i]); ++i) {
      if (exp < kExponentClamp) exp = exp * 10 + (s[i] - u'0');
    }
    out.exponent += expNegative ? -exp : exp;
    if (out.exponent > kExponentClamp) out.exponent = kExponentClamp;
    if (out.exponent < -kExponentClamp) out.exponent = -kExponentClamp;
  }

  while (i < size && isBlank(s[i])) ++i;
  // Automation also reads a sign written after the number, as in "5-".
  if (!sign && !paren && i < size && (s[i] == u'-' || s[i] == u'+')) {
    out.negative = s[i++] == u'-';
    while (i < size && isBlank(s[i])) ++i;
  }
  if (paren) {
    if (i >= size || s[i] != u')') return false;
    out.negative = true;
    ++i;
    while (i < size && isBlank(s[i])) ++i;
  }
  if (i != size) return false;
  stripTrailingZeros(out);
  if (out.count == 0) out.negative = false;
  return true;
}

ScannedNumber scanDouble(double v, int precision) noexcept {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific,
                               precision - 1);
  return scanScientific(buf, r.ptr, std::signbit(v));
}

ScannedNumber scanSingle(float v, int precision) noexcept {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific,
                               precision - 1);
  return scanScientific(buf, r.ptr, std::signbit(v));
}

ScannedNumber scanDecimal(const Decimal& v) noexcept {
  ScannedNumber n;
  U128 m = v.magnitude();
  char rev[40];
  int len = 0;
  while (m != 0) {
    rev[len++] = static_cast<char>('0' + static_cast<int>(m % 10));
    m /= 10;
  }
  for (int k = 0; k < len; ++k) n.digits[k] = rev[len - 1 - k];
  n.count = len;
  n.exponent = -static_cast<int>(v.scale);
  n.negative = v.negative;
  stripTrailingZeros(n);
  if (n.count == 0) n.negative = false;
  return n;
}

ScannedNumber scanInteger(std::int64_t v, int exponent) noexcept {
  ScannedNumber n;
  n.negative = v < 0;
  std::uint64_t m = n.negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  const auto r = std::to_chars(n.digits, n.digits + ScannedNumber::kMaxDigits, m);
  n.count = static_cast<int>(r.ptr - n.digits);
  n.exponent = exponent;
  stripTrailingZeros(n);
  if (n.count == 0) n.negative = false;
  return n;
}

double scannedToDouble(const ScannedNumber& n) {
  // Both factors exact, so the one rounding of the product or quotient is the correct one.
  if (!n.radix && !n.sticky && n.count <= 15 && n.exponent >= -22 && n.exponent <= 22) {
    std::int64_t d = 0;
    for (int k = 0; k < n.count; ++k) d = d * 10 + (n.digits[k] - '0');
    double v = static_cast<double>(d);
    v = n.exponent >= 0 ? v * kExactPowers[n.exponent] : v / kExactPowers[-n.exponent];
    return n.negative ? -v : v;
  }
  return scannedToFloat<double>(n, 308, -330);
}

float scannedToSingle(const ScannedNumber& n) {
  return scannedToFloat<float>(n, 38, -50);
}

bool scannedRoundScaled(const ScannedNumber& n, int shift, U128& out) noexcept {
  constexpr int kMax = 38;
  out = 0;
  if (n.count == 0) return true;
  const int total = n.exponent + shift;  // value * 10^shift = digits * 10^total
  if (total >= 0) {
    if (n.count + total > kMax) return false;
    U128 m = 0;
    for (int k = 0; k < n.count; ++k) m = m * 10 + static_cast<unsigned>(n.digits[k] - '0');
    for (int k = 0; k < total; ++k) m *= 10;
    out = m;
    return true;
  }
  const int keep = n.count + total;
  if (keep < 0) return true;
  if (keep > kMax) return false;
  U128 m = 0;
  for (int k = 0; k < keep; ++k) m = m * 10 + static_cast<unsigned>(n.digits[k] - '0');
  const int first = n.digits[keep] - '0';
  // The digits were stripped of trailing zeros, so anything after the first dropped digit is
  // non-zero exactly when there is a further digit or the sticky flag.
  const bool rest = keep + 1 < n.count || n.sticky;
  if (first > 5 || (first == 5 && (rest || (m & 1) != 0))) ++m;
  out = m;
  return true;
}

std::int64_t scannedToInteger(const ScannedNumber& n, std::int64_t min, std::int64_t max) {
  if (n.radix) {
    const double v = radixValue(n);
    if (!(v >= static_cast<double>(min) && v <= static_cast<double>(max))) {
      raiseVbError(vberr::kOverflow);
    }
    return static_cast<std::int64_t>(v);
  }
  U128 m;
  if (!scannedRoundScaled(n, 0, m)) raiseVbError(vberr::kOverflow);
  if (n.negative) {
    if (m > static_cast<U128>(0 - static_cast<std::uint64_t>(min)) && m != 0) {
      raiseVbError(vberr::kOverflow);
    }
    return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(m));
  }
  if (m > static_cast<U128>(max)) raiseVbError(vberr::kOverflow);
  return static_cast<std::int64_t>(m);
}

Currency scannedToCurrency(const ScannedNumber& n) {
  if (n.radix) {
    const double v = radixValue(n);
    if (std::fabs(v) > 922337203685477.0) raiseVbError(vberr::kOverflow);
    return Currency{static_cast<std::int64_t>(v) * Currency::kScale};
  }
  U128 m;
  if (!scannedRoundScaled(n, 4, m)) raiseVbError(vberr::kOverflow);
  constexpr U128 kMaxPositive = static_cast<U128>(std::numeric_limits<std::int64_t>::max());
  if (m > kMaxPositive + (n.negative ? 1 : 0)) raiseVbError(vberr::kOverflow);
  const auto bits = static_cast<std::uint64_t>(m);
  return Currency{static_cast<std::int64_t>(n.negative ? 0 - bits : bits)};
}

Decimal scannedToDecimal(const ScannedNumber& n) {
  if (n.radix) {
    const double v = radixValue(n);
    return Decimal::fromMagnitude(static_cast<U128>(std::fabs(v)), 0, v < 0);
  }
  if (n.count == 0) return Decimal{};
  constexpr U128 kLimit = static_cast<U128>(1) << 96;
  int scale = n.exponent >= 0 ? 0 : -n.exponent;
  if (scale > Decimal::kMaxScale) scale = Decimal::kMaxScale;
  // Each step gives up one decimal; 29 digits always fit once the scale is small enough.
  for (;; --scale) {
    U128 m;
    if (scannedRoundScaled(n, scale, m) && m < kLimit) {
      while (scale > 0 && m % 10 == 0) {
        m /= 10;
        --scale;
      }
      return Decimal::fromMagnitude(m, static_cast<std::uint8_t>(scale), n.negative);
    }
    if (scale == 0) raiseVbError(vberr::kOverflow);
  }
}

double radixValue(const ScannedNumber& n) {
  if (n.radixTooBig) raiseVbError(vberr::kOverflow);
  if (n.bits <= 0xFFFFFFFFu) return static_cast<std::int32_t>(static_cast<std::uint32_t>(n.bits));
  return static_cast<double>(n.bits);
}

}  // namespace vantorel::detail
