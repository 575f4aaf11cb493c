// The built-in system and validation code, compiled into the engine, exercised through the
// script host as compiled templates use them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "templates/script_host.hpp"
#include "templates/script_host_support.hpp"
#include "templates/script_translation.hpp"

namespace vantorel {
namespace {

class BuiltinCodeTest : public test::ScriptHostTest {
 protected:
  // The function a template compiles to: the frame around the translated text.
  static std::u16string compiled(const std::u16string& name, const std::u16string& text) {
    Ref<AGPStringBuilder> arrays = makeRef<AGPStringBuilder>();
    Ref<AGPStringBuilder> body = makeRef<AGPStringBuilder>();
    std::int32_t count = 0;
    EXPECT_EQ(templates::translateTemplateText(text, *arrays, *body, count), std::nullopt);
    return u"Function " + name + u"()\r\nIf bHandleTemplateError Then On Error Resume Next\r\n" +
           u"Dim ztAr(" + toString(Variant(count)) + u")\r\nDim ztSB\r\n" +
           u"Set ztSB = New StringBuilder\r\nCall zt_SetLocale()\r\nDim SYSTEMFUNCTIONS\r\n" +
           u"Set SYSTEMFUNCTIONS = New cSystemFunctions\r\nCall zt_LoadCurrent()\r\n" +
           toString(arrays->toString()) + u"\r\n" + toString(body->toString()) + u"\r\n" + name +
           u" = ztSB.ToString()\r\nSet SYSTEMFUNCTIONS = Nothing\r\nEnd Function\r\n";
  }
  std::string run(AGScript& host, const std::u16string& text) {
    return toUtf8(host.BuildNewCode(u"ztExT", compiled(u"ztExT", text), 0, 5000));
  }
};

TEST_F(BuiltinCodeTest, TheBuiltInTextsAreThereAndCompile) {
  EXPECT_NE(toString(Status().GetSysCode(Variant(u"VB"))).find(u"Class cSystemFunctions"),
            std::u16string::npos);
  EXPECT_NE(toString(Status().GetSysCode(Variant(u"VL"))).find(u"Function zt_Validate"),
            std::u16string::npos);
  Ref<AGScript> host = initializedHost();
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  for (const char16_t* name : {u"zt_SetLocale", u"zt_LoadCurrent"}) {
    EXPECT_TRUE(host->ModuleExist(name)) << toUtf8(name);
  }
  EXPECT_EQ(host->validationProcedures(),
            (std::vector<std::u16string>{u"zt_ValidateDestination", u"zt_ValidateAppRootFolder",
                                         u"zt_ValidateOutputName", u"zt_ValidateTableVars"}));
}

TEST_F(BuiltinCodeTest, CompiledTemplatesRunOnTheBuiltInNames) {
  addDatabase();
  project_->DB()->tables().setItem(Variant(u"Orders"));
  Ref<AGScript> host = initializedHost();
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  struct Case {
    std::u16string text;
    std::string output;
  };
  const std::vector<Case> cases = {
      {u"plain \"text\"\r\nline 2\r\n", "plain \"text\"\r\nline 2\r\n"},
      {u"<!--##=PROJ.ProjName##--> <!--##=TABLE.TblName##-->", "Shop Site Orders"},
      // The text in front of a "~" block is written, and then its indentation once more.
      {u"  <!--##~\"a\" & vbCrLf & \"b\"##-->|<!--##=Len(zt_IndentWrk)##-->", "    a\r\nb|2"},
      {u"<!--##@Title##--><!--##$\"T\" & 1##-->",
       "<%= ReportLanguage.Phrase(\"Title\") %><%= ReportLanguage.Phrase(\"T1\") %>"},
      {u"<!--##@ say \"hi\" ##-->", "<%= ReportLanguage.Phrase(\"say \"\"hi\"\"\") %>"},
      {u"<!--##=SYSTEMFUNCTIONS.IncludeFile(\"a.asp\",\"\")##-->"
       u"<!--##=SYSTEMFUNCTIONS.IncludeFile(\"/x/b.asp\",\"Virtual\")##-->",
       "<!--#include file=\"a.asp\"--><!--#include virtual=\"/x/b.asp\"-->"},
      {u"<!--##=SYSTEMFUNCTIONS.ScriptString(\"a\"\"b\" & vbCrLf & \"c\")##-->",
       "\"a\"\"b\" & vbCrLf & \"c\""},
      {u"<!--##=SYSTEMFUNCTIONS.JsString(\"a\\\"\"\" & vbLf & \"</b>\")##-->",
       "\"a\\\\\\\"\\n<\\/b>\""},
      {u"<!--##=SYSTEMFUNCTIONS.HtmlEncode(\"<a href=\"\"x\"\">&</a>\")##-->",
       "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;"},
      {u"<!--##=SYSTEMFUNCTIONS.IIf(1 > 2, \"y\", \"n\")##--><!--##=bHandleTemplateError##-->"
       u"<!--##=GetLocale()##--><!--##=1.5##-->",
       "nFalse10331.5"},
      {u"<!--##=SYSTEMFUNCTIONS.IndentLines(\"a\" & vbCrLf & \"b\", \"  \")##-->", "a\r\n  b"},
      // Null appends nothing; ToString can be read in between and appending goes on.
      {u"<!--## ztSB.Append Null: ztSB.Append \"x\": ztSB.Append ztSB.ToString()##-->"
       u"<!--##=ztSB.Length##-->",
       "xx2"},
      // Pieces take the text assignment gives them; Clear starts again.
      {u"<!--## ztSB.Append True: ztSB.Append Empty: ztSB.Append 2.5: ztSB.Clear##-->"
       u"<!--##=True##--><!--##=Empty##--><!--##=-7##--><!--##=CDate(\"2001-02-03\")##-->",
       "True-72/3/2001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(*host, c.text), c.output) << toUtf8(c.text);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  }
  // Tens of thousands of pieces, past every growth of the piece array, with Null pieces and a
  // read in between.
  EXPECT_EQ(run(*host,
                u"<!--## Dim i: For i = 1 To 70000: ztSB.Append \"ab\": If i Mod 4000 = 0 "
                u"Then ztSB.Append Null\r\nIf i = 3 Then ztSB.Append Left(ztSB.ToString(), "
                u"0)\r\nNext##-->")
                .size(),
            140000u);
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
}

// An array has no text: appending one stops the template where it stands, rather than the page
// coming out empty.
TEST_F(BuiltinCodeTest, AnArrayAppendedToThePageIsAnError) {
  addDatabase();
  Ref<AGScript> host = initializedHost();
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_EQ(run(*host, u"before<!--## ztSB.Append Array(1, 2) ##-->after"), "");
  EXPECT_NE(toUtf8(projectContext().lastErrorText).find("Type mismatch"), std::string::npos)
      << toUtf8(projectContext().lastErrorText);
}

TEST_F(BuiltinCodeTest, BuiltInValidationChecksTheSettingsGenerationNeeds) {
  addDatabase();
  AGPTables& tables = project_->DB()->tables();
  struct Case {
    const char* what;
    std::u16string setting;
    Variant value;
    std::string error;  // empty: passes
  };
  const std::vector<Case> cases = {
      {"all set", u"", Variant(), ""},
      {"no destination", u"Destination", Variant(u" "),
       "Project setting 'Destination' is empty: no output folder for the site. Generation "
       "aborted."},
      {"upload folder without root", u"UploadPath", Variant(u"uploads"),
       "Project setting 'AppRootFolder' is empty, but the upload folder lies below the "
       "application root. Generation aborted."},
      {"name word with a slash", u"OutputNameExt", Variant(u"a/b"),
       "Project setting 'OutputNameExt' (a/b) holds the character '/', which a file name "
       "cannot hold. Generation aborted."},
      {"same variable twice", u"TblVar", Variant(u"ORDERS"),
       "Tables 'Orders' and 'Customers' have the same script variable name (ORDERS). "
       "Generation aborted."},
  };
  for (const Case& c : cases) {
    projectContext().lastErrorText.clear();
    project_->SetV(u"Destination", Variant(u"out"));
    project_->SetV(u"UploadPath", Variant(u""));
    project_->SetV(u"AppRootFolder", Variant(u""));
    project_->SetV(u"OutputNameType", Variant(u"suffix"));
    project_->SetV(u"OutputNameExt", Variant(u"_x"));
    for (const char16_t* name : {u"Orders", u"Customers"}) {
      Ref<AGPTable> t = tables.item(Variant(name));
      t->setTblGen(true);
      t->setTblVar(name);
    }
    if (c.setting == u"TblVar") {
      tables.item(Variant(u"Customers"))->setTblVar(toString(c.value));
    } else if (!c.setting.empty()) {
      project_->SetV(c.setting, c.value);
    }
    Ref<AGScript> host = initializedHost();
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "") << c.what;
    EXPECT_EQ(host->Validate(), c.error.empty()) << c.what;
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), c.error) << c.what;
  }
}

}  // namespace
}  // namespace vantorel
