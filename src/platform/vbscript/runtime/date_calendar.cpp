#include "platform/vbscript/runtime/date_calendar.hpp"

#include <cmath>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel::vbs::calendar {
namespace {

// Days from 30 December 1899 to 1 January 1970, the epoch of the civil-day algorithm.
constexpr std::int64_t kEpochShift = 25569;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) noexcept {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t floorMod(std::int64_t a, std::int64_t b) noexcept {
  return a - floorDiv(a, b) * b;
}

std::int64_t daysFromCivil(std::int64_t y, int m, int d) noexcept {
  y -= m <= 2;
  const std::int64_t era = floorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::int64_t firstWeekStart(int year, int firstDayOfWeek, int firstWeekOfYear) noexcept {
  const std::int64_t jan1 = dayNumber(year, 1, 1);
  const int wd = weekday(jan1, firstDayOfWeek);
  const std::int64_t weekStart = jan1 - (wd - 1);
  switch (firstWeekOfYear) {
    case 2:  // the first week with four days in the new year
      return 8 - wd >= 4 ? weekStart : weekStart + 7;
    case 3:  // the first full week
      return wd == 1 ? jan1 : weekStart + 7;
    default:
      return weekStart;
  }
}

}  // namespace

DayTime split(double oleDate) {
  if (!(oleDate > static_cast<double>(kMinDay - 1) && oleDate < static_cast<double>(kMaxDay + 1))) {
    raiseVbError(vberr::kOverflow);
  }
  const double whole = std::trunc(oleDate);
  DayTime t{static_cast<std::int64_t>(whole),
            static_cast<int>(std::floor(std::fabs(oleDate - whole) * kSecondsPerDay + 0.5))};
  if (t.seconds >= kSecondsPerDay) {
    // The last second of 9999 stays in 9999 rather than rounding into a year past the range.
    if (t.day < kMaxDay) {
      t.seconds -= kSecondsPerDay;
      ++t.day;
    } else {
      t.seconds = kSecondsPerDay - 1;
    }
  }
  return t;
}

DayTime splitValue(const Variant& v) {
  return split(toDate(v));
}

double join(std::int64_t day, std::int64_t seconds) {
  day += floorDiv(seconds, kSecondsPerDay);
  seconds = floorMod(seconds, kSecondsPerDay);
  if (day < kMinDay || day > kMaxDay) raiseVbError(vberr::kInvalidProcedureCall);
  const double time = static_cast<double>(seconds) / kSecondsPerDay;
  return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

std::int64_t dayNumber(std::int64_t year, std::int64_t month, std::int64_t day) noexcept {
  year += floorDiv(month - 1, 12);
  month = floorMod(month - 1, 12) + 1;
  return daysFromCivil(year, static_cast<int>(month), 1) + kEpochShift + (day - 1);
}

Ymd civil(std::int64_t day) noexcept {
  std::int64_t z = day - kEpochShift + 719468;
  const std::int64_t era = floorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  Ymd out{};
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2));
  return out;
}

int daysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) return 29;
  return kDays[month - 1];
}

int windowYear(int year) noexcept {
  if (year >= 0 && year < 30) return 2000 + year;
  if (year >= 30 && year < 100) return 1900 + year;
  return year;
}

int weekday(std::int64_t day, int firstDayOfWeek) noexcept {
  // Day 0, 30 December 1899, was a Saturday.
  const std::int64_t sundayBased = floorMod(day + 6, 7);  // 0 Sunday
  return static_cast<int>(floorMod(sundayBased - (firstDayOfWeek - 1), 7)) + 1;
}

int weekOfYear(std::int64_t day, int firstDayOfWeek, int firstWeekOfYear) noexcept {
  const int year = civil(day).year;
  const std::int64_t start = firstWeekStart(year, firstDayOfWeek, firstWeekOfYear);
  if (day < start) {
    return static_cast<int>((day - firstWeekStart(year - 1, firstDayOfWeek, firstWeekOfYear)) / 7) +
           1;
  }
  // Under the four-day rule the last days of December can open the next year's first week.
  if (firstWeekOfYear == 2 && day >= firstWeekStart(year + 1, firstDayOfWeek, firstWeekOfYear)) {
    return 1;
  }
  return static_cast<int>((day - start) / 7) + 1;
}

int firstDayOfWeekArg(const Variant& v) {
  if (v.isMissing()) return 1;
  const std::int32_t n = toLong(v);
  if (n == 0) return currentNumberLocale().firstDayOfWeek;
  if (n < 1 || n > 7) raiseVbError(vberr::kInvalidProcedureCall);
  return n;
}

int firstWeekOfYearArg(const Variant& v) {
  if (v.isMissing()) return 1;
  const std::int32_t n = toLong(v);
  if (n == 0) return currentNumberLocale().firstWeekOfYear;
  if (n < 1 || n > 3) raiseVbError(vberr::kInvalidProcedureCall);
  return n;
}

}  // namespace vantorel::vbs::calendar
