#include "platform/text/unicode.hpp"

#include <gtest/gtest.h>

#include <random>

namespace vantorel {
namespace {

TEST(Unicode, RoundTripsWellFormedText) {
  const std::u16string samples[] = {
      u"",
      u"plain ASCII",
      u"caf\u00E9 \u00FC\u00DF",
      u"\u20AC \u4E2D\u6587 \uFFFD \uFEFF",
      u"\U0001F600 emoji and \U00010348 gothic",
      std::u16string(1, u'\0') + u"after nul",
  };
  for (const auto& text : samples) {
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
  }
}

TEST(Unicode, EncodesKnownBytes) {
  EXPECT_EQ(toUtf8(u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(toUtf8(u"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(toUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Unicode, UnpairedSurrogatesBecomeReplacement) {
  const struct {
    std::u16string in;
    std::string out;
  } cases[] = {
      {std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
      {std::u16string(1, char16_t(0xDC00)) + u"a",
       "\xEF\xBF\xBD"
       "a"},
      {u"a" + std::u16string(1, char16_t(0xD83D)), "a\xEF\xBF\xBD"},
      // Low before high is two strays, not a pair.
      {std::u16string{char16_t(0xDE00), char16_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(toUtf8(c.in), c.out);
}

TEST(Unicode, MalformedInputBecomesReplacementPerMaximalSubpart) {
  const struct {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"\x80", u"\uFFFD"},
      {"a\xFF"
       "b",
       u"a\uFFFD"
       u"b"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong '/'
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE2\x82", u"\uFFFD"},                            // truncated at the end
      {"\xE2\x82"
       "A",
       u"\uFFFD"
       u"A"},  // truncation never eats the next byte
      {"\xF0\x9F\x98", u"\uFFFD"},
      {"\xC3", u"\uFFFD"},
      {"\xC3\xA9\xC3", u"\u00E9\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fromUtf8(c.in), c.out) << testing::PrintToString(c.in);
  }
}

// Well-formed exactly when the decoder replaces nothing: the script host reads such a file as
// UTF-8 and any other in the code page.
TEST(Unicode, ValidUtf8IsWhatDecodesWithoutReplacement) {
  const struct {
    std::string in;
    bool valid;
  } cases[] = {
      {"", true},
      {"plain ASCII", true},
      {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
      {"\xE9t\xE9", false},        // Windows-1252
      {"\xC0\xAF", false},
      {"\xE0\x80\xAF", false},
      {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false},
      {"\xE2\x82", false},
      {"\xE2\x82" "A", false},
      {"\x80", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isValidUtf8(c.in), c.valid) << testing::PrintToString(c.in);
  }
  std::mt19937 random(99);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(random() % 16, '\0');
    // Up to 0xEE: no EF BF BD, the one well-formed text that decodes to U+FFFD.
    for (auto& b : bytes) b = static_cast<char>(0x7F + random() % 0x70);
    const std::u16string text = fromUtf8(bytes);
    const bool replaced = text.find(u'\uFFFD') != std::u16string::npos;
    EXPECT_EQ(isValidUtf8(bytes), !replaced) << testing::PrintToString(bytes);
  }
}

TEST(Unicode, FromAsciiWidensAndRejectsHighBytes) {
  EXPECT_EQ(fromAscii("Name_1"), u"Name_1");
  EXPECT_EQ(fromAscii("a\xE9"), u"a\uFFFD");
}

// Random bytes never crash the decoder, and whatever it returns encodes back without loss.
TEST(Unicode, FuzzedBytesDecodeToValidText) {
  std::mt19937 random(1234);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(random() % 24, '\0');
    for (auto& b : bytes) {
      // Bias towards lead and continuation bytes, where the decoder has its branches.
      const unsigned r = random();
      b = static_cast<char>(r % 3 == 0 ? 0x80 + (r >> 8) % 0x80 : (r >> 8) & 0xFF);
    }
    const std::u16string text = fromUtf8(bytes);
    EXPECT_LE(text.size(), bytes.size());
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
  }
}

}  // namespace
}  // namespace vantorel
