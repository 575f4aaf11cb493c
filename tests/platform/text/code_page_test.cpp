#include "platform/text/code_page.hpp"

#include <gtest/gtest.h>

#include <random>

#include "platform/text/byte_order_mark.hpp"
#include "support/scoped_env.hpp"

namespace vantorel {
namespace {

TEST(CodePage, Windows1252RoundTripsAllBytes) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string text = decodeCodePage(all, kCodePageWindows1252);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(encodeCodePage(text, kCodePageWindows1252), all);

  const struct {
    unsigned char byte;
    char16_t c;
  } cases[] = {
      {0x41, u'A'},      {0x80, u'\u20AC'}, {0x81, u'\u0081'}, {0x8A, u'\u0160'},
      {0x8D, u'\u008D'}, {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x92, u'\u2019'},
      {0x9D, u'\u009D'}, {0x9F, u'\u0178'}, {0xA0, u'\u00A0'}, {0xE9, u'\u00E9'},
  };
  for (const auto& c : cases) EXPECT_EQ(text[c.byte], c.c) << int(c.byte);
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks) {
  const struct {
    int codePage;
    std::u16string_view in;
    std::string out;
  } cases[] = {
      {kCodePageWindows1252, u"\u20AC\u0080\u4E2D", "\x80??"},  // U+0080 is not 0x80's character
      {kCodePageWindows1252, u"a\U0001F600b", "a?b"},           // one mark for a pair
      {kCodePageLatin1, u"\u00FF\u0100", "\xFF?"},
      {kCodePageAscii, u"abc\u00E9", "abc?"},
      {1250, u"\u0160\u20AC\u00E9\u4E2D", "\x8A\x80\xE9?"},
      {437, u"\u00E9\u2500x\u20AC", "\x82\xC4x?"},
      {850, u"\u00E9\U0001F600", "\x82?"},
      {1251, u"\u0416\u00E9", "\xC6?"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(encodeCodePage(c.in, c.codePage), c.out) << c.codePage;
  }
}

TEST(CodePage, DecodesEachSupportedPage) {
  const struct {
    int codePage;
    std::string in;
    std::u16string_view out;
  } cases[] = {
      {kCodePageLatin1, "\x80\xE9", u"\u0080\u00E9"},
      {kCodePageAscii, "ok\xE9", u"ok\uFFFD"},
      {kCodePageUtf8, "\xC3\xA9\xFF", u"\u00E9\uFFFD"},
      {1250, "\x8A\xE8", u"\u0160\u010D"},
      {1253, "\xC1", u"\u0391"},
      {437, "\x82\xC4", u"\u00E9\u2500"},
      {1252, "\x93q\x94", u"\u201Cq\u201D"},
      {99999, "\x80", u"\u20AC"},  // unknown pages read as Windows-1252
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decodeCodePage(c.in, c.codePage), c.out) << c.codePage;
  }
}

TEST(CodePage, KnowsWhatItSupports) {
  for (int cp : {1252, 28591, 20127, 65001, 1250, 1251, 1257, 1258, 437, 850, 28592}) {
    EXPECT_TRUE(isSupportedCodePage(cp)) << cp;
  }
  for (int cp : {0, -1, 99999}) EXPECT_FALSE(isSupportedCodePage(cp)) << cp;
}

TEST(CodePage, SystemCodePageFollowsTheSetting) {
  const struct {
    const char* setting;
    int codePage;
  } cases[] = {
      {nullptr, 1252}, {"", 1252}, {"1250", 1250}, {"65001", 65001}, {"12x", 1252}, {"-5", 1252},
  };
  for (const auto& c : cases) {
    test::ScopedEnv env("VANTOREL_CODEPAGE", c.setting);
    EXPECT_EQ(systemCodePage(), c.codePage) << (c.setting ? c.setting : "(unset)");
  }
  test::ScopedEnv env("VANTOREL_CODEPAGE", "1251");
  EXPECT_EQ(fromAnsi("\xC6"), u"\u0416");
  EXPECT_EQ(toAnsi(u"\u0416"), "\xC6");
}

// Random bytes through every decoder: no crash, and the result is well-formed UTF-16 text.
TEST(CodePage, FuzzedBytesDecodeCleanly) {
  std::mt19937 random(99);
  const int pages[] = {1252, 28591, 20127, 65001, 1250, 437, 932, 936, 950, 50220, 1200};
  for (int round = 0; round < 400; ++round) {
    std::string bytes(random() % 40, '\0');
    for (auto& b : bytes) b = static_cast<char>(random());
    for (int cp : pages) {
      const std::u16string text = decodeCodePage(bytes, cp);
      EXPECT_LE(text.size(), bytes.size() + 1) << cp;
      const std::string back = encodeCodePage(text, cp);
      (void)back;
    }
  }
}

TEST(ByteOrderMark, Detects) {
  const struct {
    std::string bytes;
    ByteOrderMark mark;
    std::size_t length;
  } cases[] = {
      {"\xEF\xBB\xBFx", ByteOrderMark::Utf8, 3},
      {"\xEF\xBB", ByteOrderMark::None, 0},
      {"\xFF\xFEx\0", ByteOrderMark::Utf16LittleEndian, 2},
      {"\xFE\xFF", ByteOrderMark::Utf16BigEndian, 2},
      {"<?xml", ByteOrderMark::None, 0},
      {"", ByteOrderMark::None, 0},
  };
  for (const auto& c : cases) {
    const ByteOrderMark mark = detectByteOrderMark(c.bytes);
    EXPECT_EQ(mark, c.mark) << testing::PrintToString(c.bytes);
    EXPECT_EQ(byteOrderMarkLength(mark), c.length);
  }
}

}  // namespace
}  // namespace vantorel
