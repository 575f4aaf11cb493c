#include "platform/text/case_fold.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <unordered_map>
#include <vector>

namespace vantorel {
namespace {

TEST(CaseFold, MapsCharacters) {
  const struct {
    char16_t c, lower, upper;
  } cases[] = {
      {u'A', u'a', u'A'},
      {u'z', u'z', u'Z'},
      {u'1', u'1', u'1'},
      {u'\u00C9', u'\u00E9', u'\u00C9'},
      {u'\u00FF', u'\u00FF', u'\u0178'},
      {u'\u0391', u'\u03B1', u'\u0391'},
      {u'\u0436', u'\u0436', u'\u0416'},
      {u'\u0130', u'i', u'\u0130'},  // invariant, not Turkish: dotted capital I lowers to i
      {u'\u0131', u'\u0131', u'I'},
      {char16_t(0xD800), char16_t(0xD800), char16_t(0xD800)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toLowerChar(c.c), c.lower) << int(c.c);
    EXPECT_EQ(toUpperChar(c.c), c.upper) << int(c.c);
  }
  EXPECT_EQ(toLower(u"Stra\u00DFe \u00C4BC"), u"stra\u00DFe \u00E4bc");
  EXPECT_EQ(toUpper(u"gr\u00FC\u00DF"), u"GR\u00DC\u00DF");
}

TEST(CaseFold, ComparesAndHashesConsistently) {
  const struct {
    std::u16string_view a, b;
    int order;  // sign of compareNoCase(a, b)
  } cases[] = {
      {u"", u"", 0},
      {u"Name", u"NAME", 0},
      {u"Name", u"name", 0},
      {u"\u00C9t\u00E9", u"\u00E9T\u00C9", 0},
      {u"\u0394elta", u"\u03B4ELTA", 0},
      {u"abc", u"abd", -1},
      {u"ABD", u"abc", 1},
      {u"ab", u"ABC", -1},
      {u"abc", u"AB", 1},
      {u"_", u"a", -1},  // compared lowered: '_' (0x5F) < 'a' (0x61), although '_' > 'A'
      {u"Z", u"\u00E9", -1},
  };
  NoCaseHash hash;
  for (const auto& c : cases) {
    const int r = compareNoCase(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.order) << testing::PrintToString(std::u16string(c.a));
    EXPECT_EQ(-compareNoCase(c.b, c.a) > 0, c.order > 0);
    EXPECT_EQ(equalsNoCase(c.a, c.b), c.order == 0);
    if (c.order == 0) {
      EXPECT_EQ(hash(c.a), hash(c.b));
    }
  }
  EXPECT_NE(hash(u"Name"), hash(u"Names"));
  EXPECT_LT(compareOrdinal(u"B", u"a"), 0);
  EXPECT_GT(compareOrdinal(u"a", u"B"), 0);
}

// Every BMP code unit, alone and inside a four-unit word, hashes as its other case does
// whenever the two compare equal.
TEST(CaseFold, EqualKeysHashEqualAcrossTheBmp) {
  NoCaseHash hash;
  for (unsigned c = 0; c < 0x10000; ++c) {
    for (const std::u16string prefix : {u"", u"xY"}) {
      const std::u16string original = prefix + std::u16string(3, char16_t(c));
      const std::u16string upper = toUpper(original);
      const std::u16string lower = toLower(original);
      ASSERT_TRUE(equalsNoCase(original, lower)) << c;
      ASSERT_EQ(hash(original), hash(lower)) << c;
      if (equalsNoCase(original, upper)) {
        ASSERT_EQ(hash(original), hash(upper)) << c;
      }
    }
  }
  // Neighbours of the letters are not folded with them.
  EXPECT_NE(hash(u"@[\\]^_"), hash(u"`{|}~\x7F"));
  EXPECT_FALSE(equalsNoCase(u"@[\\]^", u"`{|}~"));
}

TEST(CaseFold, WorksAsTransparentMapKey) {
  std::unordered_map<std::u16string, int, NoCaseHash, NoCaseEqual> members;
  members[u"Caption"] = 1;
  members[u"CAPTION"] = 2;
  members[u"Value"] = 3;
  EXPECT_EQ(members.size(), 2u);
  EXPECT_EQ(members.at(u"caption"), 2);
  EXPECT_NE(members.find(std::u16string_view(u"vALUE")), members.end());
}

TEST(CaseFold, FirstUseFromManyThreadsAgrees) {
  std::vector<std::thread> threads;
  std::vector<int> results(8);
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&results, i] { results[i] = toLowerChar(u'\u00C0') == u'\u00E0'; });
  }
  for (auto& t : threads) t.join();
  for (int r : results) EXPECT_EQ(r, 1);
}

}  // namespace
}  // namespace vantorel
