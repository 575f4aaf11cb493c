#include "templates/template_parser.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/automation/class_factory.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "templates/template_classes.hpp"

namespace vantorel {
namespace {

// The blocks as "type@start+length'name'[indent]", separated by blanks; the cursor last.
std::u16string blocksOf(AGParser& p) {
  std::u16string out;
  const std::int32_t cursor = p.BlockID();
  for (std::int32_t i = 1; i <= p.Count(); ++i) {
    const AGBlock& b = p.block(i);
    out += toU16(b.BlockType) + u"@" + toU16(b.Start) + u"+" + toU16(b.Length) + u"'" +
           std::u16string(b.BlockName) + u"'";
    if (!b.BlockIndent.empty()) out += u"[" + std::u16string(b.BlockIndent) + u"]";
    out += u" ";
  }
  return out + u"#" + toU16(cursor);
}

struct ParseCase {
  std::u16string source;
  std::u16string blocks;
};

TEST(TemplateParserTest, SplitsEveryBlockKind) {
  const std::vector<ParseCase> cases = {
      {u"", u"#0"},
      {u"plain text", u"6@1+10'' #1"},
      {u"a<!--##=x##-->b", u"6@1+1'' 2@9+1'x' 6@15+1'' #3"},
      {u"<!--##=  x  ##-->", u"2@8+5'x' #1"},
      {u"<!--##@##-->", u"4@8+0'' #1"},  // a phrase with an empty key is still a script
      {u"<!--####-->", u"1@7+0'' #1"},
      {u"<!--##~y##-->", u"3@8+1'y' #1"},
      {u"<!--##@Title##-->", u"4@8+5'Title' #1"},
      {u"<!--##$key & 1##-->", u"5@8+7'key & 1' #1"},
      {u"<!--##\tIf x Then##-->", u"1@7+10'' #1"},
      // A blank after the opener makes a code block, whatever follows.
      {u"<!--## =x##-->", u"1@7+3'' #1"},
      // Two tagged blocks side by side leave no empty text between them.
      {u"<!--##=a##--><!--##=b##-->", u"2@8+1'a' 2@21+1'b' #2"},
      // Tabs and line breaks stay in a typed block's name; blanks go.
      {u"<!--##= \tx\r\n ##-->", u"2@8+6'\tx\r\n' #1"},
      // The indentation of a "~" block is the blank run ending the text before it.
      {u"ab  <!--##~v##-->", u"6@1+4'' 3@12+1'v'[  ] #2"},
      {u"\t \t<!--##~v##-->", u"6@1+3'' 3@11+1'v'[\t \t] #2"},
      {u"ab<!--##~v##-->", u"6@1+2'' 3@10+1'v' #2"},
      {u"<!--##=a##--><!--##~v##-->", u"2@8+1'a' 3@21+1'v' #2"},
      // The markers are found anywhere, also inside quotes.
      {u"\"<!--##=q##-->\"", u"6@1+1'' 2@9+1'q' 6@15+1'' #3"},
      // A closer overlapping the opener closes an empty code block.
      {u"<!--##-->x", u"1@7+0'' 6@10+1'' #2"},
      {u"<!--###-->", u"1@7+0'' #1"},
      // Characters beyond the basic plane count as two code units.
      {u"\U0001F600<!--##=e##-->", u"6@1+2'' 2@10+1'e' #2"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(toUtf8(c.source));
    projectContext().lastErrorText.clear();
    auto p = makeRef<AGParser>();
    p->Parse(c.source);
    EXPECT_EQ(projectContext().lastErrorText, u"");
    EXPECT_EQ(toUtf8(blocksOf(*p)), toUtf8(c.blocks));
  }
}

TEST(TemplateParserTest, CodeBlockDeclaredFunctionName) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"\r\nFunction Build(x)\r\nEnd Function\r\n", u"Build"},
      {u"\r\n   function  Name  ()", u"Name"},
      {u"\r\nFUNCTION Upper()", u"Upper"},
      {u"\r\nPublic Function Hidden()", u""},
      {u"Function FirstLine()", u""},
      {u"\r\n\tFunction Tabbed()", u""},
      {u"\r\n' Function Commented()", u""},
      {u"\r\nEnd Function\r\n", u""},
      {u"\r\nx = MyFunction (1)", u""},
      {u"\r\nFunction NoParen", u""},
      // A later declaration hidden behind a word: the earlier one counts.
      {u"\r\nFunction A()\r\nPrivate Function B()", u""},
      {u"\r\nFunction A()\r\n' Function B()", u"A"},
      {u"\r\nFunction A()\r\nx = yFunction (2)", u"A"},
  };
  for (const auto& [content, name] : cases) {
    SCOPED_TRACE(toUtf8(content));
    auto p = makeRef<AGParser>();
    p->Parse(u"<!--##" + content + u"##-->");
    ASSERT_EQ(p->Count(), 1);
    EXPECT_EQ(p->BlockType(), kBlockCode);
    EXPECT_EQ(toUtf8(p->BlockName()), toUtf8(name));
  }
}

std::u16string numberedLines(int count) {
  std::u16string text;
  for (int i = 1; i <= count; ++i) text += u"line" + toU16(i) + u"\r\n";
  return text;
}

struct ErrorCase {
  std::u16string source;
  std::u16string message;
  std::u16string blocks;  // what stays parsed
};

TEST(TemplateParserTest, MalformedMarkersNameTheirLineAndColumn) {
  const std::u16string header = u"! Generation failed!\r\nError lines:";
  std::u16string last11;
  for (int i = 20; i <= 29; ++i) last11 += u"\r\nline" + toU16(i);
  const std::vector<ErrorCase> cases = {
      {u"x\r\ny<!--##=a<!--##=b##-->",
       u"***Nested Blocks found at line 2 column 10" + header + u"\r\nx\r\ny<!--##=a<",
       u"6@1+4'' #1"},
      {u"<!--##=a", u"***Incomplete Block at line 1 column 1" + header + u"\r\n<", u"#0"},
      {u"ab\r\n\r\n  <!--## x",
       u"***Incomplete Block at line 3 column 3" + header + u"\r\nab\r\n\r\n  <", u"6@1+8'' #1"},
      {u"<!--##=a##-->x<!--##",
       u"***Incomplete Block at line 1 column 15" + header + u"\r\n<!--##=a##-->x<",
       u"2@8+1'a' 6@14+1'' #2"},
      // A lone line feed is no line break here.
      {u"a\nb<!--##", u"***Incomplete Block at line 1 column 4" + header + u"\r\na\nb<",
       u"6@1+3'' #1"},
      // Eleven lines are listed, the last ending at the marker.
      {numberedLines(29) + u"ab<!--##=",
       u"***Incomplete Block at line 30 column 3" + header + last11 + u"\r\nab<",
       u"6@1+" + toU16(static_cast<long long>(numberedLines(29).size()) + 2) + u"'' #1"},
      // Expression blocks without an expression.
      {u"a\r\nb<!--##=  ##-->", u"***Empty Block at line 2 column 2" + header + u"\r\na\r\nb<",
       u"6@1+4'' #1"},
      {u"<!--##~\t\r\n##-->", u"***Empty Block at line 1 column 1" + header + u"\r\n<", u"#0"},
      {u"<!--##=x##--><!--##$##-->",
       u"***Empty Block at line 1 column 14" + header + u"\r\n<!--##=x##--><", u"2@8+1'x' #1"},
      {u"l1\r\nl2\r\n<!--##=<!--##=##-->",
       u"***Nested Blocks found at line 3 column 8" + header + u"\r\nl1\r\nl2\r\n<!--##=<",
       u"6@1+8'' #1"},
  };
  auto backend = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(backend);
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(toUtf8(c.source).substr(0, 60));
    backend->clearEvents();
    projectContext().lastErrorText = u"earlier text";
    auto p = makeRef<AGParser>();
    p->Parse(c.source);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), toUtf8(c.message));
    EXPECT_EQ(toUtf8(blocksOf(*p)), toUtf8(c.blocks));
    const auto asked = backend->events(ui::RecordingBackend::Event::Kind::Asked);
    if (c.message.starts_with(u"***Nested")) {
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_EQ(asked[0].question.text, u"Nested Block: " + c.source);
    } else {
      EXPECT_TRUE(asked.empty());
    }
  }
  ui::setBackendForTesting(nullptr);
  projectContext().lastErrorText.clear();
}

TEST(TemplateParserTest, CursorThroughTheMemberTable) {
  registerTemplateClasses(ClassFactory::instance());
  Ref<Object> p = ClassFactory::instance().create(u"vantorel4.AGParser");
  EXPECT_EQ(toString(p->get(u"BlockValue")), u"");
  p->call(u"Parse", {Variant(u"a<!--## code ##-->b<!--##=x##-->")});
  EXPECT_EQ(toLong(p->get(u"Count")), 4);
  EXPECT_EQ(toLong(p->get(u"BlockID")), 4);
  const std::vector<std::pair<std::int32_t, std::u16string>> walk = {
      {1, u"6:a"}, {2, u"1: code "}, {3, u"6:b"}, {4, u"2:x"}};
  for (const auto& [id, expected] : walk) {
    p->let(u"BlockID", Variant(id));
    EXPECT_EQ(toString(p->get(u"BlockType")) + u":" + toString(p->get(u"BlockValue")), expected);
  }
  for (const std::int32_t ignored : {0, 5, -1}) {
    p->let(u"BlockID", Variant(ignored));
    EXPECT_EQ(toLong(p->get(u"BlockID")), 4);
  }
  p->call(u"Parse", {Variant(u"")});
  EXPECT_EQ(toLong(p->get(u"Count")), 0);
  EXPECT_EQ(toLong(p->get(u"BlockID")), 0);
  EXPECT_EQ(toLong(p->get(u"BlockType")), 0);
}

TEST(TemplateParserTest, LongLinesOfFunctionLikeWordsStayLinear) {
  // Each "xFunction " sends the name search back along the same long line.
  std::u16string content = u"\r\n";
  for (int i = 0; i < 200000; ++i) content += u"xFunction ";
  auto p = makeRef<AGParser>();
  p->Parse(u"<!--##" + content + u"##-->");
  EXPECT_EQ(p->Count(), 1);
  EXPECT_EQ(p->BlockName(), u"");
}

}  // namespace
}  // namespace vantorel
