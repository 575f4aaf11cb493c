#include "templates/script_host.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/reg_values.hpp"
#include "model/database.hpp"
#include "model/tables.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "templates/script_host_classes.hpp"
#include "templates/script_host_support.hpp"

namespace vantorel {
namespace {

using test::ScriptHostTest;

TEST(ScriptErrorTextTest, NamesFileSourceNumberLineColumnDescriptionAndText) {
  projectContext().formProductStrings();
  struct Case {
    vbs::ScriptError error;
    std::u16string file;
    std::u16string expected;
  };
  const std::vector<Case> cases = {
      {{1002, u"Microsoft VBScript compilation error", u"Syntax error", 3, 7, u"x = = 1"},
       u"C:\\code\\user.vbs",
       u"Vantorel (user.vbs): Microsoft VBScript compilation error (1002), line 3, column 7\r\n"
       u"Description: Syntax error\r\nText: x = = 1"},
      {{11, u"Microsoft VBScript runtime error", u"Division by zero", 2, 0, u""},
       u"/tmp/set/ztExPage",
       u"Vantorel (ztExPage): Microsoft VBScript runtime error (11), line 2\r\n"
       u"Description: Division by zero\r\n"},
      {{-2147467260, u"Microsoft VBScript runtime error", u"", 0, 0, u""},
       u"",
       u"Vantorel: Microsoft VBScript runtime error (-2147467260)\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf8(scriptErrorText(c.error, c.file)), toUtf8(c.expected));
  }
}

TEST_F(ScriptHostTest, UserCodeWithASyntaxErrorNamesItsLineAndStaysOutOfTheMainEngine) {
  const std::u16string path =
      writeFile("user.vbs",
                "Function Early()\r\n  Early = 1\r\nEnd Function If\r\nSub Later()\r\nEnd Sub\r\n");
  setGeneral(u"USERCODE", path);
  Ref<AGScript> host = initializedHost();
  EXPECT_EQ(
      toUtf8(projectContext().lastErrorText),
      "Vantorel (user.vbs): Microsoft VBScript compilation error (1025), line 3, column 14\r\n"
      "Description: Expected end of statement\r\nText: End Function If");
  EXPECT_FALSE(host->ModuleExist(u"Early"));
  EXPECT_TRUE(host->userScript().names().empty());
  // The gate: nothing runs while the error text stands.
  EXPECT_FALSE(host->Validate());
  EXPECT_TRUE(host->RunModule(u"zt_LoadCurrent").isEmpty());
}

TEST_F(ScriptHostTest, UserCodeRegistersItsProceduresInScrpt) {
  // Saved by an editor that writes the UTF-8 mark; the first line must still compile.
  const std::u16string path =
      writeFile("user.vbs",
                "\xEF\xBB\xBF"
                "Function USER_Title(v)\r\n  USER_Title = v & \" caf\xC3\xA9\"\r\n"
                "End Function\r\nSub Helper()\r\nEnd Sub\r\n");
  setGeneral(u"USERCODE", path);
  Ref<AGScript> host = initializedHost();
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_EQ(host->userScript().names(), (std::vector<std::u16string>{u"USER_Title", u"Helper"}));
  EXPECT_TRUE(host->userScript().UserModuleExist(u"user_title"));
  EXPECT_TRUE(host->UserModuleExist(u"HELPER"));
  EXPECT_EQ(toUtf8(host->BuildNewCode(
                u"ztT", u"Function ztT()\r\nztT = USER_Title(\"x\")\r\nEnd Function", 1, 0)),
            "x caf\xC3\xA9");

  // A second file (an extension's) appends every name of the module again.
  host->AddUserCode(writeFile("ext.vbs", "Function ExtOnly()\r\nEnd Function\r\n"));
  EXPECT_EQ(host->userScript().names().size(), 5u);
  EXPECT_TRUE(host->ModuleExist(u"ExtOnly"));
  host->AddUserCode(writeFile("bad.vbs", "Function Broken(\r\n"));
  EXPECT_NE(projectContext().lastErrorText.find(u"Vantorel (bad.vbs): "), std::u16string::npos);
  EXPECT_EQ(host->userScript().names().size(), 5u);
}

TEST_F(ScriptHostTest, WithoutUserCodeTheListStaysEmptyAndTheLocaleFlagFollowsTheSetting) {
  Ref<AGScript> host = initializedHost();
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_TRUE(host->IsInitialized());
  EXPECT_TRUE(host->userScript().names().empty());
  EXPECT_FALSE(host->NonEnglishLocale());
  setGeneral(u"ConvertBoolean", u"True");
  EXPECT_TRUE(makeRef<AGScript>()->NonEnglishLocale());
  setGeneral(u"ConvertBoolean", u"False");
  EXPECT_FALSE(makeRef<AGScript>()->NonEnglishLocale());
}

TEST_F(ScriptHostTest, BuildNewCodeCompilesOnceUnlessAskedToCompileEachTime) {
  Ref<AGScript> host = initializedHost();
  const std::u16string first =
      u"Dim runs\r\nFunction ztPage()\r\nruns = runs + 1\r\nztPage = \"a\" & runs\r\nEnd Function";
  const std::u16string second =
      u"Function ztPage()\r\nruns = runs + 1\r\nztPage = \"b\" & runs\r\nEnd Function";
  struct Step {
    const std::u16string* script;
    std::int16_t initType;
    const char* result;
    std::size_t compiles;
  };
  // A known id with a non-zero initType runs what was compiled before, whatever it is given.
  const std::vector<Step> steps = {
      {&first, 2, "a1", 1},  {&second, 2, "a2", 1}, {&second, 1, "a3", 1},
      {&second, 0, "b4", 2}, {&first, 0, "a5", 3},  {&second, 2, "a6", 3},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(toUtf8(host->BuildNewCode(u"ztPage", *s.script, s.initType, 1000)), s.result);
    EXPECT_EQ(host->compileCount(), s.compiles);
  }
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  // After a reset the table still knows the id, so callers that reset pass 0.
  host->Reset();
  EXPECT_EQ(toUtf8(host->BuildNewCode(u"ztPage", second, 1, 1000)), "");
  EXPECT_NE(projectContext().lastErrorText.find(u"(ztPage): Microsoft VBScript runtime error (35)"),
            std::u16string::npos);
}

TEST_F(ScriptHostTest, ScriptErrorsInTemplatesLeaveTheHostUsable) {
  Ref<AGScript> host = initializedHost();
  struct Case {
    std::u16string id;
    std::u16string script;
    std::int32_t timeout;
    std::string error;  // the start of LastErrorText after the call
  };
  const std::vector<Case> cases = {
      {u"ztSyntax", u"Function ztSyntax()\r\nztSyntax = (1\r\nEnd Function", 1000,
       "Vantorel (ztSyntax): Microsoft VBScript compilation error (1006), line 2, column 14"},
      {u"ztDivide", u"Function ztDivide()\r\nztDivide = 1 / 0\r\nEnd Function", 1000,
       "Vantorel (ztDivide): Microsoft VBScript runtime error (11), line 2"},
      {u"ztNull", u"Function ztNull()\r\nztNull = Null\r\nEnd Function", 1000,
       "Vantorel (ztNull): Microsoft VBScript runtime error (94)"},
      {u"ztDeep", u"Function ztDeep()\r\nztDeep = ztDeep()\r\nEnd Function", 5000,
       "Vantorel (ztDeep): Microsoft VBScript runtime error (28)"},
      {u"ztRaise", u"Function ztRaise()\r\nErr.Raise 1234, \"Mine\", \"bad\"\r\nEnd Function", 1000,
       "Vantorel (ztRaise): Mine (1234), line 2, column 1\r\nDescription: bad\r\n"},
      // A result that is no text fails while it is read, after a run that went well.
      {u"ztArray", u"Function ztArray()\r\nztArray = Array(1)\r\nEnd Function", 1000,
       "Vantorel (ztArray): Microsoft VBScript runtime error (13)\r\n"},
      {u"ztObject", u"Function ztObject()\r\nSet ztObject = SCRPT\r\nEnd Function", 1000,
       "Vantorel (ztObject): Microsoft VBScript runtime error (438)"},
      {u"ztHost", u"Function ztHost()\r\nztHost = Controls.Item(1).CtrlID\r\nEnd Function", 1000,
       "Vantorel (ztHost): Microsoft VBScript runtime error (424), line 2"},
      // Loops for ever: the time-out stops it.
      {u"ztLoop", u"Function ztLoop()\r\nDo\r\nLoop\r\nEnd Function", 200,
       "Vantorel (ztLoop): Microsoft VBScript runtime error (-2147467260)"},
  };
  for (const Case& c : cases) {
    projectContext().lastErrorText.clear();
    EXPECT_EQ(toUtf8(host->BuildNewCode(c.id, c.script, 0, c.timeout)), "");
    EXPECT_EQ(toUtf8(projectContext().lastErrorText.substr(0, c.error.size())), c.error)
        << toUtf8(c.id);
    projectContext().lastErrorText.clear();
    EXPECT_EQ(toUtf8(host->BuildNewCode(
                  u"ztOk", u"Function ztOk()\r\nztOk = \"ok\"\r\nEnd Function", 0, 1000)),
              "ok");
  }
}

TEST_F(ScriptHostTest, RunModuleLoadsTheCurrentTableAndFieldFirst) {
  addDatabase();
  setGeneral(u"USERCODE",
             writeFile("user.vbs",
                       "Function CurrentNames()\r\n"
                       "  CurrentNames = TypeName(TABLE)\r\n"
                       "  If IsObject(TABLE) Then If Not TABLE Is Nothing Then CurrentNames = "
                       "TABLE.TblName\r\n"
                       "  If Not FIELD Is Nothing Then CurrentNames = CurrentNames & \".\" & "
                       "FIELD.FldName\r\n"
                       "End Function\r\n"
                       "Function Fails()\r\n  Fails = 1 / 0\r\nEnd Function\r\n"));
  Ref<AGScript> host = initializedHost();
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  AGPTables& tables = project_->DB()->tables();
  tables.setItem(Variant(u"Orders"));
  tables.item(Variant(u"Orders"))->fields().setItem(Variant(u"Total"));
  EXPECT_EQ(toUtf8(toString(host->RunModule(u"CurrentNames"))), "Orders.Total");
  // Adding a field made it current.
  tables.setItem(Variant(u"Customers"));
  EXPECT_EQ(toUtf8(toString(host->RunModule(u"CurrentNames"))), "Customers.Name");

  EXPECT_TRUE(host->RunModule(u"Fails").isEmpty());
  EXPECT_EQ(toUtf8(projectContext().lastErrorText.substr(0, 56)),
            "Vantorel (Fails): Microsoft VBScript runtime error (11),");
}

TEST_F(ScriptHostTest, ATemplateFunctionReadsTheProjectTheDatabaseAndATablesFields) {
  addDatabase();
  Ref<AGScript> host = initializedHost();
  ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
  project_->DB()->tables().setItem(Variant(u"Orders"));
  const std::u16string script =
      u"Function ztExorders()\r\n"
      u"Dim ztSB, i\r\nSet ztSB = New StringBuilder\r\nCall zt_SetLocale()\r\nCall "
      u"zt_LoadCurrent()\r\n"
      u"ztSB.Append PROJ.ProjName & \"|\" & DB.DBName & \"|\" & TABLE.TblName\r\n"
      u"For i = 1 To TABLE.Fields.Count\r\n"
      u"  ztSB.Append \"|\" & TABLE.Fields.Seq(i).FldName\r\n"
      u"Next\r\n"
      u"ztSB.Append \"|\" & DB.Tables.Count & \"|\" & MENULIST.Count & \"|\" & EXTS.Count & \"|\" "
      u"& "
      u"CUSTOMSCRIPTS.Count\r\n"
      // No extension subsystem yet: honest empty lists.
      u"Dim x: For Each x In EXTS: ztSB.Append \"?\": Next\r\n"
      u"ztSB.Append \"|\" & TypeName(EXTS) & (EXTS.Item(\"a\") Is Nothing) & "
      u"EXTS.ExtensionExist(\"a\") & TypeName(CUSTOMSCRIPTS)\r\n"
      u"ztExorders = ztSB.ToString()\r\nEnd Function";
  EXPECT_EQ(toUtf8(host->BuildNewCode(u"ztExorders", script, 2, 1000)),
            "Shop Site|Shop|Orders|OrderID|Total|2|0|0|0|AGPExtensionsTrueFalseAGPCustomScripts");
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
}

TEST_F(ScriptHostTest, CreatableByProgId) {
  registerScriptHostClasses(ClassFactory::instance());
  Ref<Object> host = ClassFactory::instance().create(u"vantorel4.AGScript");
  ASSERT_TRUE(host);
  EXPECT_TRUE(toBool(host->call(u"IsInitialized")));
  Ref<Object> list = ClassFactory::instance().create(u"vantorel4.AGUserScript");
  list->call(u"AddUserModule", {Variant(u"Abc")});
  EXPECT_TRUE(toBool(list->call(u"UserModuleExist", {Variant(u"ABC")})));
  EXPECT_FALSE(toBool(list->call(u"UserModuleExist", {Variant(u"AB")})));
}

}  // namespace
}  // namespace vantorel
