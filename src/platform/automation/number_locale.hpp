#pragma once
// The locale that number and date text follows, one per thread as SetLocale sets it. The default,
// LCID 1033, is the invariant en-US form; the others only change separators, the order of date
// parts, the clock and the names of months and weekdays. Booleans read and write "True" and
// "False" in every locale.
#include <array>
#include <cstdint>
#include <string_view>

namespace vantorel {

enum class DateOrder : std::uint8_t { MonthDayYear, DayMonthYear, YearMonthDay };

struct NumberLocale {
  std::int32_t lcid;
  std::u16string_view name;  // "en-us"
  char16_t decimal;
  char16_t group;
  char16_t currency;  // the symbol number text may start with
  DateOrder dateOrder;
  char16_t dateSeparator;
  bool shortDateLeadingZeros;  // "05.03.2009" rather than "5.3.2009"
  char16_t timeSeparator;
  bool hour12;          // "7:08:09 AM" rather than "07:08:09"
  int firstDayOfWeek;   // 1 Sunday ... 7 Saturday
  int firstWeekOfYear;  // 1 contains January 1, 2 first four-day week, 3 first full week
  // "dddd, MMMM d, yyyy": d/dd day, M/MM/MMM/MMMM month, yy/yyyy year, ddd/dddd weekday name;
  // text in single quotes is literal.
  std::u16string_view longDatePattern;
  std::u16string_view amDesignator;
  std::u16string_view pmDesignator;
  std::array<std::u16string_view, 12> monthNames;
  std::array<std::u16string_view, 12> monthAbbreviations;
  std::array<std::u16string_view, 7> dayNames;  // Sunday first
  std::array<std::u16string_view, 7> dayAbbreviations;
};

constexpr std::int32_t kInvariantLcid = 1033;

const NumberLocale& currentNumberLocale() noexcept;
// Nothing for an LCID or name ("de-de", case-insensitive) that is not supported.
const NumberLocale* findNumberLocale(std::int32_t lcid) noexcept;
const NumberLocale* findNumberLocale(std::u16string_view name) noexcept;
// False, leaving the setting alone, when the LCID is not supported. 0 selects the default.
bool setCurrentLcid(std::int32_t lcid) noexcept;

// Switches the thread's locale for a scope, as tests and callers that need one form do.
class ScopedNumberLocale {
 public:
  explicit ScopedNumberLocale(std::int32_t lcid) noexcept;
  ~ScopedNumberLocale();
  ScopedNumberLocale(const ScopedNumberLocale&) = delete;
  ScopedNumberLocale& operator=(const ScopedNumberLocale&) = delete;

 private:
  std::int32_t previous_;
};

}  // namespace vantorel
