// FormatNumber, FormatCurrency and FormatPercent. Two decimals, a leading zero and groups of
// three in every locale; the separators, the currency symbol and where it goes come from the
// locale SetLocale chose, en-US ("$1,234.50", negative in parentheses) by default.
#include <cstdio>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/string_support.hpp"

namespace vantorel::vbs::detail {

namespace {

constexpr int kDefaultDigits = 2;
constexpr int kMaxDigits = 255;

// A number as decimal digits, exact where the type is (integers, Currency, Decimal) and to 15
// significant digits for floating point, so that 2.675 rounds as written.
struct DecimalText {
  bool negative = false;
  std::string whole;     // digits before the point, possibly empty
  std::string fraction;  // digits after it
};

DecimalText fromUnsigned(unsigned long long magnitude, bool negative) {
  return DecimalText{negative, std::to_string(magnitude), {}};
}

DecimalText fromText(std::string text) {
  DecimalText out;
  if (!text.empty() && text[0] == '-') {
    out.negative = true;
    text.erase(0, 1);
  }
  const std::size_t point = text.find('.');
  out.whole = text.substr(0, point);
  if (point != std::string::npos) out.fraction = text.substr(point + 1);
  return out;
}

DecimalText fromDouble(double v) {
  DecimalText out;
  out.negative = v < 0;
  if (v == 0) return out;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", out.negative ? -v : v);
  const std::string text(buffer);
  const std::size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  const int exponent = std::stoi(text.substr(e + 1));
  if (exponent >= 0) {
    const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() < wholeDigits) digits.append(wholeDigits - digits.size(), '0');
    out.whole = digits.substr(0, wholeDigits);
    out.fraction = digits.substr(wholeDigits);
  } else {
    out.fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  return out;
}

std::string narrow(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

DecimalText decimalText(const Variant& arg) {
  const Variant v = defaultValue(arg);
  switch (v.type()) {
    case VarType::Empty:
      return {};
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
    case VarType::Boolean: {
      const std::int64_t n = toLong(v);
      return fromUnsigned(static_cast<unsigned long long>(n < 0 ? -n : n), n < 0);
    }
    case VarType::Currency: {
      const std::int64_t scaled = v.currencyValue().scaled;
      const bool negative = scaled < 0;
      const unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(scaled)
                                                    : static_cast<unsigned long long>(scaled);
      std::string fraction = std::to_string(magnitude % Currency::kScale);
      fraction.insert(0, 4 - fraction.size(), '0');
      return DecimalText{negative, std::to_string(magnitude / Currency::kScale), fraction};
    }
    case VarType::Decimal:
      return fromText(narrow(formatDecimal(v.decimalValue())));
    default:
      return fromDouble(toDouble(v));
  }
}

// Rounds half away from zero to `digits` decimals, padding with zeros.
void roundTo(DecimalText& n, std::size_t digits) {
  if (n.fraction.size() <= digits) {
    n.fraction.append(digits - n.fraction.size(), '0');
    return;
  }
  const bool up = n.fraction[digits] >= '5';
  n.fraction.resize(digits);
  if (!up) return;
  std::string all = n.whole + n.fraction;
  std::size_t i = all.size();
  while (i > 0 && all[i - 1] == '9') all[--i] = '0';
  if (i == 0) {
    all.insert(all.begin(), '1');
  } else {
    ++all[i - 1];
  }
  n.whole = all.substr(0, all.size() - digits);
  n.fraction = all.substr(all.size() - digits);
}

void shiftLeftTwo(DecimalText& n) {
  if (n.fraction.size() < 2) n.fraction.append(2 - n.fraction.size(), '0');
  n.whole += n.fraction.substr(0, 2);
  n.fraction.erase(0, 2);
}

enum class Style { kNumber, kCurrency, kPercent };

// Where a locale puts its currency symbol, and whether its negative amounts are bracketed
// rather than signed: "$1.50" / "($1.50)" in en-US, "-£1.50" in en-GB, "-1,50 €" in de-DE.
struct CurrencyLayout {
  bool symbolAfter = false;
  bool parensForNegative = true;
};

CurrencyLayout currencyLayout(std::int32_t lcid) {
  switch (lcid) {
    case 2057:
      return {false, false};
    case 1031:
    case 1036:
      return {true, false};
    default:
      return {};
  }
}

// A tristate argument: -2 (or missing) takes the default, 0 is false, anything else true.
bool tristate(CallArgs args, std::size_t i, bool fallback) {
  const Variant* arg = optionalArg(args, i);
  if (!arg) return fallback;
  const std::int32_t value = toLong(*arg);
  if (value == -2) return fallback;
  return value != 0;
}

Variant format(CallArgs args, Style style) {
  // A Null value is a type mismatch here, as for FormatDateTime and MonthName.
  if (PlainArg(args[0])->isNull()) raiseVbError(vberr::kTypeMismatch);
  int digits = kDefaultDigits;
  if (const Variant* arg = optionalArg(args, 1)) {
    const std::int32_t n = toLong(*arg);
    if (n < -1 || n > kMaxDigits) raiseVbError(vberr::kInvalidProcedureCall);
    if (n != -1) digits = n;
  }
  const NumberLocale& locale = currentNumberLocale();
  const CurrencyLayout layout = currencyLayout(locale.lcid);
  const bool leadingDigit = tristate(args, 2, true);
  const bool parens = tristate(args, 3, style == Style::kCurrency && layout.parensForNegative);
  const bool group = tristate(args, 4, true);

  DecimalText n = decimalText(args[0]);
  if (style == Style::kPercent) shiftLeftTwo(n);
  roundTo(n, static_cast<std::size_t>(digits));

  const std::size_t significant = n.whole.find_first_not_of('0');
  n.whole.erase(0, significant == std::string::npos ? n.whole.size() : significant);
  const bool negative =
      n.negative && (!n.whole.empty() || n.fraction.find_first_not_of('0') != std::string::npos);

  std::u16string body;
  if (n.whole.empty()) {
    if (leadingDigit) body = u"0";
  } else {
    for (std::size_t i = 0; i < n.whole.size(); ++i) {
      if (group && i > 0 && (n.whole.size() - i) % 3 == 0) body.push_back(locale.group);
      body.push_back(static_cast<char16_t>(n.whole[i]));
    }
  }
  if (digits > 0) {
    body.push_back(locale.decimal);
    body.append(n.fraction.begin(), n.fraction.end());
  }
  if (style == Style::kCurrency) {
    if (layout.symbolAfter) {
      body += {u' ', locale.currency};
    } else {
      body.insert(body.begin(), locale.currency);
    }
  }
  if (style == Style::kPercent) body.push_back(u'%');
  if (negative) body = parens ? u"(" + body + u")" : u"-" + body;
  return Variant(std::move(body));
}

}  // namespace

Variant formatNumber(CallArgs args) {
  return format(args, Style::kNumber);
}
Variant formatCurrency(CallArgs args) {
  return format(args, Style::kCurrency);
}
Variant formatPercent(CallArgs args) {
  return format(args, Style::kPercent);
}

}  // namespace vantorel::vbs::detail
