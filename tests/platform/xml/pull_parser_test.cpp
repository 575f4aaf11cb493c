// The pull parser against the document reader it stands in for: the same elements, attributes,
// text and CDATA for every well-formed input, a located error for broken ones, and no crash on
// mangled text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/xml/pull_parser.hpp"
#include "platform/xml/text_position.hpp"
#include "platform/xml/xml_document.hpp"
#include "support/random_edits.hpp"

namespace vantorel::xml {
namespace {

using Event = PullParser::Event;

// The events as one line each: "<name a=v ...>", "</name>", "T:text", "C:cdata".
std::vector<std::string> pulled(std::string_view text, std::string* error = nullptr,
                                std::size_t* errorOffset = nullptr) {
  std::vector<std::string> out;
  PullParser parser(text);
  for (;;) {
    const Event e = parser.next();
    if (e == Event::End) break;
    if (e == Event::Error) {
      if (error) *error = parser.error();
      if (errorOffset) *errorOffset = parser.offset();
      out.push_back("error");
      break;
    }
    if (e == Event::StartElement) {
      std::string line = "<" + std::string(parser.name());
      for (const AttributeView& a : parser.attributes()) {
        line += " " + std::string(a.name) + "=" + std::string(a.value);
      }
      out.push_back(line + ">");
    } else if (e == Event::EndElement) {
      out.push_back("</" + std::string(parser.name()) + ">");
    } else {
      out.push_back((e == Event::Text ? "T:" : "C:") + std::string(parser.content()));
    }
  }
  return out;
}

// The same lines from the document reader, for the root and what follows it.
void walk(const Node& node, std::vector<std::string>& out) {
  for (Node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == kElementNode) {
      std::string line = "<" + std::string(child.name());
      for (const Attribute a : child.attributes()) {
        line += " " + std::string(a.name()) + "=" + a.value();
      }
      out.push_back(line + ">");
      walk(child, out);
      out.push_back("</" + std::string(child.name()) + ">");
    } else if (child.type() == kTextNode) {
      out.push_back("T:" + std::string(child.value()));
    } else if (child.type() == kCDataNode) {
      out.push_back("C:" + std::string(child.value()));
    }
  }
}

std::vector<std::string> fromDocument(std::string_view text) {
  Document doc;
  std::vector<std::string> out;
  if (parseBuffer(doc, text, ReadMode::Exact, Encoding::Utf8)) return {"error"};
  walk(doc, out);
  return out;
}

TEST(PullParser, ReadsWhatTheDocumentReaderReads) {
  const char* const cases[] = {
      "<a/>",
      "<a b=\"1\" c='2'>x</a>",
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- c --><a>\r\n  <b x=\"&lt;&amp;&gt;&quot;&apos;\"/>\r\n</a>",
      // Line ends and blanks stay as written, in values and in CDATA.
      "<a v=\"l1\r\nl2\tx\"><![CDATA[code\r\nline ]] > ]]><![CDATA[more]]></a>",
      "<a>one &#65;&#x42; &unknown; & two</a>",
      "<!DOCTYPE a [<!ENTITY e \"v>\"> <!-- ] > -->]><a x=\"&e;\"/>",
      "<a><?pi stuff?><b/><!-- <c> --></a >",
      "<Project><Database><Table TblName=\"T\"><Field FldName=\"F\"/></Table></Database></Project>",
      "<a x=\"caf\xC3\xA9\" y=\"\xF0\x9F\x98\x80\">\xE6\x97\xA5</a>",
  };
  for (const char* text : cases) EXPECT_EQ(pulled(text), fromDocument(text)) << text;
}

TEST(PullParser, BrokenTextStopsWithAReasonAndAPlace) {
  struct Case {
    const char* text;
    std::int64_t line, column;
  } cases[] = {
      {"<a><b></a>", 1, 7},
      {"<a>\n<b>\n", 3, 1},
      {"<a x=\"1\"y=\"2\"/>", 1, 9},
      {"<a x=1/>", 1, 6},
      {"<a><!-- open\n\n", 1, 4},
      {"<a><![CDATA[ open", 1, 4},
      {"", 1, 1},
      {"  \r\n", 2, 1},
      {"</a>", 1, 1},
      {"<a>\n  <1b/></a>", 2, 3},
  };
  for (const Case& c : cases) {
    std::string error;
    std::size_t offset = 0;
    const std::vector<std::string> events = pulled(c.text, &error, &offset);
    ASSERT_FALSE(events.empty()) << c.text;
    EXPECT_EQ(events.back(), "error") << c.text;
    EXPECT_FALSE(error.empty()) << c.text;
    const TextPosition at = positionOf(c.text, static_cast<std::ptrdiff_t>(offset));
    EXPECT_EQ(at.line, c.line) << c.text;
    EXPECT_EQ(at.column, c.column) << c.text;
  }
}

// Each attribute says where its name stands, whether the name is plain ASCII, and where its value
// first holds a character no XML 1.0 document can hold, by reference or as itself.
TEST(PullParser, PlacesAttributesAndTheCharactersNoDocumentHolds) {
  struct Case {
    const char* text;
    std::size_t offset, unholdableAt;
  } cases[] = {
      {"<a b=\"plain\"/>", 3, kNoOffset},
      {"<a\n  b='&lt;&#9;&#xA;&#13;&#xD7FF;&#xE000;&#xFFFD;&#x10000;'/>", 5, kNoOffset},
      {"<a b=\"x&#0;\"/>", 3, 7},
      {"<a b=\"&amp;&#1;&#2;\"/>", 3, 11},
      {"<a b=\"&#x1f;\"/>", 3, 6},
      {"<a b=\"&#xFFFE;\"/>", 3, 6},
      {"<a b=\"&#65535;\"/>", 3, 6},
      {"<a b=\"&#xD800;\"/>", 3, 6},
      {"<a b=\"&#x110000;\"/>", 3, 6},
      {"<a b=\"&#99999999;\"/>", 3, 6},
      {"<a b=\"ok\xEF\xBF\xBF\"/>", 3, 8},
      {"<a b='\xEF\xBF\xBE&amp;'/>", 3, 6},
      {"<a b=\"\xEF\xBF\xBD\xEF\xBB\xBF\"/>", 3, kNoOffset},
  };
  for (const Case& c : cases) {
    PullParser parser(c.text);
    ASSERT_EQ(parser.next(), Event::StartElement) << c.text;
    ASSERT_EQ(parser.attributes().size(), 1u) << c.text;
    EXPECT_EQ(parser.attributes()[0].offset, c.offset) << c.text;
    EXPECT_EQ(parser.attributes()[0].unholdableAt, c.unholdableAt) << c.text;
    EXPECT_EQ(parser.plainAttributes(), c.unholdableAt == kNoOffset) << c.text;
  }
  // Names of ASCII letters, digits, '_', '-' and '.' are plain, whatever their length; ':' and
  // characters beyond ASCII are for the reader to judge.
  const std::string longName(40, 'n');
  const std::pair<std::string, bool> names[] = {
      {"a", true},
      {"x.y-z_1", true},
      {longName, true},
      {"a:b", false},
      {":" + longName, false},
      {longName + ":", false},
      {"caf\xC3\xA9", false},
      {longName + "\xC3\x97", false},
      {"\xC3\x97" + longName, false},
  };
  for (const auto& [name, plain] : names) {
    const std::string text = "<a " + name + "=\"1\"/>";
    PullParser parser(text);
    ASSERT_EQ(parser.next(), Event::StartElement) << name;
    ASSERT_EQ(parser.attributes().size(), 1u) << name;
    EXPECT_EQ(parser.attributes()[0].plainName, plain) << name;
    EXPECT_EQ(parser.plainAttributes(), plain) << name;
  }
}

// The nodes the quick count counts, as the document reader sees them under the root.
std::size_t rootNodesInDocument(std::string_view text) {
  Document doc;
  if (parseBuffer(doc, text, ReadMode::Exact, Encoding::Utf8)) return SIZE_MAX;
  std::size_t count = 0;
  for (Node child = doc.document_element().first_child(); child; child = child.next_sibling()) {
    const bool blank = std::string_view(child.value()).find_first_not_of(" \t\r\n") ==
                       std::string_view::npos;
    if (child.type() == kElementNode || child.type() == kCDataNode ||
        (child.type() == kTextNode && !blank)) {
      ++count;
    }
  }
  return count;
}

// The quick count of the root's nodes, from just after its start tag.
std::size_t quickRootCount(std::string_view text) {
  PullParser parser(text);
  Event e = parser.next();
  while (e != Event::StartElement && e != Event::End && e != Event::Error) e = parser.next();
  if (e != Event::StartElement) return SIZE_MAX;
  return parser.emptyElement() ? 0 : countChildNodes(text, parser.consumed());
}

TEST(PullParser, CountsTheNodesOfAnElement) {
  const std::string quoted(40, 'q');  // values long enough to span several blocks of the scan
  const struct {
    std::string text;
    std::size_t count;
  } cases[] = {
      {"<D><T a=\"x>y\"/> <T><F/><F/></T>text<![CDATA[c]]><!-- n --><?p?><T b='/'></T></D><E/>",
       5},
      {"<D></D>", 0},
      {"<D>\r\n  </D>", 0},
      {"<D><T a='" + quoted + "\">\"" + quoted + "'><U/></T><T/></D>", 2},
      {"<D><T a=\"" + quoted + "'>'" + quoted + "\" b='>'/><T c=\"/\">x</T></D>", 2},
      {"<D><T a=\"" + quoted + "\"/>" + quoted + "<T b=\"" + quoted + ">\"></T></D>", 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quickRootCount(c.text), c.count) << c.text;
    EXPECT_EQ(rootNodesInDocument(c.text), c.count) << c.text;
  }
}

// Mangled copies of a project-like text: every run ends in End or a located Error, and whatever
// both readers accept they read alike.
TEST(PullParser, MangledTextNeverCrashes) {
  const std::string seed =
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Project Version=\"4.0\">\r\n"
      "<Database DBName=\"d\"><Table TblName=\"T&amp;1\"><Field FldName=\"A\" FldTagValues=\"x|y\"/>"
      "<Chart ChartName=\"C\"><Trendline TrendName=\"Z\"/></Chart></Table></Database>\r\n"
      "<CustomScript ScriptName=\"s\"><![CDATA[If a < b Then\r\nx]]></CustomScript>\r\n"
      "<!-- note --><Menu MenuID=\"1\" MenuText=\"&#233;\"/></Project>\r\n";
  std::mt19937 random(21);
  int agreed = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string text = test::randomlyEdited(seed, random, "<>\"'&;/=![]-?\r\n", 24);
    std::string error;
    std::size_t offset = 0;
    const std::vector<std::string> events = pulled(text, &error, &offset);
    if (!events.empty() && events.back() == "error") {
      EXPECT_FALSE(error.empty());
      EXPECT_LE(offset, text.size());
      continue;
    }
    const std::vector<std::string> reference = fromDocument(text);
    if (reference != std::vector<std::string>{"error"}) {
      EXPECT_EQ(events, reference) << text;
      EXPECT_EQ(quickRootCount(text), rootNodesInDocument(text)) << text;
      ++agreed;
    }
  }
  EXPECT_GT(agreed, 100);
}

}  // namespace
}  // namespace vantorel::xml
