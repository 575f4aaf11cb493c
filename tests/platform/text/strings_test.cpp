#include "platform/text/strings.hpp"

#include <gtest/gtest.h>

#include <climits>

#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

TEST(Strings, TrimRemovesBlanksOnly) {
  const struct {
    std::u16string_view in, both, left, right;
  } cases[] = {
      {u"", u"", u"", u""},
      {u"   ", u"", u"", u""},
      {u"  a b  ", u"a b", u"a b  ", u"  a b"},
      {u"\ta\t", u"\ta\t", u"\ta\t", u"\ta\t"},  // tabs are not blanks to Trim
      {u" \u00A0x\u00A0 ", u"\u00A0x\u00A0", u"\u00A0x\u00A0 ", u" \u00A0x\u00A0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(trimBlanks(c.in), c.both);
    EXPECT_EQ(trimBlanksLeft(c.in), c.left);
    EXPECT_EQ(trimBlanksRight(c.in), c.right);
  }
}

TEST(Strings, ReplaceAll) {
  const struct {
    std::u16string_view s, from, to, out;
  } cases[] = {
      {u"a.b.c", u".", u"::", u"a::b::c"},
      {u"aaa", u"aa", u"b", u"ba"},  // left to right, no overlaps
      {u"abc", u"", u"x", u"abc"},
      {u"abc", u"abc", u"", u""},
      {u"xyz", u"q", u"r", u"xyz"},
      {u"aa", u"a", u"aa", u"aaaa"},  // replacements are not searched again
  };
  for (const auto& c : cases) EXPECT_EQ(replaceAll(c.s, c.from, c.to), c.out);
}

TEST(Strings, SplitAndJoin) {
  using Parts = std::vector<std::u16string>;
  const struct {
    std::u16string_view s, separator;
    Parts parts;
  } cases[] = {
      {u"a,b,c", u",", {u"a", u"b", u"c"}},
      {u",a,", u",", {u"", u"a", u""}},
      {u"a<>b", u"<>", {u"a", u"b"}},
      {u"abc", u";", {u"abc"}},
      {u"", u",", {}},
      {u"a,b", u"", {u"a,b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(split(c.s, c.separator), c.parts) << testing::PrintToString(std::u16string(c.s));
    if (!c.separator.empty()) {
      EXPECT_EQ(join(c.parts, c.separator), c.s);
    }
  }
}

TEST(Strings, AffixesAndSearch) {
  EXPECT_TRUE(startsWith(u"Template", u"Temp"));
  EXPECT_FALSE(startsWith(u"Te", u"Temp"));
  EXPECT_TRUE(endsWith(u"list.asp", u".asp"));
  EXPECT_FALSE(endsWith(u"asp", u".asp"));
  EXPECT_TRUE(containsNoCase(u"Customer Orders", u"ORDERS"));
  EXPECT_TRUE(containsNoCase(u"\u00C9COLE", u"\u00E9cole"));
  EXPECT_TRUE(containsNoCase(u"x", u""));
  EXPECT_FALSE(containsNoCase(u"Order", u"Orders"));
}

TEST(Strings, DecimalText) {
  EXPECT_EQ(toU16(0), u"0");
  EXPECT_EQ(toU16(-42), u"-42");
  EXPECT_EQ(toU16(LLONG_MAX), u"9223372036854775807");
  EXPECT_EQ(toU16(LLONG_MIN), u"-9223372036854775808");
}

// Byte values of the unit sought also stand inside other units, as the wrong half of a unit
// or beside another high byte: only the unit itself is found. The standard find is the measure.
TEST(Strings, FindUnitFindsWhatFindFinds) {
  const std::u16string texts[] = {
      u"",
      u"\r",
      u"abc\r\ndef\r",
      u"\u0D0D\u0D41\u410D\r",  // 0x0D as the high byte, and beside other high bytes
      u"\u3C00<\u003C\u2F3C</",
      std::u16string(1000, u'x') + u"\r" + std::u16string(999, u'\u0D0D') + u"\r",
  };
  for (const std::u16string& text : texts) {
    for (const char16_t unit : {u'\r', u'<', u'%', u'\u0D0D', u'\u3C00'}) {
      for (std::size_t from = 0; from <= text.size() + 1; from += from < 8 ? 1 : 97) {
        EXPECT_EQ(findUnit(text, unit, from), std::u16string_view(text).find(unit, from))
            << "unit " << int(unit) << " from " << from << " in a text of " << text.size();
      }
    }
  }
}

// Text searches measured by the standard find: exact, and on lowered copies without regard to
// case, over false starts, units that share a byte with the first one sought, every start.
TEST(Strings, FindTextFindsWhatFindFinds) {
  const std::u16string texts[] = {
      u"", u"aaab<!--#<!--##INCLUDE a##-->", u"\u0141A\u3C00<!--##Include x", u"x\u20ACy\u20ACY",
  };
  const std::u16string needles[] = {u"", u"aab", u"A", u"<!--##include", u"##-->", u"\u20ACy"};
  for (const std::u16string& text : texts) {
    for (const std::u16string& needle : needles) {
      for (std::size_t from = 0; from <= text.size() + 1; ++from) {
        EXPECT_EQ(findText(text, needle, from), std::u16string_view(text).find(needle, from))
            << toUtf8(needle) << " in " << toUtf8(text) << " from " << from;
        EXPECT_EQ(findTextNoCase(text, needle, from), toLower(text).find(toLower(needle), from))
            << toUtf8(needle) << " in " << toUtf8(text) << " from " << from << ", any case";
      }
    }
  }
}

}  // namespace
}  // namespace vantorel
