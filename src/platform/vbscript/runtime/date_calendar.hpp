#pragma once
// Calendar arithmetic for the date functions on whole day numbers (days since 30 December 1899,
// as OLE dates count them) and seconds since midnight, so that dates before 1900, whose OLE
// fraction counts forward from midnight, add and subtract like any other.
#include <cstdint>

#include "platform/automation/variant.hpp"

namespace vantorel::vbs::calendar {

constexpr std::int64_t kMinDay = -657434;  // 1 January 100
constexpr std::int64_t kMaxDay = 2958465;  // 31 December 9999
constexpr int kSecondsPerDay = 86400;

struct DayTime {
  std::int64_t day;
  int seconds;  // 0 .. 86399
};

struct Ymd {
  int year, month, day;
};

// CDate of the value split into its day and its time rounded to the second.
DayTime splitValue(const Variant& v);
DayTime split(double oleDate);
// Carries seconds into days (either sign); raises 5 when the day is outside the date range.
double join(std::int64_t day, std::int64_t seconds);

// The day number of year/month/day with the parts carried as DateSerial carries them: month 13
// is January of the next year, day 0 the last day of the month before.
std::int64_t dayNumber(std::int64_t year, std::int64_t month, std::int64_t day) noexcept;
Ymd civil(std::int64_t day) noexcept;
int daysInMonth(int year, int month) noexcept;
// Two-digit years as dates read them: 0-29 are the 2000s, 30-99 the 1900s.
int windowYear(int year) noexcept;

// 1 .. 7, counted from firstDayOfWeek (1 Sunday ... 7 Saturday).
int weekday(std::int64_t day, int firstDayOfWeek) noexcept;
// The week number DatePart("ww") gives, under the firstweekofyear rule (1, 2 or 3).
int weekOfYear(std::int64_t day, int firstDayOfWeek, int firstWeekOfYear) noexcept;

// The optional firstdayofweek and firstweekofyear arguments: missing means Sunday and the week
// of January 1, 0 the locale's choice; values outside the constants raise 5.
int firstDayOfWeekArg(const Variant& v);
int firstWeekOfYearArg(const Variant& v);

}  // namespace vantorel::vbs::calendar
