#pragma once
// VBScript's conversions between Variant types. Text follows the thread's locale
// (number_locale.hpp), by default the invariant en-US rules: "." as the decimal point, "," as
// the thousands separator, month/day/year dates and 12-hour times. Failures raise
// AutomationError: 13 type mismatch, 6 overflow, 94 invalid use of Null.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"

namespace vantorel {

bool toBool(const Variant& v);              // CBool
std::uint8_t toByte(const Variant& v);      // CByte
std::int16_t toInteger(const Variant& v);   // CInt: rounds half to even
std::int32_t toLong(const Variant& v);      // CLng: rounds half to even
float toSingle(const Variant& v);           // CSng
double toDouble(const Variant& v);          // CDbl
Currency toCurrency(const Variant& v);      // CCur
Decimal toDecimal(const Variant& v);
double toDate(const Variant& v);            // CDate, as an OLE date
std::u16string toString(const Variant& v);  // CStr: Empty gives "", Null raises 94
// toString of a value about to go: a string it alone holds is moved out rather than copied.
std::u16string takeText(Variant&& v);

// The value converted to the type, as VariantChangeType does; Empty converts to the type's zero.
Variant changeType(const Variant& v, VarType type);

// Follows an object to its default member value (raising 438 when it has none) so that the
// conversions above see a plain value.
Variant defaultValue(const Variant& v);

// Number parsing as the conversions do it: blanks around, sign, thousands separators, decimal
// point, exponent, "&H"/"&O" prefixes, currency sign and parentheses for negatives. The result
// is the narrowest of Integer, Long and Double that holds the number (Currency never); nothing
// when the text is not a number, and 6 raised when it is one beyond a Double.
std::optional<Variant> parseNumber(std::u16string_view text);
// Date and time text in the invariant forms ("3/5/2009", "2009-03-05", "March 5, 2009",
// "7:08:09 PM", ...); nothing when it is not a date. A date without a year is in the current one.
std::optional<double> parseDate(std::u16string_view text);

// Text forms used by CStr and by string concatenation.
std::u16string formatDouble(double v);    // up to 15 significant digits, "1E+20" style exponents
std::u16string formatSingle(float v);     // up to 7 significant digits
std::u16string formatCurrency(Currency v);
std::u16string formatDecimal(const Decimal& v);
std::u16string formatDate(double oleDate);  // "3/5/2009 7:08:09 AM", date or time part alone when zero
// The date and time parts of formatDate.
std::u16string formatShortDate(int year, int month, int day);     // "3/5/2009"
std::u16string formatLongTime(int hour, int minute, int second);  // "7:08:09 AM"

// OLE dates: days since 30 December 1899, the fraction being the time of day (for negative
// dates the fraction still counts forward from midnight).
struct DateParts {
  int year, month, day, hour, minute, second;
};
// Nothing when a part is out of its range (years 100 to 9999); no carrying as DateSerial does.
std::optional<double> makeDate(int year, int month, int day, int hour, int minute, int second);
// Rounded to the second; raises 6 outside 1 January 100 to 31 December 9999.
DateParts splitDate(double oleDate);

}  // namespace vantorel
