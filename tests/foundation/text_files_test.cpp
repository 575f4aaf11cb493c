#include "foundation/text_files.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/locale_charset.hpp"
#include "foundation/variant_description.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

using test::describe;

class TextFilesTest : public ::testing::Test {
 protected:
  Variant write(const std::string& name, const std::string& bytes) {
    const auto p = dir.path() / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return Variant(fs::fromNative(p));
  }
  test::TempDir dir;
};

TEST_F(TextFilesTest, ReadsByByteOrderMark) {
  // "Grüße €" in each encoding; the last one has no mark and is read in the system code page.
  const std::u16string text = u"Gr\u00FC\u00DFe \u20AC\r\nline 2";
  struct Case {
    const char* name;
    std::string bytes;
    const char* encoding;
    std::u16string expected;
  };
  const std::string utf8 =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x82\xAC\r\nline 2";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char16_t c : text) {
    le += static_cast<char>(c & 0xFF);
    le += static_cast<char>(c >> 8);
    be += static_cast<char>(c >> 8);
    be += static_cast<char>(c & 0xFF);
  }
  const Case cases[] = {
      {"utf8bom.txt", "\xEF\xBB\xBF" + utf8, "UTF-8", text},
      {"utf16le.txt", le, "UNICODE", text},
      {"utf16be.txt", be, "UNICODE BIG", text},
      {"ansi.txt",
       "Gr\xFC\xDF"
       "e \x80\r\nline 2",
       "", text},
      // Without its mark UTF-8 is taken for ANSI: each multi-byte character turns into several.
      {"utf8plain.txt", utf8, "", fromAnsi(utf8)},
      {"bomonly.txt", "\xEF\xBB\xBF", "UTF-8", u""},
      {"odd16.txt",
       "\xFF\xFE"
       "A",
       "UNICODE", u"\xFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Variant path = write(c.name, c.bytes);
    EXPECT_EQ(describe(DetectFileEncoding(path)), std::string("String:") + c.encoding);
    const Variant read = ReadTextFile(path);
    ASSERT_TRUE(read.isString());
    EXPECT_EQ(read.stringValue(), c.expected);
  }
  EXPECT_EQ(fromAnsi(utf8).size(), utf8.size());
}

TEST_F(TextFilesTest, MissingEmptyAndUnreadable) {
  const Variant missing(fs::fromNative(dir.path() / "none.txt"));
  const Variant empty = write("empty.txt", "");
  const Variant folder(fs::fromNative(dir.path()));
  for (const Variant& path : {missing, empty, folder, Variant(), Variant::null()}) {
    EXPECT_TRUE(ReadTextFile(path).isEmpty()) << describe(path);
    EXPECT_EQ(describe(DetectFileEncoding(path)), "String:");
  }
  EXPECT_TRUE(ReadUtf8File(missing).isEmpty());
  EXPECT_EQ(describe(ReadUtf8File(empty)), "String:");
  const Variant plain = write("plain.txt", "caf\xC3\xA9");
  EXPECT_EQ(describe(ReadUtf8File(plain)), "String:caf\xC3\xA9");
}

TEST(TextFiles, BytesToHex) {
  const auto bytes = [](std::vector<int> values) {
    std::vector<Variant> v;
    for (int b : values) v.emplace_back(static_cast<std::uint8_t>(b));
    return Variant(SafeArray::fromValues(std::move(v), VarType::Byte));
  };
  EXPECT_EQ(describe(BytesToHex(bytes({0xEF, 0xBB, 0xBF}))), "String:EFBBBF");
  EXPECT_EQ(describe(BytesToHex(bytes({0x00, 0x41, 0x42}))), "String:4142");
  EXPECT_EQ(describe(BytesToHex(bytes({0x00, 0x00}))), "String:0");
  EXPECT_EQ(describe(BytesToHex(bytes({}))), "String:0");
  EXPECT_EQ(describe(BytesToHex(bytes({0x0F, 0xFE, 0x01, 0x02, 0x03}))), "String:FFE010203");
  EXPECT_THROW(BytesToHex(Variant(std::u16string(u"EF"))), AutomationError);
}

TEST(TextFiles, CodePageToCharset) {
  const std::pair<std::u16string, const char*> cases[] = {
      {std::u16string(u"437\0", 4), "iso-8859-1"},
      {std::u16string(u" 850 \0\0", 7), "iso-8859-1"},
      {u"1250", "iso-8859-2"},
      {u"866", "iso-8859-5"},
      {u"38598", "iso-8859-8"},
      {u"932", "shift_jis"},
      {u"1201", "utf-16"},
      {u"65001", "utf-8"},
      {u"57003", ""},
      {u"0437", ""},
      {u"", ""},
  };
  for (const auto& [codePage, charset] : cases) {
    EXPECT_EQ(describe(CodePageToCharset(Variant(codePage))), std::string("String:") + charset)
        << toUtf8(codePage);
  }
  EXPECT_EQ(describe(CodePageToCharset(Variant(std::int32_t{1252}))), "String:iso-8859-1");
  EXPECT_EQ(describe(CodePageToCharset(Variant::null())), "String:");
}

TEST(TextFiles, InitLocaleCharsetFollowsTheSystemCodePage) {
  InitLocaleCharset();
  EXPECT_EQ(describe(projectContext().systemCodePage),
            "String:" + std::to_string(systemCodePage()));
  if (systemCodePage() == kCodePageWindows1252) {
    EXPECT_EQ(projectContext().systemCharset, u"iso-8859-1");
  }
}

}  // namespace
}  // namespace vantorel
