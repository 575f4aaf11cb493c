// Date, Time, Now, Timer, the part functions (Year ... Second, Weekday), the name functions,
// DateSerial, TimeSerial, DateValue, TimeValue and FormatDateTime. DateAdd, DateDiff and
// DatePart are in date_arithmetic.cpp.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/sys/clock.hpp"
#include "platform/vbscript/runtime/builtins.hpp"
#include "platform/vbscript/runtime/date_calendar.hpp"
#include "platform/vbscript/runtime/date_functions.hpp"

namespace vantorel::vbs {

namespace cal = calendar;

namespace {

Variant optional(CallArgs a, std::size_t i) {
  return a.has(i) ? a[i] : Variant::missing();
}

Variant integer(int v) {
  return Variant(static_cast<std::int16_t>(v));
}

Variant dateFn(CallArgs) {
  return Variant::date(std::floor(sys::nowAsOleDate()));
}

// Whole seconds, as Hour, Minute and Second read them back: Time = TimeSerial(Hour(Time), ...).
Variant timeFn(CallArgs) {
  const double now = sys::nowAsOleDate();
  const auto seconds = static_cast<std::int64_t>((now - std::floor(now)) * cal::kSecondsPerDay);
  return Variant::date(cal::join(0, std::min<std::int64_t>(seconds, cal::kSecondsPerDay - 1)));
}

Variant nowFn(CallArgs) {
  return Variant::date(sys::nowAsOleDate());
}

Variant timerFn(CallArgs) {
  using namespace std::chrono;
  const sys::TimePoint now = sys::now();
  const sys::TimePoint whole = floor<seconds>(now);
  // The whole seconds come from the OLE date, rounded since the fraction is inexact; the
  // hundredths of a second, as the system timer resolves them, from the clock itself.
  const double day = sys::toOleDate(whole);
  const double secondOfDay = std::round(std::fabs(day - std::trunc(day)) * cal::kSecondsPerDay);
  const auto hundredths = duration_cast<milliseconds>(now - whole).count() / 10;
  return Variant(static_cast<float>(secondOfDay + static_cast<double>(hundredths) / 100));
}

template <int (*Part)(const cal::DayTime&)>
Variant partFn(CallArgs a) {
  if (a[0].isNull()) return Variant::null();
  return integer(Part(cal::splitValue(a[0])));
}

int yearOf(const cal::DayTime& t) {
  return cal::civil(t.day).year;
}
int monthOf(const cal::DayTime& t) {
  return cal::civil(t.day).month;
}
int dayOf(const cal::DayTime& t) {
  return cal::civil(t.day).day;
}
int hourOf(const cal::DayTime& t) {
  return t.seconds / 3600;
}
int minuteOf(const cal::DayTime& t) {
  return t.seconds / 60 % 60;
}
int secondOf(const cal::DayTime& t) {
  return t.seconds % 60;
}

Variant weekdayFn(CallArgs a) {
  const int first = cal::firstDayOfWeekArg(optional(a, 1));
  if (a[0].isNull()) return Variant::null();
  return integer(cal::weekday(cal::splitValue(a[0]).day, first));
}

Variant weekdayNameFn(CallArgs a) {
  const std::int32_t day = toLong(a[0]);
  const bool abbreviate = a.has(1) && toBool(a[1]);
  const int first = cal::firstDayOfWeekArg(optional(a, 2));
  if (day < 1 || day > 7) raiseVbError(vberr::kInvalidProcedureCall);
  const NumberLocale& locale = currentNumberLocale();
  const std::size_t index = static_cast<std::size_t>((day - 1 + first - 1) % 7);
  return Variant(abbreviate ? locale.dayAbbreviations[index] : locale.dayNames[index]);
}

Variant monthNameFn(CallArgs a) {
  if (a[0].isNull()) raiseVbError(vberr::kTypeMismatch);
  const std::int32_t month = toLong(a[0]);
  const bool abbreviate = a.has(1) && toBool(a[1]);
  if (month < 1 || month > 12) raiseVbError(vberr::kInvalidProcedureCall);
  const NumberLocale& locale = currentNumberLocale();
  const auto index = static_cast<std::size_t>(month - 1);
  return Variant(abbreviate ? locale.monthAbbreviations[index] : locale.monthNames[index]);
}

Variant dateSerialFn(CallArgs a) {
  const int year = cal::windowYear(toInteger(a[0]));
  const std::int64_t day = cal::dayNumber(year, toInteger(a[1]), toInteger(a[2]));
  return Variant::date(cal::join(day, 0));
}

Variant timeSerialFn(CallArgs a) {
  const std::int64_t seconds = std::int64_t{toInteger(a[0])} * 3600 +
                               std::int64_t{toInteger(a[1])} * 60 + std::int64_t{toInteger(a[2])};
  return Variant::date(cal::join(0, seconds));
}

Variant dateValueFn(CallArgs a) {
  if (a[0].isNull()) return Variant::null();
  return Variant::date(cal::join(cal::splitValue(a[0]).day, 0));
}

Variant timeValueFn(CallArgs a) {
  if (a[0].isNull()) return Variant::null();
  return Variant::date(cal::join(0, cal::splitValue(a[0]).seconds));
}

void appendNumber(std::u16string& out, int v, int minDigits) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
    v /= 10;
  } while (v > 0);
  if (static_cast<int>(digits.size()) < minDigits) {
    out.append(static_cast<std::size_t>(minDigits) - digits.size(), u'0');
  }
  out += digits;
}

// A pattern letter repeated `run` times: four or more give the name, three the abbreviation,
// one or two the number with that many digits at least.
void appendNameOrNumber(std::u16string& out, std::size_t run, std::u16string_view name,
                        std::u16string_view abbreviation, int number) {
  if (run >= 4)
    out += name;
  else if (run == 3)
    out += abbreviation;
  else
    appendNumber(out, number, static_cast<int>(run));
}

}  // namespace

std::u16string formatLongDate(std::int64_t day) {
  const NumberLocale& locale = currentNumberLocale();
  const cal::Ymd d = cal::civil(day);
  const std::u16string_view pattern = locale.longDatePattern;
  std::u16string out;
  for (std::size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    if (c == u'\'') {
      const std::size_t close = pattern.find(u'\'', i + 1);
      const std::size_t end = close == std::u16string_view::npos ? pattern.size() : close;
      out += pattern.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (c == u'd') {
      const auto wd = static_cast<std::size_t>(cal::weekday(day, 1) - 1);
      appendNameOrNumber(out, run, locale.dayNames[wd], locale.dayAbbreviations[wd], d.day);
    } else if (c == u'M') {
      const auto m = static_cast<std::size_t>(d.month - 1);
      appendNameOrNumber(out, run, locale.monthNames[m], locale.monthAbbreviations[m], d.month);
    } else if (c == u'y') {
      if (run <= 2)
        appendNumber(out, d.year % 100, 2);
      else
        appendNumber(out, d.year, 4);
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::u16string formatDateTime(double oleDate, int format) {
  const cal::DayTime t = cal::split(oleDate);
  switch (format) {
    case 0:
      return formatDate(oleDate);
    case 1:
      return formatLongDate(t.day);
    case 2: {
      const cal::Ymd d = cal::civil(t.day);
      return formatShortDate(d.year, d.month, d.day);
    }
    case 3:
      return formatLongTime(t.seconds / 3600, t.seconds / 60 % 60, t.seconds % 60);
    case 4: {
      std::u16string out;
      appendNumber(out, t.seconds / 3600, 2);
      out += currentNumberLocale().timeSeparator;
      appendNumber(out, t.seconds / 60 % 60, 2);
      return out;
    }
    default:
      raiseVbError(vberr::kInvalidProcedureCall);
  }
}

namespace {

// The Format functions and MonthName convert their value as automation converts a Null to a
// number: a type mismatch (13), not the invalid use of Null (94) of the conversion functions.
Variant formatDateTimeFn(CallArgs a) {
  if (a[0].isNull()) raiseVbError(vberr::kTypeMismatch);
  const std::int32_t format = a.has(1) ? toLong(a[1]) : 0;
  if (format < 0 || format > 4) raiseVbError(vberr::kInvalidProcedureCall);
  return Variant(formatDateTime(toDate(a[0]), format));
}

constexpr BuiltinFunction kFunctions[] = {
    {u"Date", 0, 0, dateFn},
    {u"Time", 0, 0, timeFn},
    {u"Now", 0, 0, nowFn},
    {u"Timer", 0, 0, timerFn},
    {u"Year", 1, 1, partFn<yearOf>},
    {u"Month", 1, 1, partFn<monthOf>},
    {u"Day", 1, 1, partFn<dayOf>},
    {u"Hour", 1, 1, partFn<hourOf>},
    {u"Minute", 1, 1, partFn<minuteOf>},
    {u"Second", 1, 1, partFn<secondOf>},
    {u"Weekday", 1, 2, weekdayFn},
    {u"WeekdayName", 1, 3, weekdayNameFn},
    {u"MonthName", 1, 2, monthNameFn},
    {u"DateSerial", 3, 3, dateSerialFn},
    {u"TimeSerial", 3, 3, timeSerialFn},
    {u"DateValue", 1, 1, dateValueFn},
    {u"TimeValue", 1, 1, timeValueFn},
    {u"DateAdd", 3, 3, dateAddFn},
    {u"DateDiff", 3, 5, dateDiffFn},
    {u"DatePart", 2, 4, datePartFn},
    {u"FormatDateTime", 1, 2, formatDateTimeFn},
};

}  // namespace

std::span<const BuiltinFunction> dateTimeFunctions() {
  return kFunctions;
}

}  // namespace vantorel::vbs
