#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <random>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/sys/clock.hpp"
#include "support/random_edits.hpp"

namespace vantorel {
namespace {

std::string narrow(std::u16string_view s) {
  return std::string(s.begin(), s.end());
}

double ole(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  const auto v = makeDate(y, m, d, h, mi, s);
  EXPECT_TRUE(v.has_value()) << y << "-" << m << "-" << d;
  return v.value_or(0);
}

TEST(DateTime, MakeAndSplitDates) {
  EXPECT_EQ(ole(1899, 12, 30), 0);
  EXPECT_EQ(ole(1900, 1, 1), 2);
  EXPECT_EQ(ole(2009, 3, 5), 39877);
  EXPECT_EQ(ole(100, 1, 1), -657434);
  EXPECT_EQ(ole(9999, 12, 31), 2958465);
  EXPECT_EQ(ole(1899, 12, 29, 6), -1.25);  // the fraction counts forward from midnight
  EXPECT_EQ(ole(2008, 2, 29), 39507);
  EXPECT_FALSE(makeDate(2009, 2, 29, 0, 0, 0));
  EXPECT_FALSE(makeDate(2100, 2, 29, 0, 0, 0));
  EXPECT_FALSE(makeDate(99, 12, 31, 0, 0, 0));
  EXPECT_FALSE(makeDate(2009, 13, 1, 0, 0, 0));
  EXPECT_FALSE(makeDate(2009, 1, 1, 24, 0, 0));

  const DateParts p = splitDate(-1.25);
  EXPECT_EQ((std::array{p.year, p.month, p.day, p.hour, p.minute, p.second}),
            (std::array{1899, 12, 29, 6, 0, 0}));
  // A time a hair before midnight shows as the next day.
  const DateParts q = splitDate(39877.999999999);
  EXPECT_EQ((std::array{q.year, q.month, q.day, q.hour}), (std::array{2009, 3, 6, 0}));
  EXPECT_THROW(splitDate(3e6), AutomationError);
  EXPECT_THROW(formatDate(-657435.0), AutomationError);
}

TEST(DateTime, FormatShowsDateAndTimeParts) {
  const std::pair<double, std::u16string> rows[] = {
      {ole(2009, 3, 5, 7, 8, 9), u"3/5/2009 7:08:09 AM"},
      {ole(2009, 3, 5, 19, 8, 9), u"3/5/2009 7:08:09 PM"},
      {ole(2009, 12, 25), u"12/25/2009"},
      {0, u"12:00:00 AM"},
      {0.5, u"12:00:00 PM"},
      {0.75, u"6:00:00 PM"},
      {-1.25, u"12/29/1899 6:00:00 AM"},
      {ole(100, 1, 1), u"1/1/0100"},
      {ole(9999, 12, 31, 23, 59, 59), u"12/31/9999 11:59:59 PM"},
  };
  for (const auto& [v, want] : rows) EXPECT_EQ(formatDate(v), want) << v;
}

TEST(DateTime, ParseInvariantForms) {
  const double march5 = ole(2009, 3, 5);
  const std::pair<std::u16string, double> rows[] = {
      {u"3/5/2009", march5},
      {u" 3/5/2009 ", march5},
      {u"3/5/2009 7:08:09 PM", ole(2009, 3, 5, 19, 8, 9)},
      {u"3/5/2009 7:08:09PM", ole(2009, 3, 5, 19, 8, 9)},
      {u"2009-03-05", march5},
      {u"2009/03/05 07:08:09", ole(2009, 3, 5, 7, 8, 9)},
      {u"2009-03-05T07:08:09", ole(2009, 3, 5, 7, 8, 9)},
      {u"March 5, 2009", march5},
      {u"5 March 2009", march5},
      {u"Mar 5 2009", march5},
      {u"5-MAR-2009", march5},
      {u"Thursday, March 5, 2009 7:08 PM", ole(2009, 3, 5, 19, 8)},
      {u"7:08 PM 3/5/2009", ole(2009, 3, 5, 19, 8)},
      {u"3/2009", ole(2009, 3, 1)},
      {u"3/5/09", march5},
      {u"3/5/29", ole(2029, 3, 5)},
      {u"3/5/30", ole(1930, 3, 5)},
      {u"13/5/2009", ole(2009, 5, 13)},  // only day/month makes a date
      {u"3,5,2009", march5},
      {u"3 5 2009", march5},
      {u"2/30", ole(1930, 2, 1)},       // no 30 February, so month and year
      {u"29-Feb-01", ole(2029, 2, 1)},  // likewise
      {u"99-3-5", ole(1999, 3, 5)},
      {u"13.50", ole(1899, 12, 30, 13, 50)},  // a point between numbers separates time parts
      {u"1.5", ole(1899, 12, 30, 1, 5)},
      {u"March 5. 2009", march5},
      {u"13:55 AM", ole(1899, 12, 30, 13, 55)},
      {u"7:08", ole(1899, 12, 30, 7, 8)},
      {u"19:08:09", ole(1899, 12, 30, 19, 8, 9)},
      {u"7 PM", 19 / 24.0},
      {u"12 AM", 0},
      {u"12:30 pm", ole(1899, 12, 30, 12, 30)},
  };
  for (const auto& [text, want] : rows) {
    const auto got = parseDate(text);
    ASSERT_TRUE(got.has_value()) << narrow(text);
    EXPECT_EQ(*got, want) << narrow(text);
  }
  for (const char16_t* bad :
       {u"", u"abc", u"2/30/2009", u"25:00", u"25 PM", u"3/5/2009 7", u"5.3.2009", u"3/5/2009/1",
        u"7:08:09:10", u"March", u"Mar 5 Mar", u"3/5/2009 7:08 3/5", u"7:60", u"1/1/99999",
        u"3-5/2009", u"12345678901"}) {
    EXPECT_FALSE(parseDate(bad).has_value()) << narrow(bad);
  }
}

TEST(DateTime, YearlessDatesTakeTheCurrentYear) {
  using namespace std::chrono;
  // Mid-June, so the local year is 2015 in every time zone.
  sys::setClockForTesting([] { return sys_days{year{2015} / 6 / 15} + hours{12}; });
  EXPECT_EQ(parseDate(u"3/5"), ole(2015, 3, 5));
  EXPECT_EQ(parseDate(u"March 5"), ole(2015, 3, 5));
  sys::setClockForTesting(nullptr);
}

TEST(DateTime, FormatAndParseRoundTrip) {
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    const int y = 100 + static_cast<int>(rng() % 9900), m = 1 + static_cast<int>(rng() % 12);
    const int d = 1 + static_cast<int>(rng() % 28);
    const int s = static_cast<int>(rng() % 86400);
    const double v = ole(y, m, d, s / 3600, s / 60 % 60, s % 60);
    const std::u16string text = formatDate(v);
    EXPECT_EQ(parseDate(text), v) << narrow(text);
    EXPECT_EQ(toDate(Variant(text)), v);
  }
}

// Text conversions get whatever a script or a file holds: they succeed or raise, nothing else.
TEST(DateTime, FuzzedTextNeverCrashesTheParsers) {
  const std::u16string alphabet = u"0123456789/-.,: $()&HhOoEe+TtAMPmarchJnFbSu\t\xA0\xD800x";
  const std::u16string seeds[] = {u"3/5/2009 7:08:09 PM", u"&HFFFF", u"$1,234.50e-3",
                                  u"March 5, 2009",       u"(12.5)", u"2009-03-05T07:08"};
  std::mt19937 rng(99);
  for (int i = 0; i < 4000; ++i) {
    std::u16string s = seeds[rng() % std::size(seeds)];
    if (i % 2 == 0) s.clear();
    s = test::randomlyEdited(std::move(s), rng, alphabet, 1 + static_cast<int>(rng() % 8));
    const Variant v(s);
    auto cleanly = [&](auto&& convert) {
      try {
        (void)convert();
      } catch (const AutomationError& e) {
        EXPECT_TRUE(e.number() == vberr::kTypeMismatch || e.number() == vberr::kOverflow)
            << narrow(s) << " raised " << e.number();
      }
    };
    cleanly([&] { return parseNumber(s); });
    cleanly([&] { return parseDate(s); });
    cleanly([&] { return toDouble(v); });
    cleanly([&] { return toLong(v); });
    cleanly([&] { return toCurrency(v); });
    cleanly([&] { return toDecimal(v); });
    cleanly([&] { return toDate(v); });
  }
}

}  // namespace
}  // namespace vantorel
