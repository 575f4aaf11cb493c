#include "generator/template_compiler.hpp"
#include "foundation/project_context.hpp"

#include <vector>

#include "generation_fixture.hpp"
#include "generator/template_loading.hpp"
#include "platform/automation/automation_error.hpp"
#include "support/failure_text.hpp"
#include "support/test_files.hpp"
#include "templates/control_session.hpp"

namespace vantorel::test {
namespace {

const std::string kFrameTop =
    "Function ztExpage()\r\n"
    "If bHandleTemplateError Then On Error Resume Next\r\n";
const std::string kFrameSetup =
    "Dim ztSB\r\n"
    "Set ztSB = New StringBuilder\r\n"
    "Call zt_SetLocale()\r\n"
    "Dim SYSTEMFUNCTIONS\r\n"
    "Set SYSTEMFUNCTIONS = New cSystemFunctions\r\n"
    "Call zt_LoadCurrent()\r\n";
const std::string kFrameEnd =
    "ztExpage = ztSB.ToString()\r\n"
    "Set SYSTEMFUNCTIONS = Nothing\r\n"
    "End Function\r\n";

Ref<AGPSession> session(std::u16string type, std::u16string value, std::u16string cond = {},
                        std::u16string parm = {}, std::u16string file = {}) {
  Ref<AGPSession> s = makeRef<AGPSession>();
  s->fields() = {
      .SessType = type, .SessValue = value, .SessParm = parm, .SessIFile = file, .SessCond = cond};
  return s;
}

class TemplateCompilerTest : public GenerationFixture {
 protected:
  std::string compile(const Ref<AGPControl>& control) {
    const std::u16string out = u16(dir_.path() / "cache" / "page.tpl");
    BuildTemplateScript(run(), *control, out);
    return test::readFile(dir_.path() / "cache" / "page.tpl");
  }
};

TEST_F(TemplateCompilerTest, TranslatesEachBlockKind) {
  struct Case {
    std::u16string text;
    std::string arrayLines, bodyLines;
  };
  const std::vector<Case> cases = {
      {u"a\r\n", "ztAr(1) = \"a\"&vbCrLf&\"\"\r\n", "ztSB.Append(ztAr(1))\r\n"},
      {u"say \"hi\"", "ztAr(1) = \"say \"\"hi\"\"\"\r\n", "ztSB.Append(ztAr(1))\r\n"},
      {u"<!--##= x ##-->", "", "ztSB.Append(x)\r\n"},
      {u"<!--## If a Then b ##-->", "", " If a Then b \r\n"},
      {u"  <!--##~y##-->", "ztAr(1) = \"  \"\r\n",
       "ztSB.Append(ztAr(1))\r\nzt_IndentWrk = \"  \"\r\nztSB.Append(zt_IndentWrk)\r\n"
       "ztSB.Append(y)\r\n"},
      {u"<!--##@Save##-->", "", "ztSB.Append(\"<%= ReportLanguage.Phrase(\"\"Save\"\") %>\")\r\n"},
      {u"<!--##$k##-->", "",
       "ztSB.Append(\"<%= ReportLanguage.Phrase(\"\"\" & k & \"\"\") %>\")\r\n"},
  };
  for (const Case& c : cases) {
    run().compileState.reset();
    EXPECT_TRUE(ParseToScript(run().compileState, c.text).ok()) << u8(c.text);
    EXPECT_EQ(u8(run().compileState.arrayText()), c.arrayLines) << u8(c.text);
    EXPECT_EQ(u8(run().compileState.bodyText()), c.bodyLines) << u8(c.text);
  }
}

TEST_F(TemplateCompilerTest, CompilesAControlWithoutSessions) {
  test::writeFile(tplPath("page.htm"), "a\r\n");
  EXPECT_EQ(compile(makeControl(u"page", u"other", u"page", u"*", u"page.htm")),
            kFrameTop + "Dim ztAr(1)\r\n" + kFrameSetup +
                "ztAr(1) = \"a\"&vbCrLf&\"\"\r\n\r\n"
                "ztSB.Append(ztAr(1))\r\n\r\n" +
                kFrameEnd);
}

TEST_F(TemplateCompilerTest, CompilesSessionsWhoseConditionsHold) {
  test::writeFile(tplPath("page.htm"),
                  "<!--##session head##-->H<!--##/session##--><!--##session body##-->"
                  "<!--##=TABLE.TblName##--><!--##/session##-->");
  Ref<AGPControl> control = makeControl(u"page", u"table", u"page", u"*", u"page.htm");
  control->Sessions()->AddSession(session(u"key", u"head"), u"", u"");
  control->Sessions()->AddSession(session(u"include", u"v", u"", u"p"), u"", u"");
  control->Sessions()->AddSession(session(u"key", u"body", u"ctrl/ctrlid/eq/other"), u"", u"");
  control->Sessions()->AddSession(session(u"note", u"n"), u"", u"");
  LoadCtrlTplFiles(*run().fileCache, *control);
  run().compileProgressTotal = 10;
  EXPECT_EQ(compile(control), kFrameTop + "Dim ztAr(2)\r\n" + kFrameSetup +
                                  "ztAr(1) = \"H\"\r\n"
                                  "ztAr(2) = \"\"&vbCrLf&\"\"\r\n\r\n"
                                  "ztSB.Append(ztAr(1))\r\n"
                                  "ztSB.Append(SYSTEMFUNCTIONS.IncludeFile(\"v\",\"p\"))\r\n"
                                  "ztSB.Append(ztAr(2))\r\n\r\n" +
                                  kFrameEnd);
  // The session whose condition fails is not counted; the one without text is.
  EXPECT_EQ(run().compileProgressCount, 3);
}

TEST_F(TemplateCompilerTest, MarksAndTimesSessionsWhenAsked) {
  setGeneral(u"ShowSession", u"True");
  setGeneral(u"ShowSessionTime", u"1");
  test::writeFile(tplPath("page.htm"), "");
  Ref<AGPControl> control = makeControl(u"page", u"table", u"page", u"*", u"page.htm");
  control->Sessions()->AddSession(session(u"note", u"n"), u"", u"");
  const std::string text = compile(control);
  EXPECT_NE(text.find("If bHandleTemplateError Then On Error Resume Next\r\n"
                      "Dim ztStartTime, ztStopTime\r\nztStartTime = Timer\r\nDim ztAr(0)\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("' *** Start Session n (note, "), std::string::npos);
  EXPECT_NE(text.find("' *** End Session n (note, "), std::string::npos);
  EXPECT_NE(text.find(")\r\nztStopTime = Timer\r\nztSB.Append(\"*** n: \" & "
                      "(ztStopTime-ztStartTime) & \" ms\")\r\n"),
            std::string::npos);
}

TEST_F(TemplateCompilerTest, NoSessionHoldingGivesAnEmptyFrame) {
  test::writeFile(tplPath("page.htm"), "ignored");
  Ref<AGPControl> control = makeControl(u"page", u"table", u"page", u"*", u"page.htm");
  control->Sessions()->AddSession(session(u"key", u"x", u"proj/Nothing/eq/1"), u"", u"");
  EXPECT_EQ(compile(control), kFrameTop + "Dim ztAr(0)\r\n" + kFrameSetup + "\r\n\r\n" + kFrameEnd);
}

TEST_F(TemplateCompilerTest, MergesListedInputFiles) {
  test::writeFile(tplPath("a.htm"), "A");
  test::writeFile(tplPath("b.htm"), "B");
  EXPECT_EQ(u8(WriteTempTemplate(u"a.htm", u"")), u8(u16(tplPath("a.htm"))));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "cache" / "~tmp.tpl"));
  const std::u16string merged = WriteTempTemplate(u"a.htm,missing.htm,b.htm,../a.htm", u"");
  EXPECT_EQ(u8(merged), u8(u16(dir_.path() / "cache" / "~tmp.tpl")));
  EXPECT_EQ(test::readFile(dir_.path() / "cache" / "~tmp.tpl"), "AB");
  EXPECT_EQ(u8(projectContext().currentSourceFolder), u8(projectContext().templateFolder));
  // An input file outside the template folder is never read.
  EXPECT_EQ(u8(WriteTempTemplate(u"../a.htm", u"")), "");
}

TEST_F(TemplateCompilerTest, FailuresEndTheRunWithTheirMessage) {
  Ref<AGPControl> missing = makeControl(u"page", u"table", u"page", u"*", u"none.htm");
  missing->Sessions()->AddSession(session(u"include", u"v"), u"", u"");
  EXPECT_EQ(u8(stopMessage([&] { compile(missing); })),
            "Error in merging none.htm. Generation aborted.");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "cache" / "page.tpl"));

  test::writeFile(tplPath("bad.htm"), "x<!--##= y");
  const std::u16string message =
      stopMessage([&] { compile(makeControl(u"page", u"table", u"page", u"*", u"bad.htm")); });
  EXPECT_EQ(message.rfind(u16(tplPath("bad.htm")) + u": ", 0), 0u) << u8(message);
  EXPECT_EQ(test::readFile(dir_.path() / "cache" / "page.tpl").rfind("x<!--##= y", 0), 0u);
}

TEST(CompiledNamesTest, NamesFunctionsAndFiles) {
  Ref<AGPControl> control = makeControl(u"a.b", u"table", u"x");
  EXPECT_EQ(u8(GetCtrlFuncName(*control)), "ztExa_b");
  control->fields().CtrlTagExt = u".v2";
  EXPECT_EQ(u8(GetCtrlFuncName(*control)), "ztExa_b_v2");
}

TEST(CompiledNamesTest, ReportsControlsThatWouldOverwriteEachOther) {
  struct Case {
    std::vector<std::pair<std::u16string, std::u16string>> controls;  // id and type
    bool ok;
  };
  const std::vector<Case> cases = {
      {{{u"list", u"table"}, {u"view", u"table"}}, true},
      {{{u"a.b", u"table"}, {u"a_b", u"other"}}, false},
      {{{u"List", u"table"}, {u"list", u"field"}}, false},
      // Copy and folder controls compile nothing.
      {{{u"x.y", u"copy"}, {u"x_y", u"other"}, {u"X_y", u"Folder"}}, true},
      {{{u"../x", u"other"}}, false},
  };
  for (const Case& c : cases) {
    Ref<AGPControls> controls = makeRef<AGPControls>();
    for (const auto& [id, type] : c.controls) {
      ASSERT_TRUE(controls->AddControl(makeControl(id, type, id)));
    }
    const Expected<> distinct = CheckCompiledNames(*controls);
    EXPECT_EQ(distinct.ok(), c.ok) << u8(c.controls.front().first);
    EXPECT_EQ(failureText(distinct).empty(), c.ok);
  }
}

}  // namespace
}  // namespace vantorel::test
