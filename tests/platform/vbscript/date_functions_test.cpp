#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "platform/sys/clock.hpp"
#include "platform/vbscript/builtin_call.hpp"

namespace vantorel::vbs::runtime_test {
namespace {

using V = Variant;
constexpr int kInvalidCall = 5;

V text(const char16_t* s) {
  return V(s);
}
V lng(std::int32_t v) {
  return V(v);
}

TEST(DateFunctions, DateAddClampsToTheMonthEnd) {
  checkRows({
      {u"DateAdd", {text(u"m"), integer(1), date(2009, 1, 31)}, date(2009, 2, 28)},
      {u"DateAdd", {text(u"m"), integer(1), date(2008, 1, 31)}, date(2008, 2, 29)},
      {u"DateAdd",
       {text(u"M"), integer(-1), date(2009, 3, 31, 7, 8, 9)},
       date(2009, 2, 28, 7, 8, 9)},
      {u"DateAdd", {text(u"yyyy"), integer(1), date(2008, 2, 29)}, date(2009, 2, 28)},
      {u"DateAdd", {text(u"q"), integer(1), date(2008, 11, 30)}, date(2009, 2, 28)},
      {u"DateAdd", {text(u"m"), integer(14), date(2009, 5, 15)}, date(2010, 7, 15)},
      {u"DateAdd", {text(u"d"), integer(1), date(2008, 12, 31)}, date(2009, 1, 1)},
      {u"DateAdd", {text(u"y"), integer(-1), date(2009, 1, 1)}, date(2008, 12, 31)},
      {u"DateAdd", {text(u"w"), integer(1), date(2009, 3, 7)}, date(2009, 3, 8)},
      {u"DateAdd", {text(u"ww"), integer(2), date(2009, 3, 5)}, date(2009, 3, 19)},
      {u"DateAdd", {text(u"h"), integer(25), date(2009, 3, 5, 7)}, date(2009, 3, 6, 8)},
      {u"DateAdd",
       {text(u"n"), integer(-30), date(1899, 12, 30, 0, 10)},
       date(1899, 12, 29, 23, 40)},
      {u"DateAdd",
       {text(u"s"), integer(61), date(1899, 12, 29, 23, 59)},
       date(1899, 12, 30, 0, 0, 1)},
      {u"DateAdd", {text(u"d"), V(1.5), date(2009, 3, 5)}, date(2009, 3, 7)},
      {u"DateAdd", {text(u"d"), integer(1), text(u"3/5/2009")}, date(2009, 3, 6)},
      {u"DateAdd", {text(u"d"), integer(1), V::null()}, V::null()},
      {u"DateAdd", {text(u"yyyy"), integer(1), date(9999, 12, 31)}, raises(kInvalidCall)},
      {u"DateAdd", {text(u"d"), integer(-1), date(100, 1, 1)}, raises(kInvalidCall)},
      {u"DateAdd", {text(u"x"), integer(1), date(2009, 3, 5)}, raises(kInvalidCall)},
  });
}

TEST(DateFunctions, DateDiffCountsBoundaries) {
  checkRows({
      {u"DateDiff", {text(u"d"), text(u"1/1/2000 23:00"), text(u"1/2/2000 01:00")}, lng(1)},
      {u"DateDiff", {text(u"d"), date(2009, 3, 5), date(2009, 3, 1)}, lng(-4)},
      {u"DateDiff", {text(u"h"), date(2000, 1, 1, 23, 59), date(2000, 1, 2, 0, 1)}, lng(1)},
      {u"DateDiff", {text(u"h"), date(1899, 12, 29, 23), date(1899, 12, 30, 1)}, lng(2)},
      {u"DateDiff", {text(u"n"), date(2009, 3, 5, 7, 8, 59), date(2009, 3, 5, 7, 9)}, lng(1)},
      {u"DateDiff", {text(u"s"), date(2000, 1, 1), date(2000, 1, 2)}, lng(86400)},
      {u"DateDiff", {text(u"yyyy"), date(2008, 12, 31), date(2009, 1, 1)}, lng(1)},
      {u"DateDiff", {text(u"q"), date(2009, 3, 31), date(2009, 4, 1)}, lng(1)},
      {u"DateDiff", {text(u"m"), date(2009, 1, 31), date(2009, 2, 1)}, lng(1)},
      {u"DateDiff", {text(u"m"), date(2009, 3, 1), date(2008, 1, 31)}, lng(-14)},
      // "ww" counts first days of the week crossed, "w" whole weeks.
      {u"DateDiff", {text(u"ww"), date(2009, 3, 7), date(2009, 3, 8)}, lng(1)},
      {u"DateDiff", {text(u"w"), date(2009, 3, 7), date(2009, 3, 8)}, lng(0)},
      {u"DateDiff", {text(u"ww"), date(2009, 3, 1), date(2009, 3, 14)}, lng(1)},
      {u"DateDiff", {text(u"w"), date(2009, 3, 1), date(2009, 3, 15)}, lng(2)},
      {u"DateDiff", {text(u"w"), date(2009, 3, 15), date(2009, 3, 2)}, lng(-1)},
      {u"DateDiff", {text(u"ww"), date(2009, 3, 1), date(2009, 3, 2), integer(2)}, lng(1)},
      {u"DateDiff", {text(u"ww"), date(2009, 3, 2), date(2009, 3, 8), integer(2)}, lng(0)},
      {u"DateDiff", {text(u"ww"), date(2009, 3, 8), date(2009, 3, 1)}, lng(-1)},
      {u"DateDiff", {text(u"d"), V::null(), date(2009, 3, 1)}, V::null()},
      {u"DateDiff",
       {text(u"d"), date(2009, 3, 1), date(2009, 3, 1), integer(8)},
       raises(kInvalidCall)},
      {u"DateDiff", {text(u"s"), date(100, 1, 1), date(9999, 1, 1)}, raises(6)},
  });
}

TEST(DateFunctions, DatePartWeekRules) {
  const V sunday = integer(1), monday = integer(2);
  const V jan1 = integer(1), fourDays = integer(2), fullWeek = integer(3);
  checkRows({
      {u"DatePart", {text(u"ww"), date(2009, 1, 1)}, integer(1)},
      {u"DatePart", {text(u"ww"), date(2009, 3, 5)}, integer(10)},
      {u"DatePart", {text(u"ww"), date(2009, 1, 4), sunday, jan1}, integer(2)},
      {u"DatePart", {text(u"ww"), date(2009, 12, 31), monday, fourDays}, integer(53)},
      {u"DatePart", {text(u"ww"), date(2010, 1, 1), monday, fourDays}, integer(53)},
      {u"DatePart", {text(u"ww"), date(2010, 1, 4), monday, fourDays}, integer(1)},
      // The Monday that opens a year's first four-day week belongs to that week, in December too.
      {u"DatePart", {text(u"ww"), date(2008, 12, 29), monday, fourDays}, integer(1)},
      {u"DatePart", {text(u"ww"), date(2009, 1, 1), sunday, fullWeek}, integer(52)},
      {u"DatePart", {text(u"ww"), date(2009, 1, 4), sunday, fullWeek}, integer(1)},
      {u"DatePart", {text(u"ww"), date(2009, 3, 5), integer(0), integer(0)}, integer(10)},
      {u"DatePart", {text(u"ww"), date(2009, 3, 5), sunday, integer(4)}, raises(kInvalidCall)},
      {u"DatePart", {text(u"w"), date(2009, 3, 5)}, integer(5)},
      {u"DatePart", {text(u"w"), date(2009, 3, 5), monday}, integer(4)},
      {u"DatePart", {text(u"y"), date(2009, 3, 5)}, integer(64)},
      {u"DatePart", {text(u"q"), date(2009, 3, 5)}, integer(1)},
      {u"DatePart", {text(u"yyyy"), date(2009, 3, 5)}, integer(2009)},
      {u"DatePart", {text(u"h"), date(2009, 3, 5, 19, 8, 9)}, integer(19)},
      {u"DatePart", {text(u"n"), date(2009, 3, 5, 19, 8, 9)}, integer(8)},
      {u"DatePart", {text(u"s"), date(1899, 12, 29, 19, 8, 9)}, integer(9)},
      {u"DatePart", {text(u"d"), V::null()}, V::null()},
  });
}

TEST(DateFunctions, SerialsNormaliseTheirParts) {
  checkRows({
      {u"DateSerial", {integer(2009), integer(14), integer(1)}, date(2010, 2, 1)},
      {u"DateSerial", {integer(2009), integer(3), integer(0)}, date(2009, 2, 28)},
      {u"DateSerial", {integer(2008), integer(3), integer(0)}, date(2008, 2, 29)},
      {u"DateSerial", {integer(2009), integer(1), integer(-1)}, date(2008, 12, 30)},
      {u"DateSerial", {integer(2009), integer(0), integer(1)}, date(2008, 12, 1)},
      {u"DateSerial", {integer(2009), integer(-1), integer(1)}, date(2008, 11, 1)},
      {u"DateSerial", {integer(2008), integer(2), integer(30)}, date(2008, 3, 1)},
      {u"DateSerial", {integer(99), integer(1), integer(1)}, date(1999, 1, 1)},
      {u"DateSerial", {integer(5), integer(1), integer(1)}, date(2005, 1, 1)},
      {u"DateSerial", {text(u"2009"), V(3.4), integer(5)}, date(2009, 3, 5)},
      {u"DateSerial", {integer(10000), integer(1), integer(1)}, raises(kInvalidCall)},
      {u"DateSerial", {V::null(), integer(1), integer(1)}, raises(94)},
      {u"TimeSerial", {integer(7), integer(8), integer(9)}, date(1899, 12, 30, 7, 8, 9)},
      {u"TimeSerial", {integer(0), integer(90), integer(0)}, date(1899, 12, 30, 1, 30)},
      {u"TimeSerial", {integer(25), integer(0), integer(0)}, date(1899, 12, 31, 1)},
      {u"TimeSerial", {integer(0), integer(0), integer(-1)}, date(1899, 12, 29, 23, 59, 59)},
      {u"DateValue", {text(u"3/5/2009 7:08 PM")}, date(2009, 3, 5)},
      {u"DateValue", {date(1899, 12, 29, 6)}, date(1899, 12, 29)},
      {u"TimeValue", {text(u"3/5/2009 7:08 PM")}, date(1899, 12, 30, 19, 8)},
      {u"TimeValue", {date(1899, 12, 29, 6)}, date(1899, 12, 30, 6)},
      {u"DateValue", {text(u"no date")}, raises(13)},
      {u"TimeValue", {V::null()}, V::null()},
  });
}

TEST(DateFunctions, PartsNamesAndFormats) {
  const V when = date(2009, 3, 5, 7, 8, 9);
  checkRows({
      {u"Year", {when}, integer(2009)},
      {u"Month", {when}, integer(3)},
      {u"Day", {when}, integer(5)},
      {u"Hour", {when}, integer(7)},
      {u"Minute", {when}, integer(8)},
      {u"Second", {when}, integer(9)},
      {u"Hour", {V::null()}, V::null()},
      {u"Year", {text(u"March 5, 2009")}, integer(2009)},
      {u"Year", {text(u"x")}, raises(13)},
      {u"Weekday", {when}, integer(5)},
      {u"Weekday", {when, integer(2)}, integer(4)},
      {u"Weekday", {when, integer(8)}, raises(kInvalidCall)},
      {u"WeekdayName", {integer(1)}, text(u"Sunday")},
      {u"WeekdayName", {integer(1), V(true), integer(2)}, text(u"Mon")},
      {u"WeekdayName", {integer(7), V(false), integer(2)}, text(u"Sunday")},
      {u"WeekdayName", {integer(0)}, raises(kInvalidCall)},
      {u"MonthName", {integer(3)}, text(u"March")},
      {u"MonthName", {integer(3), V(true)}, text(u"Mar")},
      {u"MonthName", {integer(13)}, raises(kInvalidCall)},
      {u"FormatDateTime", {when}, text(u"3/5/2009 7:08:09 AM")},
      {u"FormatDateTime", {date(2009, 3, 5)}, text(u"3/5/2009")},
      {u"FormatDateTime", {when, integer(1)}, text(u"Thursday, March 5, 2009")},
      {u"FormatDateTime", {when, integer(2)}, text(u"3/5/2009")},
      {u"FormatDateTime", {when, integer(3)}, text(u"7:08:09 AM")},
      {u"FormatDateTime", {when, integer(4)}, text(u"07:08")},
      {u"FormatDateTime", {date(2009, 3, 5, 19, 8), integer(4)}, text(u"19:08")},
      {u"FormatDateTime", {when, integer(5)}, raises(kInvalidCall)},
  });
}

TEST(DateFunctions, ClockFunctionsReadTheEngineClock) {
  // Local time is the machine's; the clock is fixed, so all four calls see one instant.
  const auto whole = sys::TimePoint(std::chrono::seconds(1236236889));
  const auto instant = whole + std::chrono::milliseconds(257);
  sys::setClockForTesting([instant] { return instant; });
  const double now = sys::toOleDate(whole);
  const Variant n = call(u"Now", {});
  const Variant d = call(u"Date", {});
  const Variant t = call(u"Time", {});
  const Variant timer = call(u"Timer", {});
  sys::setClockForTesting(nullptr);
  EXPECT_EQ(n.varType(), 7);
  EXPECT_EQ(n.dateValue(), now);
  EXPECT_EQ(d.dateValue(), std::floor(now));
  // Time holds whole seconds: the clock's fraction of a second is dropped.
  EXPECT_NEAR(t.dateValue(), now - std::floor(now), 1.0 / 86400);
  EXPECT_EQ(t.dateValue() * 86400, std::round(t.dateValue() * 86400));
  EXPECT_EQ(timer.varType(), 4);
  // Whole seconds exactly, and the hundredths the clock had.
  EXPECT_FLOAT_EQ(timer.singleValue(),
                  static_cast<float>(std::round((now - std::floor(now)) * 86400) + 0.25));
}

}  // namespace
}  // namespace vantorel::vbs::runtime_test
