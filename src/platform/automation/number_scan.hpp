#pragma once
// Exact reading of number text. The significant digits are kept as written, so that Integer,
// Long, Currency and Decimal conversions round once, from the text itself, and Double and Single
// conversions are correctly rounded.
#include <cstdint>
#include <string_view>

#include "platform/automation/numeric_types.hpp"

namespace vantorel::detail {

struct ScannedNumber {
  // More than Decimal's 29 digits, so that its rounding sees the digits that decide it.
  static constexpr int kMaxDigits = 40;

  bool negative = false;
  // An "&H"/"&O" form: `bits` holds its value and the decimal fields are unused.
  bool radix = false;
  bool radixTooBig = false;  // more than 64 bits
  std::uint64_t bits = 0;

  // value = digits (read as an integer) * 10^exponent. No leading or trailing zeros; zero has
  // count 0.
  char digits[kMaxDigits];
  int count = 0;
  int exponent = 0;
  bool sticky = false;  // a non-zero digit past kMaxDigits was dropped
};

// Reads the whole text as a number; false when it is not one.
bool scanNumber(std::u16string_view text, ScannedNumber& out) noexcept;

// The significant digits of a binary value, rounded to `precision` digits, as conversions to
// Decimal take them (15 for Double, 7 for Single).
ScannedNumber scanDouble(double v, int precision) noexcept;
ScannedNumber scanSingle(float v, int precision) noexcept;
ScannedNumber scanDecimal(const Decimal& v) noexcept;
ScannedNumber scanInteger(std::int64_t v, int exponent) noexcept;

// Correctly rounded binary values; raise 6 (overflow) past the type's range. Values below its
// smallest subnormal become 0.
double scannedToDouble(const ScannedNumber& n);
float scannedToSingle(const ScannedNumber& n);
// |value| * 10^shift rounded half to even into `out`; false when that needs more than 38 digits.
bool scannedRoundScaled(const ScannedNumber& n, int shift, UInt128& out) noexcept;
// Rounds to the nearest whole number, half to even, within [min, max]; raises 6 outside.
std::int64_t scannedToInteger(const ScannedNumber& n, std::int64_t min, std::int64_t max);
// Rounds to four decimals, half to even; raises 6 outside Currency's range.
Currency scannedToCurrency(const ScannedNumber& n);
// Rounds to at most 28 decimals and 96 bits, half to even; raises 6 when the integer part is
// too large. The result has no trailing zeros after the point.
Decimal scannedToDecimal(const ScannedNumber& n);

// The value of an "&H"/"&O" form as conversions read it: up to 32 bits it is a Long's bit
// pattern (so "&HFFFFFFFF" is -1 but "&HFFFF" is 65535); beyond, the unsigned value.
double radixValue(const ScannedNumber& n);

}  // namespace vantorel::detail
