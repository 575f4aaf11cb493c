#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "object_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/objects/ado_stream.hpp"
#include "platform/vbscript/objects/file_objects.hpp"
#include "support/raised_error.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::vbs {
namespace {

using namespace object_test;

class AdoStreamTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { registerFileObjects(ClassFactory::instance()); }

  Ref<Object> openStream(int type = 2, const std::u16string& charset = u"") {
    auto stream = ClassFactory::instance().create(u"ADODB.Stream");
    stream->let(u"Type", type);
    if (!charset.empty()) stream->let(u"Charset", charset);
    stream->call(u"Open");
    return stream;
  }
  std::u16string at(const std::string& name) const {
    return fromUtf8((dir_.path() / name).string());
  }

  test::TempDir dir_;
};

TEST_F(AdoStreamTest, TextIsStoredInTheCharsetWithItsByteOrderMark) {
  const std::u16string text = u"\u00E9\u20AC\U0001F600";
  const struct {
    std::u16string charset;
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"Unicode", u"a\u00E9",
       std::string("\xFF\xFE"
                   "a\0\xE9\0",
                   6)},
      {u"utf-8", text, "\xEF\xBB\xBF\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {u"UTF-8", u"x", "\xEF\xBB\xBFx"},
      {u"iso-8859-1", u"\u00E9", "\xE9"},
      {u"Windows-1252", u"\u00E9\u20AC", "\xE9\x80"},
      {u"us-ascii", u"\u00E9a", "?a"},
      {u"utf-16be", u"a", std::string("\xFE\xFF\0a", 4)},
      {u"windows-1251", u"\u0416", "\xC6"},
      {u"cp850", u"\u00E9", "\x82"},
  };
  for (const auto& c : cases) {
    auto stream = openStream(2, c.charset);
    stream->call(u"WriteText", {c.text});
    stream->call(u"SaveToFile", {at("out.txt"), 2});
    EXPECT_EQ(test::readFile(dir_.path() / "out.txt"), c.bytes) << toUtf8(c.charset);

    auto back = openStream(2, c.charset);
    back->call(u"LoadFromFile", {at("out.txt")});
    const std::u16string expected = c.charset == u"us-ascii" ? u"?a" : c.text;
    EXPECT_EQ(toString(back->call(u"ReadText")), expected) << toUtf8(c.charset);
    EXPECT_TRUE(toBool(back->get(u"EOS")));
  }
}

TEST_F(AdoStreamTest, ReadTextCountsCharactersAndLines) {
  test::writeFile(dir_.path() / "lines.txt", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\nzwei\ndrei\r\n");
  const struct {
    std::int32_t separator;
    std::vector<std::u16string> lines;
  } cases[] = {
      {-1, {u"\u00E9t\u00E9", u"zwei\ndrei"}},
      {10, {u"\u00E9t\u00E9\r", u"zwei", u"drei\r"}},
      {13, {u"\u00E9t\u00E9", u"\nzwei\ndrei", u"\n"}},
  };
  for (const auto& c : cases) {
    auto stream = openStream(2, u"utf-8");
    stream->let(u"LineSeparator", c.separator);
    stream->call(u"LoadFromFile", {at("lines.txt")});
    std::vector<std::u16string> lines;
    while (!toBool(stream->get(u"EOS"))) lines.push_back(toString(stream->call(u"ReadText", {-2})));
    EXPECT_EQ(lines, c.lines) << c.separator;
  }
  auto stream = openStream(2, u"utf-8");
  stream->call(u"LoadFromFile", {at("lines.txt")});
  EXPECT_EQ(toString(stream->call(u"ReadText", {2})), u"\u00E9t");
  EXPECT_EQ(toLong(stream->get(u"Position")), 3 + 3);
  stream->call(u"SkipLine");
  EXPECT_EQ(toString(stream->call(u"ReadText", {-2})), u"zwei\ndrei");
}

TEST_F(AdoStreamTest, BinaryReadWritePositionAndSize) {
  auto stream = openStream(1);
  stream->call(
      u"Write",
      {Variant(SafeArray::fromValues({Variant(std::uint8_t{1}), Variant(std::uint8_t{2}),
                                      Variant(std::uint8_t{0}), Variant(std::uint8_t{255})},
                                     VarType::Byte))});
  EXPECT_EQ(toLong(stream->get(u"Size")), 4);
  EXPECT_TRUE(toBool(stream->get(u"EOS")));
  EXPECT_TRUE(stream->call(u"Read").isNull());
  stream->let(u"Position", 1);
  const Variant part = stream->call(u"Read", {2});
  ASSERT_TRUE(part.isArray());
  EXPECT_EQ(part.varType(), 8192 + 17);
  EXPECT_EQ(part.arrayValue().size(), 2u);
  EXPECT_EQ(toLong(part.arrayValue().at(0)), 2);
  stream->let(u"Position", 2);
  stream->call(u"SetEOS");
  EXPECT_EQ(toLong(stream->get(u"Size")), 2);

  // The usual idiom: load as binary, then read the same bytes as text.
  test::writeFile(dir_.path() / "in.txt", "\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F");
  auto loaded = openStream(1);
  loaded->call(u"LoadFromFile", {at("in.txt")});
  loaded->let(u"Position", 0);
  loaded->let(u"Type", 2);
  loaded->let(u"Charset", std::u16string(u"utf-8"));
  EXPECT_EQ(toString(loaded->call(u"ReadText")), u"gr\u00FC\u00DF");

  // CopyTo past the mark gives the bare UTF-8 bytes.
  auto target = openStream(1);
  loaded->let(u"Position", 3);
  loaded->call(u"CopyTo", {Variant(target.get())});
  target->call(u"SaveToFile", {at("bare.txt")});
  EXPECT_EQ(test::readFile(dir_.path() / "bare.txt"), "gr\xC3\xBC\xC3\x9F");
}

TEST_F(AdoStreamTest, ErrorsCarryAdoNumbers) {
  test::writeFile(dir_.path() / "exists.txt", "keep");
  const struct {
    const char* what;
    std::function<void()> action;
    std::int32_t number;
  } cases[] = {
      {"save over an existing file", [&] { openStream()->call(u"SaveToFile", {at("exists.txt")}); },
       3004},
      {"save into a missing folder",
       [&] {
         openStream()->call(u"SaveToFile", {at("nowhere/x.txt"), 2});
       },
       3004},
      {"load a missing file", [&] { openStream()->call(u"LoadFromFile", {at("missing.txt")}); },
       3002},
      {"read text from a closed stream",
       [&] { ClassFactory::instance().create(u"ADODB.Stream")->call(u"ReadText"); }, 3704},
      {"open twice", [&] { openStream()->call(u"Open"); }, 3705},
      {"binary read of text", [&] { openStream(2)->call(u"Read"); }, 3219},
      {"text read of binary", [&] { openStream(1)->call(u"ReadText"); }, 3219},
      {"unknown charset", [&] { openStream()->let(u"Charset", std::u16string(u"klingon")); }, 3001},
      {"charset away from the start",
       [&] {
         auto s = openStream();
         s->call(u"WriteText", {std::u16string(u"x")});
         s->let(u"Charset", std::u16string(u"utf-8"));
       },
       3219},
      {"bad line separator", [&] { openStream()->let(u"LineSeparator", 11); }, 3001},
      {"write text to binary", [&] { openStream(1)->call(u"Write", {std::u16string(u"text")}); },
       3001},
  };
  for (const auto& c : cases) EXPECT_EQ(test::errorOf(c.action), c.number) << c.what;
  EXPECT_EQ(test::readFile(dir_.path() / "exists.txt"), "keep");
}

TEST_F(AdoStreamTest, WritingOverwritesAtThePositionAndLinesUseTheSeparator) {
  auto stream = openStream(2, u"iso-8859-1");
  stream->let(u"LineSeparator", 10);
  stream->call(u"WriteText", {std::u16string(u"one"), 1});
  stream->call(u"WriteText", {std::u16string(u"two")});
  EXPECT_EQ(toLong(stream->get(u"Size")), 7);
  stream->let(u"Position", 1);
  stream->call(u"WriteText", {std::u16string(u"N")});
  stream->let(u"Position", 0);
  EXPECT_EQ(toString(stream->call(u"ReadText")), u"oNe\ntwo");
  EXPECT_EQ(stream->call(u"ReadText").type(), VarType::String);  // at the end: empty text

  // Moving past the end grows the stream with zero bytes.
  stream->let(u"Position", 9);
  EXPECT_EQ(toLong(stream->get(u"Size")), 9);
  stream->call(u"Close");
  EXPECT_EQ(toLong(stream->get(u"State")), 0);
  EXPECT_EQ(test::errorOf([&] { stream->get(u"Size"); }), 3704);

  // Saving writes the whole stream, wherever the position is, and leaves it at the start.
  auto unicode = openStream();
  unicode->call(u"WriteText", {std::u16string(u"hi")});
  unicode->call(u"SaveToFile", {at("u.txt")});
  EXPECT_EQ(test::readFile(dir_.path() / "u.txt"), std::string("\xFF\xFEh\0i\0", 6));
  EXPECT_EQ(toLong(unicode->get(u"Position")), 0);
}

// Arbitrary bytes read in every charset give text, never a crash or a position past the end.
TEST_F(AdoStreamTest, ArbitraryBytesReadCleanly) {
  std::mt19937 random(11);
  for (const char16_t* charset : {u"Unicode", u"utf-8", u"windows-1252", u"shift_jis"}) {
    for (int round = 0; round < 40; ++round) {
      std::string bytes(random() % 32, '\0');
      for (char& b : bytes) b = static_cast<char>(random() % 256);
      test::writeFile(dir_.path() / "fuzz.bin", bytes);
      auto stream = openStream(2, charset);
      stream->call(u"LoadFromFile", {at("fuzz.bin")});
      while (!toBool(stream->get(u"EOS"))) {
        stream->call(u"ReadText", {static_cast<std::int32_t>(random() % 4) - 2});
        ASSERT_LE(toLong(stream->get(u"Position")), toLong(stream->get(u"Size")));
      }
    }
  }
}

}  // namespace
}  // namespace vantorel::vbs
