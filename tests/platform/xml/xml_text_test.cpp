// Text that an XML file must hold or refuse: names and values the writers check before a save,
// and bytes read in the encoding their file declares.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"
#include "platform/xml/xml_document.hpp"
#include "platform/xml/xml_text.hpp"

namespace vantorel::xml {
namespace {

TEST(XmlText, CharactersAndNamesAFileCanHold) {
  const struct {
    std::u16string text;
    std::optional<std::size_t> bad;
  } values[] = {
      {u"", std::nullopt},
      {u"tab\tline\r\nend", std::nullopt},
      {u"\U0001F600 \uFFFD", std::nullopt},
      {u"a\x01", 1},
      {std::u16string(u"a\0b", 3), 1},
      {u"\x1F", 0},
      {u"x\xFFFE", 1},
      {u"\xD800z", 0},
      {u"z\xDC00", 1},
      {u"end\xD83D", 3},
  };
  for (const auto& v : values) {
    EXPECT_EQ(firstNonXmlChar(v.text), v.bad) << toUtf8(v.text);
  }
  const struct {
    std::u16string name;
    bool ok;
  } names[] = {
      {u"TblName", true},       {u"_x", true},          {u"My_Setting.2", true},
      {u"\u00E9t\u00E9", true}, {u"a-b", true},         {u"", false},
      {u"My Setting", false},   {u"1", false},          {u"-a", false},
      {u"a:b", false},          {u"a\x01", false},      {u"a\"b", false},
      {u"a\xD800", false},      {u"x\U00010000", true},
  };
  for (const auto& n : names) EXPECT_EQ(isXmlName(n.name), n.ok) << toUtf8(n.name);
}

TEST(XmlText, DeclaredEncodingIsHonouredAndInvalidBytesRefused) {
  const struct {
    const char* what;
    std::string bytes;
    std::u16string value;  // of attribute v; empty when refused
    std::u16string error;
  } cases[] = {
      {"windows-1252", "<?xml version='1.0' encoding='windows-1252'?><r v='\x80\xE9'/>",
       u"\u20AC\u00E9", u""},
      {"UTF-8 mark", "\xEF\xBB\xBF<r v='\xC3\xA9'/>", u"\u00E9", u""},
      {"UTF-16", std::string("\xFF\xFE<\0r\0/\0>\0", 10), u"", u""},
      {"undeclared Latin-1", "<r v='\xE9'/>", u"",
       u"line 1, column 7: invalid UTF-8 byte sequence"},
      {"control byte", "<r v='\x01'/>", u"", u"line 1, column 7: invalid character U+0001"},
      {"unknown", "<?xml version='1.0' encoding='klingon'?><r/>", u"",
       u"unsupported encoding \"klingon\""},
  };
  for (const auto& c : cases) {
    Document doc;
    const std::optional<ParseError> error =
        parseBuffer(doc, c.bytes, ReadMode::Exact, Encoding::Declared);
    if (c.error.empty()) {
      ASSERT_FALSE(error) << c.what << ": " << toUtf8(error->text());
      EXPECT_EQ(attributeText(doc.document_element(), "v"), c.value) << c.what;
    } else {
      ASSERT_TRUE(error) << c.what;
      EXPECT_TRUE(error->encoding) << c.what;
      EXPECT_EQ(error->description, c.error) << c.what;
    }
  }
}

// Random bytes under a declaration: converted or refused with a reason, never a crash.
TEST(XmlText, RandomBytesAreConvertedOrRefused) {
  std::mt19937 rng(22);
  const char* heads[] = {"", "<?xml version='1.0' encoding='iso-8859-1'?>",
                         "<?xml version='1.0' encoding='utf-8'?>", "\xEF\xBB\xBF", "\xFF\xFE"};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = heads[round % std::size(heads)];
    for (int i = static_cast<int>(rng() % 40); i > 0; --i) bytes += static_cast<char>(rng() % 256);
    std::string out;
    std::u16string why;
    if (textAsUtf8(bytes, out, why)) {
      why.clear();
      if (!checkXmlCharacters(out, why)) {
        EXPECT_FALSE(why.empty());
      }
    } else {
      EXPECT_FALSE(why.empty());
    }
  }
}

}  // namespace
}  // namespace vantorel::xml
