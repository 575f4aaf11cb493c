// The script control facade: modules, procedures, errors, timeouts, and invalid scripts.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "platform/vbscript/script_runtime.hpp"
#include "support/raised_error.hpp"

namespace vantorel::vbs {
namespace {

class ScriptControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { registerScriptRuntime(ClassFactory::instance()); }
  void SetUp() override {
    sc = makeRef<ScriptControl>();
    sc->setLanguage(u"VBScript");
  }
  Ref<ScriptControl> sc;
};

TEST_F(ScriptControlTest, OnlyVBScriptIsALanguage) {
  Ref<ScriptControl> fresh = makeRef<ScriptControl>();
  EXPECT_NE(test::errorOf([&] { fresh->addCode(u"x = 1"); }), 0) << "no language set yet";
  EXPECT_NE(test::errorOf([&] { fresh->setLanguage(u"JScript"); }), 0);
  EXPECT_NE(fresh->error()->number(), 0);
  fresh->setLanguage(u"vbscript");
  EXPECT_EQ(fresh->language(), u"VBScript");
  EXPECT_EQ(fresh->timeout(), kDefaultTimeout);
  EXPECT_EQ(toLong(fresh->eval(u"1 + 1")), 2);
}

TEST_F(ScriptControlTest, GlobalsPersistAndLaterDefinitionsReplaceEarlierOnes) {
  sc->addCode(u"Dim n\nn = 5\nFunction F()\nF = 1\nEnd Function");
  sc->addCode(u"n = n + 1\nFunction F()\nF = 2\nEnd Function");
  EXPECT_EQ(toLong(sc->eval(u"n")), 6);
  EXPECT_EQ(toLong(sc->run(u"F")), 2);
  sc->executeStatement(u"n = n * 10");
  EXPECT_EQ(toLong(sc->eval(u"n")), 60);
  Ref<Object> code = sc->codeObject();
  EXPECT_EQ(toLong(code->get(u"n")), 60) << "globals are members of the code object";
  EXPECT_EQ(toLong(code->call(u"F")), 2) << "and so are procedures";
}

TEST_F(ScriptControlTest, ModulesHaveTheirOwnNamespaces) {
  sc->addCode(
      u"Function Who()\nWho = \"global\"\nEnd Function\nFunction Shared()\nShared = 7\nEnd "
      u"Function");
  Ref<ScriptModule> m = sc->modules()->add(u"Extra");
  m->addCode(u"Dim v\nv = 1\nFunction Who()\nWho = \"extra\"\nEnd Function");
  EXPECT_EQ(toString(m->run(u"Who")), u"extra");
  EXPECT_EQ(toString(sc->run(u"Who")), u"global");
  EXPECT_EQ(toLong(m->eval(u"Shared()")), 7) << "a module sees the global module";
  EXPECT_TRUE(sc->eval(u"v").isEmpty()) << "the global module does not see the module's variables";
  EXPECT_EQ(toLong(m->eval(u"v")), 1);
  EXPECT_EQ(toString(m->codeObject()->call(u"Who")), u"extra");

  Ref<ScriptModules> modules = sc->modules();
  EXPECT_EQ(modules->count(), 2);
  EXPECT_EQ(modules->item(Variant(std::int32_t{1}))->name(), kGlobalModuleName);
  EXPECT_EQ(modules->item(Variant(u"extra"))->name(), u"Extra");
  EXPECT_EQ(test::errorOf([&] { modules->item(Variant(std::int32_t{3})); }),
            vberr::kSubscriptOutOfRange);
  EXPECT_NE(test::errorOf([&] { modules->add(u"Extra"); }), 0) << "a module name is taken once";
}

TEST_F(ScriptControlTest, ProceduresInDefinitionOrder) {
  sc->addCode(
      u"Sub Zed(a, b)\nEnd Sub\nFunction Alpha()\nEnd Function\n"
      u"Sub Mid1(ByVal x, ByRef y, z)\nEnd Sub\nFunction Beta(q)\nBeta = q\nEnd Function");
  struct Expected {
    const char16_t* name;
    std::int32_t numArgs;
    bool hasReturnValue;
  };
  const std::vector<Expected> table = {
      {u"Zed", 2, false}, {u"Alpha", 0, true}, {u"Mid1", 3, false}, {u"Beta", 1, true}};
  Ref<ScriptProcedures> procs = sc->procedures();
  ASSERT_EQ(procs->count(), static_cast<std::int32_t>(table.size()));
  for (std::size_t i = 0; i < table.size(); ++i) {
    Ref<ScriptProcedure> p = procs->item(Variant(static_cast<std::int32_t>(i + 1)));
    EXPECT_EQ(p->name(), table[i].name);
    EXPECT_EQ(p->numArgs(), table[i].numArgs) << toUtf8(table[i].name);
    EXPECT_EQ(p->hasReturnValue(), table[i].hasReturnValue) << toUtf8(table[i].name);
  }
  EXPECT_EQ(procs->item(Variant(u"beta"))->numArgs(), 1);
  sc->addObject(u"Control", sc, false);
  EXPECT_EQ(toString(sc->eval(u"Control.Procedures(3).Name & Control.Procedures.Count")), u"Mid14");
  sc->reset();  // the control held itself
}

TEST_F(ScriptControlTest, ACompileErrorLeavesNothingBehind) {
  EXPECT_NE(test::errorOf(
                [&] { sc->addCode(u"Dim z\nz = 1\nFunction H()\nH = 1\nEnd Function\nx = ("); }),
            0);
  EXPECT_EQ(sc->procedures()->count(), 0);
  EXPECT_TRUE(sc->eval(u"z").isEmpty());
  EXPECT_EQ(test::errorOf([&] { sc->run(u"H"); }), 35);
}

TEST_F(ScriptControlTest, RunPassesArgumentsAndReturnsTheResult) {
  sc->addCode(u"Function Add(a, b)\nAdd = a + b\nEnd Function\nSub Nothing1()\nEnd Sub");
  const Variant args[] = {Variant(std::int32_t{2}), Variant(3.5)};
  EXPECT_EQ(toDouble(sc->run(u"Add", args)), 5.5);
  EXPECT_EQ(toDouble(sc->call(u"Run", {Variant(u"add"), Variant(1), Variant(2)})), 3.0);
  EXPECT_TRUE(sc->run(u"Nothing1").isEmpty());
  EXPECT_EQ(test::errorOf([&] { sc->run(u"Missing"); }), 35);
  EXPECT_EQ(sc->error()->number(), 35);
}

TEST_F(ScriptControlTest, ErrorFieldsAfterCompileAndRuntimeErrors) {
  EXPECT_EQ(test::errorOf([&] { sc->addCode(u"x = 1\ny = 2 3"); }), 1025);
  Ref<ScriptControlError> e = sc->error();
  EXPECT_EQ(e->number(), 1025);
  EXPECT_EQ(e->source(), kCompileErrorSource);
  EXPECT_EQ(e->description(), u"Expected end of statement");
  EXPECT_EQ(e->line(), 2);
  EXPECT_EQ(e->column(), 7);
  EXPECT_EQ(e->text(), u"y = 2 3");

  EXPECT_EQ(test::errorOf([&] { sc->addCode(u"Dim q\n  q = 1 / 0"); }), 11);
  EXPECT_EQ(e->number(), 11) << "the Error object shows the latest failure";
  EXPECT_EQ(e->source(), kRuntimeErrorSource);
  EXPECT_EQ(e->description(), u"Division by zero");
  EXPECT_EQ(e->line(), 2);

  sc->eval(u"1");
  EXPECT_EQ(e->number(), 0) << "a good call clears the error";
  EXPECT_EQ(test::errorOf([&] { sc->eval(u"1 / 0"); }), 11);
  e->clear();
  EXPECT_EQ(e->number(), 0);
  EXPECT_EQ(e->description(), u"");
}

TEST_F(ScriptControlTest, TimeoutStopsAnEndlessLoop) {
  sc->setTimeout(200);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(test::errorOf([&] { sc->addCode(u"Do: Loop"); }), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(toLong(sc->eval(u"2 + 2")), 4) << "the control works after a timeout";
  EXPECT_NE(test::errorOf([&] { sc->setTimeout(-2); }), 0);
}

TEST_F(ScriptControlTest, AddedObjectsByNameAndAsGlobals) {
  Ref<Object> dict = ClassFactory::instance().create(u"Scripting.Dictionary");
  dict->call(u"Add", {Variant(u"k"), Variant(1)});
  sc->addObject(u"Dict", dict, false);
  EXPECT_EQ(toLong(sc->eval(u"Dict.Count")), 1);
  sc->addObject(u"Members", dict, true);
  EXPECT_EQ(toLong(sc->eval(u"Count")), 1) << "members reachable without the name";
  EXPECT_EQ(test::errorOf([&] { sc->addObject(u"dict", dict, false); }), vberr::kKeyAlreadyExists);
  sc->reset();
  EXPECT_NE(test::errorOf([&] { sc->eval(u"Dict.Count"); }), 0) << "Reset drops added objects";
  sc->addObject(u"Dict", dict, false);
}

TEST_F(ScriptControlTest, ScriptsCreateTheControlByProgId) {
  sc->addCode(
      u"Set inner = CreateObject(\"MSScriptControl.ScriptControl\")\n"
      u"inner.Language = \"VBScript\"\n"
      u"inner.AddCode \"Function Sq(x)\" & vbCrLf & \"Sq = x * x\" & vbCrLf & \"End Function\"\n"
      u"r = inner.Run(\"Sq\", 9)\n"
      u"n = inner.Modules.Count & inner.Procedures(1).Name & inner.Procedures(\"sq\").NumArgs\n"
      u"On Error Resume Next\n"
      u"inner.Eval \"1 +\"\n"
      u"errLine = inner.Error.Line & \"/\" & (Err.Number = inner.Error.Number)\n"
      u"inner.Modules.Add \"Second\"\n"
      u"For Each m In inner.Modules\nnames = names & m.Name & \";\"\nNext\n");
  EXPECT_EQ(toLong(sc->eval(u"r")), 81);
  EXPECT_EQ(toString(sc->eval(u"n")), u"1Sq1");
  EXPECT_EQ(toString(sc->eval(u"errLine")), u"1/True");
  EXPECT_EQ(toString(sc->eval(u"names")), u"Global;Second;");
}

// Invalid scripts with the error the interpreter reports and where.
TEST_F(ScriptControlTest, InvalidScriptsReportNumberLineAndColumn) {
  struct Case {
    const char16_t* code;
    std::int32_t number, line, column;
  };
  const std::vector<Case> table = {
      {u"Dim a\nDim a", 1041, 2, 5},
      {u"x = 1 2", 1025, 1, 7},
      {u"Loop", 1038, 1, 1},
      {u"Next", 1055, 1, 1},
      {u"Exit For", 1039, 1, 1},
      {u"Dim 1x", 1010, 1, 5},
      {u"x = y @ 2", 1032, 1, 7},
      {u"For i = 1 2\nNext", 1013, 1, 11},
      {u"If x y Then\nEnd If", 1017, 1, 6},
      {u"x = 1\nx = \"abc", 1033, 2, 5},
      {u"Sub S\nEnd Function", 1016, 2, 5},
      {u"x = 1\n  y = x / 0", 11, 2, 3},
      {u"Dim arr(2)\narr(5) = 1", 9, 2, 1},
      {u"Set o = Nothing\no.Go", 424, 2, 1},
  };
  for (const Case& c : table) {
    Ref<ScriptControl> fresh = makeRef<ScriptControl>();
    fresh->setLanguage(u"VBScript");
    const std::string code = toUtf8(c.code);
    EXPECT_EQ(test::errorOf([&] { fresh->addCode(c.code); }), c.number) << code;
    const ScriptError& e = fresh->error()->value();
    EXPECT_EQ(e.line, c.line) << code;
    EXPECT_EQ(e.column, c.column) << code;
  }
}

// Mutated scripts end in a clean error or run; they never crash or hang.
TEST_F(ScriptControlTest, MutatedScriptsFailCleanly) {
  const std::u16string seed =
      u"Class K\nPublic v\nFunction F(a)\nF = a * 2 & \"x\"\nEnd Function\nEnd Class\n"
      u"Set k = New K\nFor i = 1 To 3\nIf i Mod 2 = 0 Then k.v = k.F(i) Else k.v = Empty\nNext\n"
      u"Select Case k.v\nCase 1, 2\nx = Array(1, 2)(0)\nEnd Select\n";
  const std::u16string alphabet = u"()\"'&:_.,=<>#\n aZ9\u00e9";
  std::mt19937 rng(7);
  sc->setTimeout(20);
  for (int round = 0; round < 300; ++round) {
    std::u16string code = seed;
    for (int k = 0; k < 3; ++k) {
      const std::size_t at = rng() % code.size();
      switch (rng() % 3) {
        case 0:
          code.erase(at, 1 + rng() % 4);
          break;
        case 1:
          code.insert(at, 1, alphabet[rng() % alphabet.size()]);
          break;
        default:
          code[at] = alphabet[rng() % alphabet.size()];
          break;
      }
    }
    sc->reset();
    try {
      sc->addCode(code);
    } catch (const AutomationError&) {
      EXPECT_NE(sc->error()->number(), 0);
    }
  }
}

}  // namespace
}  // namespace vantorel::vbs
