// DateAdd, DateDiff and DatePart: arithmetic in calendar units named by an interval string.
#include <cstdint>
#include <limits>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/date_calendar.hpp"
#include "platform/vbscript/runtime/date_functions.hpp"

namespace vantorel::vbs {

namespace cal = calendar;

namespace {

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval parseInterval(const Variant& v) {
  std::u16string s = toString(v);
  for (char16_t& c : s) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
  }
  if (s == u"yyyy") return Interval::Year;
  if (s == u"q") return Interval::Quarter;
  if (s == u"m") return Interval::Month;
  if (s == u"y") return Interval::DayOfYear;
  if (s == u"d") return Interval::Day;
  if (s == u"w") return Interval::Weekday;
  if (s == u"ww") return Interval::Week;
  if (s == u"h") return Interval::Hour;
  if (s == u"n") return Interval::Minute;
  if (s == u"s") return Interval::Second;
  raiseVbError(vberr::kInvalidProcedureCall);
}

Variant optional(CallArgs a, std::size_t i) {
  return a.has(i) ? a[i] : Variant::missing();
}

// Months added keep the day where the new month has it, else take the month's last day.
double addMonths(const cal::DayTime& t, std::int64_t months) {
  const cal::Ymd d = cal::civil(t.day);
  const std::int64_t total = std::int64_t{d.year} * 12 + (d.month - 1) + months;
  const std::int64_t year = total / 12;
  if (total < 0 || year < 100 || year > 9999) raiseVbError(vberr::kInvalidProcedureCall);
  const int month = static_cast<int>(total % 12) + 1;
  const int days = cal::daysInMonth(static_cast<int>(year), month);
  const int day = d.day > days ? days : d.day;
  return cal::join(cal::dayNumber(year, month, day), t.seconds);
}

std::int32_t toResult(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min() ||
      v > std::numeric_limits<std::int32_t>::max()) {
    raiseVbError(vberr::kOverflow);
  }
  return static_cast<std::int32_t>(v);
}

std::int64_t weekStart(std::int64_t day, int firstDayOfWeek) {
  return day - (cal::weekday(day, firstDayOfWeek) - 1);
}

}  // namespace

Variant dateAddFn(CallArgs a) {
  const Interval interval = parseInterval(a[0]);
  // Whole units only; a fraction rounds as CLng rounds it.
  const std::int64_t n = toLong(a[1]);
  if (a[2].isNull()) return Variant::null();
  const cal::DayTime t = cal::splitValue(a[2]);
  switch (interval) {
    case Interval::Year:
      return Variant::date(addMonths(t, n * 12));
    case Interval::Quarter:
      return Variant::date(addMonths(t, n * 3));
    case Interval::Month:
      return Variant::date(addMonths(t, n));
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
      return Variant::date(cal::join(t.day + n, t.seconds));
    case Interval::Week:
      return Variant::date(cal::join(t.day + 7 * n, t.seconds));
    case Interval::Hour:
      return Variant::date(cal::join(t.day, t.seconds + 3600 * n));
    case Interval::Minute:
      return Variant::date(cal::join(t.day, t.seconds + 60 * n));
    case Interval::Second:
      return Variant::date(cal::join(t.day, t.seconds + n));
  }
  raiseVbError(vberr::kInvalidProcedureCall);
}

Variant dateDiffFn(CallArgs a) {
  const Interval interval = parseInterval(a[0]);
  const int firstDay = cal::firstDayOfWeekArg(optional(a, 3));
  cal::firstWeekOfYearArg(optional(a, 4));  // checked, though no count here depends on it
  if (a[1].isNull() || a[2].isNull()) return Variant::null();
  const cal::DayTime t1 = cal::splitValue(a[1]);
  const cal::DayTime t2 = cal::splitValue(a[2]);
  const cal::Ymd d1 = cal::civil(t1.day);
  const cal::Ymd d2 = cal::civil(t2.day);
  const std::int64_t days = t2.day - t1.day;
  std::int64_t r = 0;
  switch (interval) {
    case Interval::Year:
      r = d2.year - d1.year;
      break;
    case Interval::Quarter:
      r = (std::int64_t{d2.year} * 4 + (d2.month - 1) / 3) -
          (std::int64_t{d1.year} * 4 + (d1.month - 1) / 3);
      break;
    case Interval::Month:
      r = (std::int64_t{d2.year} * 12 + d2.month) - (std::int64_t{d1.year} * 12 + d1.month);
      break;
    case Interval::DayOfYear:
    case Interval::Day:
      r = days;
      break;
    case Interval::Weekday:
      // Whole weeks between the dates.
      r = days / 7;
      break;
    case Interval::Week:
      // First days of the week crossed.
      r = (weekStart(t2.day, firstDay) - weekStart(t1.day, firstDay)) / 7;
      break;
    case Interval::Hour:
      r = (t2.day * 24 + t2.seconds / 3600) - (t1.day * 24 + t1.seconds / 3600);
      break;
    case Interval::Minute:
      r = (t2.day * 1440 + t2.seconds / 60) - (t1.day * 1440 + t1.seconds / 60);
      break;
    case Interval::Second:
      r = (t2.day * cal::kSecondsPerDay + t2.seconds) - (t1.day * cal::kSecondsPerDay + t1.seconds);
      break;
  }
  return Variant(toResult(r));
}

Variant datePartFn(CallArgs a) {
  const Interval interval = parseInterval(a[0]);
  const int firstDay = cal::firstDayOfWeekArg(optional(a, 2));
  const int firstWeek = cal::firstWeekOfYearArg(optional(a, 3));
  if (a[1].isNull()) return Variant::null();
  const cal::DayTime t = cal::splitValue(a[1]);
  const cal::Ymd d = cal::civil(t.day);
  int r = 0;
  switch (interval) {
    case Interval::Year:
      r = d.year;
      break;
    case Interval::Quarter:
      r = (d.month - 1) / 3 + 1;
      break;
    case Interval::Month:
      r = d.month;
      break;
    case Interval::DayOfYear:
      r = static_cast<int>(t.day - cal::dayNumber(d.year, 1, 1)) + 1;
      break;
    case Interval::Day:
      r = d.day;
      break;
    case Interval::Weekday:
      r = cal::weekday(t.day, firstDay);
      break;
    case Interval::Week:
      r = cal::weekOfYear(t.day, firstDay, firstWeek);
      break;
    case Interval::Hour:
      r = t.seconds / 3600;
      break;
    case Interval::Minute:
      r = t.seconds / 60 % 60;
      break;
    case Interval::Second:
      r = t.seconds % 60;
      break;
  }
  return Variant(static_cast<std::int16_t>(r));
}

}  // namespace vantorel::vbs
