#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/text/unicode.hpp"
#include "platform/xml/xml_document.hpp"
#include "support/temp_home.hpp"

namespace vantorel::xml {
namespace {

TEST(XmlParseErrors, NameTheLineAndColumnOfTheFault) {
  struct Case {
    const char* text;
    std::int64_t line;
    std::int64_t column;
  } cases[] = {
      {"", 1, 1},
      {"<a>", 1, 3},
      {"<a>\n  <b></a>", 2, 8},
      {"<a>\n\n  <b x=1/></a>", 3, 8},
      {"<a>\r\n<b c=\"x></b></a>", 2, 7},
      {"<a><![CDATA[never closed</a>", 1, 28},
      {"<a>\xC3\xA9\xF0\x9F\x98\x80<</a>", 1, 8},  // e-acute, then a surrogate pair: two units
  };
  for (const Case& c : cases) {
    Document doc;
    const std::optional<ParseError> error = parseBuffer(doc, c.text, ReadMode::Exact);
    ASSERT_TRUE(error) << c.text;
    EXPECT_EQ(error->line, c.line) << c.text;
    EXPECT_EQ(error->column, c.column) << c.text;
    EXPECT_FALSE(error->description.empty()) << c.text;
    EXPECT_FALSE(doc.first_child()) << c.text;
    const std::u16string expected = u"line " + fromUtf8(std::to_string(c.line)) + u", column " +
                                    fromUtf8(std::to_string(c.column)) + u": " + error->description;
    EXPECT_EQ(error->text(), expected) << c.text;
  }
}

TEST(XmlParseErrors, AnUnreadableFileIsNamedWithoutAPosition) {
  test::TempDir dir;
  const std::u16string path = fromUtf8((dir.path() / "missing.xml").string());
  Document doc;
  const std::optional<ParseError> error = parseFile(doc, path, ReadMode::ExactWithProlog);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->line, 0);
  EXPECT_EQ(error->text(), path + u": the file cannot be read");
}

// Truncated and corrupted documents, in every read mode: an error with a position inside the
// text, or a document, never a crash.
TEST(XmlParseErrors, RandomDamageNeverCrashes) {
  const std::string valid =
      "<?xml version=\"1.0\"?>\r\n<root a=\"1\" b='x &amp; y'>\r\n  <c><![CDATA[<z>]]></c>\r\n"
      "  <!-- note -->\r\n  <d e=\"\xC3\xA9\">text</d>\r\n</root>\r\n";
  const ReadMode modes[] = {ReadMode::Exact, ReadMode::ExactWithProlog, ReadMode::Verbatim,
                            ReadMode::Normalised, ReadMode::NormalisedFragment};
  std::mt19937 rng(11);
  for (int round = 0; round < 2000; ++round) {
    std::string text = valid.substr(0, rng() % (valid.size() + 1));
    for (int i = static_cast<int>(rng() % 4); i > 0 && !text.empty(); --i) {
      text[rng() % text.size()] = static_cast<char>(rng() % 256);
    }
    Document doc;
    const std::optional<ParseError> error =
        parseBuffer(doc, text, modes[round % std::size(modes)], Encoding::Utf8);
    if (!error) continue;
    EXPECT_GE(error->line, 1) << text;
    EXPECT_GE(error->column, 1) << text;
    EXPECT_LE(error->offset, static_cast<std::ptrdiff_t>(text.size())) << text;
    EXPECT_FALSE(error->description.empty()) << text;
  }
}

}  // namespace
}  // namespace vantorel::xml
