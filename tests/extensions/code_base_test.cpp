// The code base: its file format, the keys' case rule, line ends, a bad file keeping the last
// good snippets, the project object's functions, and fuzzed files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "agp/agp.hpp"
#include "extensions/code_base.hpp"
#include "extensions/script_functions.hpp"
#include "foundation/c_registry.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/text/unicode.hpp"
#include "support/random_edits.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

std::string root(const std::string& body) {
  return "<?xml version=\"1.0\"?>\n<Vantorel.CodeBase>" + body + "</Vantorel.CodeBase>";
}

class CodeBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { projectContext().codeBase = nullptr; }
  std::u16string write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = dir_.path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return fromUtf8(path.string());
  }
  test::TempDir dir_;
};

TEST_F(CodeBaseTest, ReadsSnippetsByTheirKeys) {
  const CodeBaseRead read = ReadCodeBase(root(
      "<code scripttype=\"VB\" codetype=\"Table\" name=\"Header\"><![CDATA[one]]></code>"
      "<other/><!-- note -->"
      "<code SCRIPTTYPE=\"vb\" codetype=\"table\" NAME=\"header\"><![CDATA[two]]></code>"
      "<code scripttype=\"JS\" codetype=\"Field\" name=\"Lines\"><![CDATA[a\nb\r\nc]]></code>"));
  ASSERT_EQ(read.error, u"") << toUtf8(read.detail);
  ASSERT_EQ(read.snippets.size(), 2u);
  // The later text in the earlier place, under the earlier keys.
  EXPECT_EQ(read.snippets[0].scriptType, u"VB");
  EXPECT_EQ(read.snippets[0].codeName, u"Header");
  EXPECT_EQ(read.snippets[0].source, u"two");
  EXPECT_EQ(read.snippets[1].source, u"a\nb\nc");
}

TEST_F(CodeBaseTest, ABadFileKeepsTheLastGoodSnippets) {
  AGPCodeBase& base = SharedCodeBase();
  EXPECT_FALSE(base.CodeExist(u"VB", u"Table", u"Header"));
  // Pretty-printed: blank text around the CDATA section is layout.
  ASSERT_TRUE(base.Load(write("good.xml", root("\n  <code scripttype=\"VB\" codetype=\"Table\" "
                                               "name=\"Header\">\n    <![CDATA[x\ny]]>\n  "
                                               "</code>\n"))));
  EXPECT_TRUE(base.CodeExist(u"vb", u"TABLE", u"header"));
  EXPECT_EQ(base.CodeSource(u"VB", u"Table", u"Header"), u"x\r\ny");
  EXPECT_EQ(base.CodeSource(u"VB", u"Table", u"Footer"), u"");

  struct Case {
    const char* name;
    std::string text;
    const char16_t* error;
  };
  const Case cases[] = {
      {"missing.xml", "", u"Load code base file failed!"},
      {"broken.xml", "<Vantorel.codebase><code>", u"Load code base file failed!"},
      {"wrong-root.xml", "<Vantorel.codebase2/>", u"Code base file is invalid!"},
      {"element.xml", root("<code name=\"A\"><b/></code>"), u"Code base file is invalid!"},
  };
  for (const Case& c : cases) {
    const std::u16string path =
        c.text.empty() ? fromUtf8((dir_.path() / c.name).string()) : write(c.name, c.text);
    EXPECT_FALSE(base.Load(path)) << c.name;
    EXPECT_EQ(base.loadErrorText(), c.error) << c.name;
    EXPECT_EQ(base.CodeSource(u"VB", u"Table", u"Header"), u"x\r\ny") << c.name;
  }
  // Plain text is the code as a CDATA section is; blank text beside a section is layout.
  ASSERT_TRUE(base.Load(write("plain.xml", root("<code scripttype=\"a\" codetype=\"b\" name=\"c\">"
                                                "x &lt; 1\ny</code><code scripttype=\"a\" "
                                                "codetype=\"b\" name=\"d\">\n <![CDATA[z]]>\n"
                                                "</code>"))));
  EXPECT_EQ(base.CodeSource(u"a", u"b", u"c"), u"x < 1\r\ny");
  EXPECT_EQ(base.CodeSource(u"a", u"b", u"d"), u"z");
  // An element without content has the empty text.
  ASSERT_TRUE(base.Load(write("empty.xml", root("<code scripttype=\"a\" codetype=\"b\" "
                                                "name=\"c\"/>"))));
  EXPECT_TRUE(base.CodeExist(u"a", u"b", u"c"));
  EXPECT_EQ(base.Count(), 1);
}

// The code base the machine defaults name is shipped, empty, so that generation finds it.
TEST_F(CodeBaseTest, TheShippedCodeBaseLoads) {
  const std::filesystem::path shipped =
      std::filesystem::path(VANTOREL_TEST_DATA).parent_path().parent_path() / "data" /
      "codebase.xml";
  AGPCodeBase& base = SharedCodeBase();
  EXPECT_TRUE(base.Load(fromUtf8(shipped.string()))) << toUtf8(base.loadErrorText());
  EXPECT_EQ(base.Count(), 0);
}

TEST_F(CodeBaseTest, CustomScriptCodeLoadsTheUsersFile) {
  Ref<AGP> proj = makeRef<AGP>();
  cRegistry registry;
  registry.ClassKey(kHkeyCurrentUser);
  registry.SectionKey(projectContext().generalKey);
  registry.ValueKey(u"CodeBase");
  try {
    registry.DeleteValue();
  } catch (const AutomationError&) {
  }

  projectContext().lastErrorText = u"old";
  EXPECT_EQ(LoadCustomScriptCode(*proj, u"VB", u"Table", u"Header", u"", u"", u""), u"");
  EXPECT_EQ(projectContext().lastErrorText, u"");

  registry.ValueType(kRegSz);
  registry.Value(Variant(write("base.xml", root("<code scripttype=\"VB\" codetype=\"Table\" "
                                                "name=\"Header\"><![CDATA[<head>\n</head>]]>"
                                                "</code>"))));
  const std::u16string code =
      LoadCustomScriptCode(*proj, u"VB", u"Table", u"Header", u"list", u"Orders", u"");
  EXPECT_NE(code.find(u"</head>"), std::u16string::npos);
  EXPECT_TRUE(CodeBaseExist(*proj, u"vb", u"table", u"HEADER"));
  EXPECT_EQ(LoadCodeBase(*proj, u"VB", u"Table", u"Nothing"), u"");
}

// Random damage to a good file never raises, and a file that is refused leaves the snippets.
TEST_F(CodeBaseTest, FuzzedFilesNeverRaise) {
  const std::string good = root(
      "<code scripttype=\"VB\" codetype=\"Table\" name=\"A\"><![CDATA[x]]></code>"
      "<code scripttype=\"VB\" codetype=\"Field\" name=\"B\"><![CDATA[y]]></code>");
  std::mt19937 random(15);
  for (int round = 0; round < 400; ++round) {
    const std::string text = test::randomlyEdited(good, random, "<>&\"]![/x", 5);
    CodeBaseRead read;
    EXPECT_NO_THROW(read = ReadCodeBase(text)) << text;
    if (!read.error.empty()) {
      EXPECT_TRUE(read.snippets.empty()) << text;
    }
  }
}

}  // namespace
}  // namespace vantorel
