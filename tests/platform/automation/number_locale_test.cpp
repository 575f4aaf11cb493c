#include "platform/automation/number_locale.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/automation/variant_convert.hpp"

namespace vantorel {
namespace {

double ole(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  return makeDate(y, m, d, h, mi, s).value();
}

TEST(NumberLocale, TextFollowsTheThreadsLocale) {
  struct Case {
    std::int32_t lcid;
    std::u16string number;    // CStr(-1234.5)
    std::u16string grouped;   // text with grouping that reads as 1234.5
    std::u16string dateTime;  // CStr of 5 March 2009 19:08:09
    std::u16string dayFirst;  // text that reads as 13 March 2009
  };
  const Case cases[] = {
      {1033, u"-1234.5", u"1,234.5", u"3/5/2009 7:08:09 PM", u"3/13/2009"},
      {2057, u"-1234.5", u"1,234.5", u"05/03/2009 19:08:09", u"13/03/2009"},
      {1031, u"-1234,5", u"1.234,5", u"05.03.2009 19:08:09", u"13.03.2009"},
      {1036, u"-1234,5", u"1\u00A0234,5", u"05/03/2009 19:08:09", u"13/03/2009"},
      {3082, u"-1234,5", u"1.234,5", u"05/03/2009 19:08:09", u"13/03/2009"},
      {1040, u"-1234,5", u"1.234,5", u"05/03/2009 19:08:09", u"13/03/2009"},
      {1043, u"-1234,5", u"1.234,5", u"5-3-2009 19:08:09", u"13-3-2009"},
  };
  const double when = ole(2009, 3, 5, 19, 8, 9);
  for (const Case& c : cases) {
    ScopedNumberLocale locale(c.lcid);
    SCOPED_TRACE(c.lcid);
    EXPECT_EQ(currentNumberLocale().lcid, c.lcid);
    EXPECT_EQ(toString(Variant(-1234.5)), c.number);
    EXPECT_EQ(toDouble(Variant(c.number)), -1234.5);
    EXPECT_EQ(toDouble(Variant(c.grouped)), 1234.5);
    EXPECT_EQ(toString(Variant::date(when)), c.dateTime);
    EXPECT_EQ(parseDate(c.dateTime), when);
    EXPECT_EQ(parseDate(c.dayFirst), ole(2009, 3, 13));
    // Month names of the locale and English ones both read.
    const NumberLocale& l = currentNumberLocale();
    std::u16string named = u"5 " + std::u16string(l.monthNames[2]) + u" 2009";
    EXPECT_EQ(parseDate(named), ole(2009, 3, 5));
    EXPECT_EQ(parseDate(u"March 5, 2009"), ole(2009, 3, 5));
    EXPECT_EQ(toString(Variant(true)), u"True");
    EXPECT_TRUE(toBool(Variant(u"false")) == false);
  }
  EXPECT_EQ(currentNumberLocale().lcid, kInvariantLcid);
}

TEST(NumberLocale, LookupAndThreads) {
  EXPECT_EQ(findNumberLocale(u"DE-de")->lcid, 1031);
  EXPECT_EQ(findNumberLocale(u"de_DE")->lcid, 1031);
  EXPECT_EQ(findNumberLocale(u"en")->lcid, 1033);
  EXPECT_EQ(findNumberLocale(u"en-gb")->lcid, 2057);
  EXPECT_EQ(findNumberLocale(u"xx-yy"), nullptr);
  EXPECT_EQ(findNumberLocale(4242), nullptr);
  EXPECT_FALSE(setCurrentLcid(4242));
  EXPECT_EQ(currentNumberLocale().lcid, kInvariantLcid);

  ASSERT_TRUE(setCurrentLcid(1031));
  std::u16string seenElsewhere;
  std::thread([&] { seenElsewhere = toString(Variant(1.5)); }).join();
  EXPECT_EQ(toString(Variant(1.5)), u"1,5");
  EXPECT_EQ(seenElsewhere, u"1.5");
  ASSERT_TRUE(setCurrentLcid(0));
  EXPECT_EQ(currentNumberLocale().lcid, kInvariantLcid);
}

}  // namespace
}  // namespace vantorel
