#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "foundation/string_builder.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "support/test_files.hpp"
#include "templates/script_host.hpp"
#include "templates/script_host_support.hpp"
#include "templates/script_translation.hpp"

namespace vantorel {
namespace {

using test::ScriptHostTest;

TEST(SystemSourceTranslationTest, EachBlockKindBecomesOneLine) {
  struct Case {
    std::u16string source;
    bool multiline;
    bool indent;
    std::u16string function;
    std::string lines;
  };
  const std::vector<Case> cases = {
      {u"a", false, false, u"F", "F = F & \"a\"\r\n"},
      {u"<!--##@ Title ##-->", false, false, u"F", "F = F & Language.Phrase(\"Title\")\r\n"},
      {u"<!--##$ key ##-->", false, false, u"F", "F = F & Language.Phrase(key)\r\n"},
      {u"<!--##= x + 1 ##-->", false, false, u"F", "F = F & x + 1\r\n"},
      {u"<!--## If x Then ##-->", false, false, u"F", " If x Then \r\n"},
      {u"l1\r\nl2", false, false, u"F", "F = F & \"l1l2\"\r\n"},
      {u"l1\r\nl2", true, false, u"F", "F = F & \"l1\"&vbCrLf&\"l2\"\r\n"},
      {u"l1\r\nl2", true, true, u"F", "F = F & \"l1\"&vbCrLf&zt_IndentWrk&\"l2\"\r\n"},
      {u"  <!--##~ v ##-->", false, false, u"F",
       "F = F & \"  \"\r\nzt_IndentWrk = \"  \"\r\nF = F & zt_IndentWrk & v\r\n"},
      // Class-level code: a text block is the expression alone.
      {u"<!--##Dim gCount##-->\r\n", false, false, u"", "Dim gCount\r\n"},
      {u"\r\n", false, false, u"F", ""},
  };
  for (const Case& c : cases) {
    std::u16string out;
    EXPECT_EQ(templates::translateSystemSource(c.source, c.multiline, c.indent, c.function, out),
              std::nullopt);
    EXPECT_EQ(toUtf8(out), c.lines) << toUtf8(c.source);
  }
}

TEST(SystemSourceTranslationTest, WrappingPutsPrefixSuffixAndTheOverrideLine) {
  EXPECT_EQ(toUtf8(templates::wrapSystemFunction(u"F", u"x", u"F = F & \"a\"\r\n",
                                                 u"' <name>(<parm>)\r\n", u"\r\n", false)),
            "\r\n' F\r\nFunction F(x)\r\n' F(x)\r\nF = F & \"a\"\r\n\r\nEnd Function\r\n");
  EXPECT_EQ(toUtf8(templates::wrapSystemFunction(u"F", u"", u"", u"", u"'end\r\n", true)),
            "\r\n' F\r\nFunction F()\r\n'end\r\n\r\n"
            "If SCRPT.UserModuleExist(\"USER_F\") Then F=USER_F(F)\r\nEnd Function\r\n");
}

TEST(TemplateTextTranslationTest, BlocksBecomeArrayLinesAndOutputStatements) {
  struct Case {
    std::u16string text;
    std::string arrays;
    std::string body;
  };
  const std::vector<Case> cases = {
      {u"a\r\n", "ztAr(1) = \"a\"&vbCrLf&\"\"\r\n", "ztSB.Append(ztAr(1))\r\n"},
      {u"<!--##=  x  ##-->", "", "ztSB.Append(x)\r\n"},
      {u"say \"hi\"", "ztAr(1) = \"say \"\"hi\"\"\"\r\n", "ztSB.Append(ztAr(1))\r\n"},
      {u"<!--##=SYSTEMFUNCTIONS.IncludeFile(\"v\",\"p\")##-->\r\n",
       "ztAr(1) = \"\"&vbCrLf&\"\"\r\n",
       "ztSB.Append(SYSTEMFUNCTIONS.IncludeFile(\"v\",\"p\"))\r\nztSB.Append(ztAr(1))\r\n"},
      {u"<!--##@Title##--><!--##$k##-->", "",
       "ztSB.Append(\"<%= ReportLanguage.Phrase(\"\"Title\"\") %>\")\r\n"
       "ztSB.Append(\"<%= ReportLanguage.Phrase(\"\"\" & k & \"\"\") %>\")\r\n"},
      {u"\t<!--##~v##-->", "ztAr(1) = \"\t\"\r\n",
       "ztSB.Append(ztAr(1))\r\nzt_IndentWrk = \"\t\"\r\nztSB.Append(zt_IndentWrk)\r\n"
       "ztSB.Append(v)\r\n"},
      {u"<!--## If x Then ##-->", "", " If x Then \r\n"},
  };
  for (const Case& c : cases) {
    Ref<AGPStringBuilder> arrays = makeRef<AGPStringBuilder>();
    Ref<AGPStringBuilder> body = makeRef<AGPStringBuilder>();
    std::int32_t count = 0;
    EXPECT_EQ(templates::translateTemplateText(c.text, *arrays, *body, count), std::nullopt);
    EXPECT_EQ(toUtf8(toString(arrays->toString())), c.arrays) << toUtf8(c.text);
    EXPECT_EQ(toUtf8(toString(body->toString())), c.body) << toUtf8(c.text);
  }
  // A malformed text appends nothing and returns the parser's message.
  projectContext().lastErrorText = u"earlier";
  Ref<AGPStringBuilder> arrays = makeRef<AGPStringBuilder>();
  std::int32_t count = 0;
  const auto error = templates::translateTemplateText(u"x<!--##=a", *arrays, *arrays, count);
  ASSERT_TRUE(error);
  EXPECT_EQ(toUtf8(error->message.substr(0, 31)), "***Incomplete Block at line 1 c");
  EXPECT_EQ(toUtf8(toString(arrays->toString())), "");
  projectContext().lastErrorText.clear();
}

class SystemCodeTest : public ScriptHostTest {
 protected:
  std::filesystem::path site() const { return dir_.path() / "site"; }
  std::string siteFile(const std::string& name) const { return test::readFile(site() / name); }
  void useList(const std::string& entries, bool withAffixes = true) {
    setGeneral(u"SYSCODE", writeFile("sys/list.xml", "<syscode>" + entries + "</syscode>"));
    if (withAffixes) {
      setGeneral(u"SYSCODEPREFIX", writeFile("sys/prefix.vbs", "\r\n"));
      setGeneral(u"SYSCODESUFFIX", writeFile("sys/suffix.vbs", "\r\n"));
    }
  }
};

TEST_F(SystemCodeTest, AListFileBecomesTheClassOfSystemFunctions) {
  writeFile("sys/f.tpl", "a");
  writeFile("sys/g.tpl", "<!--##@Title##-->");
  writeFile("sys/shared.tpl", "<!--##Dim gShared##-->");
  useList(
      "<file value='shared.tpl' function='false'/>"
      "<FILE value='f.tpl' function='true' id=' F ' parm=' x ' override='true'/>"
      "<file value='' function='true' id='Skipped'/><other value='g.tpl'/>");
  Ref<AGScript> host = initializedHost();
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_EQ(siteFile("syscode.txt"),
            "\xEF\xBB\xBF"
            "Dim gShared\r\nClass cSystemFunctions\r\n\r\n' F\r\nFunction F(x)\r\n\r\n"
            "F = F & \"a\"\r\n\r\n\r\nIf SCRPT.UserModuleExist(\"USER_F\") Then F=USER_F(F)\r\n"
            "End Function\r\nEnd Class");
  EXPECT_EQ(
      toUtf8(host->BuildNewCode(
          u"ztT", u"Function ztT()\r\nztT = (New cSystemFunctions).F(1)\r\nEnd Function", 0, 1000)),
      "a");
}

TEST_F(SystemCodeTest, FailuresStopTheLoadingWithTheSourceNamedAndLeaveDiagnostics) {
  writeFile("sys/ok.tpl", "ok");
  writeFile("sys/nested.tpl", "<!--##=a<!--##=b##-->");
  writeFile("nested.tpl", "<!--##=a<!--##=b##-->");
  writeFile("sys/broken.tpl", "<!--##If##-->");
  struct Case {
    std::string entries;
    std::string error;       // the start of LastErrorText
    std::string diagnostic;  // the file written for the failing source
    std::string diagnosticStart;
    std::string sysCode;  // syscode.txt, "-" when not written
  };
  const std::string ok = "<file value='ok.tpl' function='true' id='Ok'/>";
  const std::vector<Case> cases = {
      {ok + "<file value='nested.tpl' function='true' id='N'/>",
       "nested.tpl: ***Nested Blocks found at line 1 column 9! Generation failed!\r\nError lines:",
       "nested.tpl", "\xEF\xBB\xBF\r\n' N\r\nFunction N()\r\n\r\n<!--##=a<!--##=b##-->", "-"},
      // A value that climbs out of the output folder still writes inside it.
      {"<file value='..\\nested.tpl' function='false'/>", "..\\nested.tpl: ***Nested", "nested.tpl",
       "\xEF\xBB\xBF<!--##=a", "-"},
      {ok + "<file value='broken.tpl' function='false'/>",
       "Vantorel (broken.tpl): Microsoft VBScript compilation error", "broken.tpl",
       "\xEF\xBB\xBFIf\r\n",
       "\xEF\xBB\xBF\r\n' Ok\r\nFunction Ok()\r\n\r\nOk = Ok & \"ok\"\r\n\r\nEnd Function\r\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(site());
    std::filesystem::create_directories(site());
    projectContext().lastErrorText.clear();
    useList(c.entries);
    Ref<AGScript> host = initializedHost();
    EXPECT_EQ(toUtf8(projectContext().lastErrorText.substr(0, c.error.size())), c.error);
    EXPECT_EQ(siteFile(c.diagnostic).substr(0, c.diagnosticStart.size()), c.diagnosticStart);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "nested.tpl"));
    EXPECT_EQ(std::filesystem::exists(site() / "syscode.txt") ? siteFile("syscode.txt") : "-",
              c.sysCode);
    EXPECT_FALSE(host->ModuleExist(u"Ok"));
  }
}

TEST_F(SystemCodeTest, MissingAffixesListFilesAndBuiltInCode) {
  writeFile("sys/ok.tpl", "ok");
  useList("<file value='ok.tpl' function='true' id='Ok'/>", false);
  Ref<AGScript> host = initializedHost();
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_EQ(siteFile("syscode.txt"), "\xEF\xBB\xBF'missing syscodeprefix or syscodesuffix");

  const std::u16string notXml = writeFile("sys/bad.xml", "<syscode>");
  setGeneral(u"SYSCODE", notXml);
  initializedHost();
  EXPECT_EQ(toUtf8(projectContext().lastErrorText),
            toUtf8(u"Load syscode file " + notXml + u" failed!"));

  // No list file: the built-in code, and no syscode.txt.
  projectContext().lastErrorText.clear();
  std::filesystem::remove(site() / "syscode.txt");
  setGeneral(u"SYSCODE", u"");
  host = initializedHost();
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_TRUE(host->ModuleExist(u"zt_LoadCurrent"));
  EXPECT_FALSE(std::filesystem::exists(site() / "syscode.txt"));
}

TEST_F(SystemCodeTest, ValidationRunsItsProceduresInOrderUntilOneFails) {
  const std::string v1 =
      "Function V1()\r\nV1 = True\r\nEnd Function\r\n"
      "Function V2()\r\nV2 = PROJ.GetV(\"Check2\")\r\n"
      "If PROJ.GetV(\"Own\") <> \"\" Then PROJ.ProjErr = PROJ.GetV(\"Own\")\r\n"
      "If PROJ.GetV(\"Divide\") Then V2 = 1 / 0\r\nEnd Function\r\n";
  const std::string v3 =
      "Function V3()\r\nPROJ.SetV \"Ran3\", \"yes\"\r\nV3 = True\r\nEnd Function";
  writeFile("val/v1.vbs", v1);
  writeFile("val/v3.vbs", v3);
  setGeneral(u"VALIDATECODE",
             writeFile("val/list.xml",
                       "<v><file value='v1.vbs'/><file value=''/><File value='v3.vbs'/></v>"));
  struct Case {
    bool check2;
    std::u16string own;
    bool divide;
    bool passed;
    std::string error;
    const char* ran3;
  };
  const std::vector<Case> cases = {
      {true, u"", false, true, "", "yes"},
      {false, u"", false, false, "Vantorel: Validation module (V2) failed", ""},
      {false, u"Tables missing", false, false, "Tables missing", ""},
      {true, u"", true, false,
       "Vantorel (V2): Microsoft VBScript runtime error (11), line 7, column 29\r\n"
       "Description: Division by zero\r\n",
       ""},
  };
  for (const Case& c : cases) {
    projectContext().lastErrorText.clear();
    project_->SetV(u"Check2", Variant(c.check2));
    project_->SetV(u"Own", Variant(c.own));
    project_->SetV(u"Divide", Variant(c.divide));
    project_->SetV(u"Ran3", Variant(u""));
    Ref<AGScript> host = initializedHost();
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    EXPECT_EQ(host->validationProcedures(), (std::vector<std::u16string>{u"V1", u"V2", u"V3"}));
    EXPECT_EQ(host->Validate(), c.passed);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), c.error);
    EXPECT_EQ(toUtf8(toString(project_->GetV(u"Ran3"))), c.ran3);
  }
  EXPECT_EQ(siteFile("validatecode.txt"), "\xEF\xBB\xBF\r\n" + v1 + "\r\n" + v3);

  // An empty list passes.
  projectContext().lastErrorText.clear();
  setGeneral(u"VALIDATECODE", writeFile("val/empty.xml", "<v/>"));
  Ref<AGScript> host = initializedHost();
  EXPECT_TRUE(host->validationProcedures().empty());
  EXPECT_TRUE(host->Validate());
  setGeneral(u"VALIDATECODE", writeFile("val/bad.xml", "not xml"));
  initializedHost();
  EXPECT_EQ(toUtf8(projectContext().lastErrorText.substr(0, 19)), "Load validate file ");
}

}  // namespace
}  // namespace vantorel
