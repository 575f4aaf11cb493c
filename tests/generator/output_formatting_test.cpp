#include "generator/output_formatting.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "foundation/product.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

TEST(OutputFormattingTest, CompactsLinesAndSetsBlocksApart) {
  struct Case {
    std::u16string ext, text, expected;
  };
  const std::vector<Case> cases = {
      {u"asp", u"a\r\n\r\nb", u"a\r\nb\r\n"},
      {u"asp", u"a\r\nb\r\nc", u"a\r\nb\r\nc\r\n"},
      {u"asp", u"a\r\n \t \r\nb\r\n", u"a\r\nb\r\n"},
      // A lone LF is part of its line.
      {u"asp", u"a\nb\rc", u"a\nb\r\nc\r\n"},
      {u"asp", u"<%\r\nx = 1\r\nFunction F()\r\n", u"<%\r\nx = 1\r\n\r\nFunction F()\r\n"},
      {u"asp", u"<%\r\n' about F\r\nFunction F()\r\n", u"<%\r\n\r\n' about F\r\nFunction F()\r\n"},
      {u"asp", u"<%\r\nx = 1\r\n' one\r\n' two\r\ny = 2\r\n%>",
       u"<%\r\nx = 1\r\n\r\n' one\r\n' two\r\n\r\ny = 2\r\n%>\r\n"},
      // One comment line sets nothing apart after it.
      {u"asp", u"<%\r\n' one\r\ny = 2\r\n", u"<%\r\n\r\n' one\r\ny = 2\r\n"},
      {u"asp", u"<%\r\n  private sub S\r\n", u"<%\r\n\r\n  private sub S\r\n"},
      // Outside ASP code nothing is a comment or a declaration.
      {u"asp", u"<% x %>\r\n' text\r\nFunction text\r\n",
       u"<% x %>\r\n' text\r\nFunction text\r\n"},
      // The last mark on a line decides: "%>" before "<%" opens code, "<%>" or a "%" alone
      // changes nothing.
      {u"asp", u"x %> 50% <% y\r\n' c\r\n", u"x %> 50% <% y\r\n\r\n' c\r\n"},
      {u"asp", u"<%>\r\n' c\r\n100%\r\n' d\r\n", u"<%>\r\n' c\r\n100%\r\n' d\r\n"},
      {u"js", u"/* a */\r\n/* b */\r\nx();", u"/* a */\r\n\r\n/* b */\r\nx();\r\n"},
      {u"js", u"x();\r\n// a\r\n// b\r\ny();", u"x();\r\n\r\n// a\r\n// b\r\n\r\ny();\r\n"},
      {u"JS", u"x();\r\n// a", u"x();\r\n// a\r\n"},
      {u"asp", u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf8(FormatGeneratedOutput(c.ext, c.text)), toUtf8(c.expected)) << toUtf8(c.text);
  }
}

TEST(OutputFormattingTest, StampsEveryHead) {
  const std::u16string tag = u"<meta name=\"generator\" content=\"" +
                             projectContext().productTitle + u" v" + fullVersion() + u"\" />\r\n";
  EXPECT_EQ(toUtf8(FormatGeneratedOutput(u"asp", u"<HEAD></HEAD>\r\n<x></Head>")),
            toUtf8(u"<HEAD>" + tag + u"</head>\r\n<x>" + tag + u"</head>\r\n"));
  // Near misses and a close tag right after another "</" are found or left as they are.
  EXPECT_EQ(toUtf8(FormatGeneratedOutput(u"asp", u"<</</hEaD></hea</ head></head")),
            toUtf8(u"<</" + tag + u"</head></hea</ head></head\r\n"));
  EXPECT_EQ(toUtf8(FormatGeneratedOutput(u"asp", u"no head here")), "no head here\r\n");
}

TEST(OutputFormattingTest, TrimsLeadingBlankLines) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"\r\n\r\n  x\r\ny", u"  x\r\ny"},
      {u"x", u"x"},
      {u"\t\n x", u" x"},
      {u" \r\n \t", u" \t"},
      {u"", u""},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(toUtf8(TrimLeadingBlankLines(text)), toUtf8(expected)) << toUtf8(text);
  }
}

}  // namespace
}  // namespace vantorel::test
