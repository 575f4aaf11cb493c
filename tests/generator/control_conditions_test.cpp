#include "generator/control_conditions.hpp"
#include "foundation/project_context.hpp"
#include "generator/run_end.hpp"

#include <vector>

#include "generation_fixture.hpp"
#include "platform/automation/automation_error.hpp"

namespace vantorel::test {
namespace {

class ControlConditionTest : public GenerationFixture {
 protected:
  void SetUp() override {
    GenerationFixture::SetUp();
    addDatabase();
    AGProperties& bag = proj_->properties();
    bag.add(u"Flag", u"Boolean");
    bag.setValue(*bag.slotOf(u"Flag"), Variant(true));
    bag.add(u"Count", u"Long");
    bag.setValue(*bag.slotOf(u"Count"), Variant(std::int32_t{5}));
    bag.add(u"Zero", u"Long");
    db_->properties().setValue(*db_->properties().declare(u"DBType"), Variant(u"ACCESS"));
    table(u"Sales").properties().setting(kTblCaption) = Variant(u"Sales");
    run().currentTable = Ref<AGPTable>(&table(u"Sales"));
    field(u"Sales", u"Region").SetV(u"FldGenerate", u"True");
    run().currentField = Ref<AGPField>(&field(u"Sales", u"Region"));
    run().currentControl = makeControl(u"list", u"table", u"list");
  }
};

TEST_F(ControlConditionTest, EvaluatesTermsAgainstTheProject) {
  const std::vector<std::pair<std::u16string, bool>> cases = {
      {u"", true},
      {u",", true},
      {u"proj", true},
      {u"table/TblType/eq/TABLE|VIEW", true},
      {u"table/TblType/eq/TABLE|REPORT", false},
      // Object and operator in any case; the text itself with case.
      {u"Table/TblType/EQ/view", false},
      {u"TABLE/TblType/Eq/VIEW", true},
      {u"table/TblName/in/sal", true},
      {u"table/TblName/ni/sal", false},
      {u"table/TblName/ni/xyz", true},
      {u"table/TblCaption/eq/%TblName", true},
      {u"table/TblCaption/eq/ %tblname ", true},
      {u"proj/Flag/eq/1", true},
      {u"proj/Flag/eq/True", true},
      {u"proj/Flag/eq/0", false},
      {u"proj/Flag/ne/0", true},
      // Numbers compare as numbers, not as texts.
      {u"proj/Count/gt/4", true},
      {u"proj/Count/gt/10", false},
      {u"proj/Count/le/5", true},
      {u"proj/Count/ge/6|5", true},
      {u"proj/Zero/eq/0", true},
      {u"proj/NotDeclared/eq/|x", true},
      // An empty list of values holds no value.
      {u"table/TblName/ne/", false},
      {u"db/DBType/eq/ACCESS", true},
      {u"db/DBType/ne/ACCESS", false},
      {u"field/FldGenerate/eq/1", true},
      {u"field/FldName/eq/Region", true},
      {u"ctrl/ctrltype/eq/'table'", true},
      {u"ctrl/CtrlID/eq/\"list\"", true},
      // A Boolean is always below a text.
      {u"ctrl/ctrlgen/eq/1", false},
      {u"ctrl/ctrlgen/lt/1", true},
      // Terms that cannot be read hold.
      {u"ctrl/nosuch/eq/x", true},
      {u"ctrl/nosuch/eq/", true},
      {u"other/x/eq/", true},
      {u"table/TblName/xx/Nothing", true},
      {u"other/x/eq/y", true},
      {u"proj/Destination/eq/c:/site", true},
      {u"function/NoEngine/string/eq/|x", true},
      // Every term must hold.
      {u"table/TblType/eq/VIEW, proj/Flag/eq/1", true},
      {u"table/TblType/eq/VIEW,proj/Flag/eq/0", false},
  };
  for (const auto& [cond, expected] : cases) {
    EXPECT_EQ(EvalCtrlCond(run(), cond), expected) << u8(cond);
    EXPECT_TRUE(projectContext().lastErrorText.empty())
        << u8(cond) << ": " << u8(projectContext().lastErrorText);
  }
}

// A term the evaluator cannot read still holds, but no longer without a word: each is named once
// per run with what is wrong with it.
TEST_F(ControlConditionTest, UnreadableTermsHoldAndAreNamedOncePerRun) {
  using Kind = ui::RecordingBackend::Event::Kind;
  const std::vector<std::pair<std::u16string, std::string>> cases = {
      {u"proj", "is not of the form object/attribute/operator/values"},
      {u"proj/Flag/eq", "is not of the form"},
      {u"table/TblName/xx/Nothing", "has the unknown operator \"xx\""},
      {u"function/IsShop/string/like/x", "has the unknown operator \"like\""},
      {u"other/x/eq/y", "names the unknown object \"other\""},
  };
  startEngine();
  addScript(u"Function IsShop()\r\nIsShop = \"x\"\r\nEnd Function\r\n");
  for (const auto& [cond, why] : cases) {
    const std::size_t before = ui_->events(Kind::Asked).size();
    EXPECT_TRUE(EvalCtrlCond(run(), cond)) << u8(cond);
    EXPECT_TRUE(EvalCtrlCond(run(), cond)) << u8(cond);
    const auto asked = ui_->events(Kind::Asked);
    ASSERT_EQ(asked.size(), before + 1) << u8(cond);
    const std::string text = u8(asked.back().question.text);
    EXPECT_NE(text.find("\"" + u8(cond) + "\" " + why), std::string::npos) << text;
    EXPECT_EQ(asked.back().question.icon, ui::Icon::Exclamation);
  }
  // Terms that read well say nothing, whatever their outcome; so does a missing table.
  const std::size_t quiet = ui_->events(Kind::Asked).size();
  EXPECT_FALSE(EvalCtrlCond(run(), u"proj/Flag/eq/0"));
  EXPECT_TRUE(EvalCtrlCond(run(), u"ctrl/CtrlID/eq/list"));
  run().currentTable = nullptr;
  EXPECT_TRUE(EvalCtrlCond(run(), u"table/TblType/eq/nothing"));
  EXPECT_EQ(ui_->events(Kind::Asked).size(), quiet);
}

// A failure the run went on after (a script file that did not compile) is the cause of a
// condition function that is then missing, and the run ends with it.
TEST_F(ControlConditionTest, AnEarlierFailureIsTheCauseOfAMissingFunction) {
  startEngine();
  run().failure = u"Vantorel (functions.vbs): Syntax error";
  EXPECT_EQ(u8(stopMessage([&] { EvalCtrlCond(run(), u"function/NotLoaded/boolean/eq/true"); })),
            "Vantorel (functions.vbs): Syntax error");
}

TEST_F(ControlConditionTest, ATableTermWithoutTableHoldsAndAFailedTermStopsEvaluation) {
  run().currentTable = nullptr;
  EXPECT_TRUE(EvalCtrlCond(run(), u"table/TblType/eq/nothing"));
  run().currentTable = Ref<AGPTable>(&table(u"Orders"));
  run().currentField = nullptr;
  table(u"Orders").setTblGen(false);
  // The field term is never reached, so the missing field does not fail.
  EXPECT_FALSE(EvalCtrlCond(run(), u"table/TblGen/eq/1,field/FldGenerate/eq/1"));
  EXPECT_FALSE(run().generationFailed);
}

TEST_F(ControlConditionTest, FailuresEndTheRun) {
  run().currentField = nullptr;
  try {
    EvalCtrlCond(run(), u"field/FldName/eq/x");
    ADD_FAILURE() << "no raise";
  } catch (const GenerationStopped& e) {
    EXPECT_FALSE(e.cancelled());
    EXPECT_NE(e.description().find(u"field/FldName/eq/x"), std::u16string::npos);
  }
}

TEST_F(ControlConditionTest, FunctionTermsRunScriptFunctions) {
  startEngine();
  addScript(
      u"Function IsShop()\r\nIsShop = \"true\"\r\nEnd Function\r\n"
      u"Function Tables()\r\nTables = DB.Tables.Count\r\nEnd Function\r\n"
      u"Function Boom()\r\nErr.Raise 5\r\nEnd Function\r\n"
      u"Dim bumpCount\r\nFunction Bump()\r\nbumpCount = bumpCount + 1\r\nBump = 0\r\n"
      u"End Function\r\nFunction BumpCalls()\r\nBumpCalls = bumpCount\r\nEnd Function");
  const std::vector<std::pair<std::u16string, bool>> cases = {
      {u"function/IsShop/boolean/eq/true", true},   {u" FUNCTION/ IsShop/boolean/eq/1", true},
      {u"function/IsShop/boolean/eq/false", false}, {u"function/Tables/long/eq/3", true},
      {u"function/Tables/long/lt/20", true},
  };
  for (const auto& [cond, expected] : cases) {
    EXPECT_EQ(EvalCtrlCond(run(), cond), expected) << u8(cond);
  }
  // The function runs once per term, not once per listed value.
  EXPECT_FALSE(EvalCtrlCond(run(), u"function/Bump/long/eq/7|8|9"));
  EXPECT_TRUE(EvalCtrlCond(run(), u"function/BumpCalls/long/eq/1"));
  EXPECT_FALSE(stopMessage([&] { EvalCtrlCond(run(), u"function/Boom/string/eq/x"); }).empty());
}

TEST(CondValueTest, ReadsReferencesAndConverts) {
  Ref<AGProperties> bag = makeRef<AGProperties>();
  bag->add(u"Size", u"Long");
  bag->setValue(*bag->slotOf(u"Size"), Variant(std::int32_t{7}));
  EXPECT_EQ(GetCondValue(*bag, u" 12 ", u"Long").longValue(), 12);
  EXPECT_EQ(GetCondValue(*bag, u"%Size", u"Long").longValue(), 7);
  EXPECT_EQ(u8(GetCondValue(*bag, u"'quoted'", u"String").stringValue()), "quoted");
  // A reference to a missing setting declares it, empty.
  EXPECT_TRUE(GetCondValue(*bag, u"%Missing", u"Variant").isEmpty());
  EXPECT_TRUE(bag->exists(u"Missing"));
}

}  // namespace
}  // namespace vantorel::test
