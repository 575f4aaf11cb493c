// The interpreter's core semantics: each case is a small script and the value of an
// expression afterwards, or the error number and line it must stop with.
#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <random>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/engine.hpp"

namespace vantorel::vbs {
namespace {

std::string narrow(const std::u16string& s) {
  return std::string(s.begin(), s.end());
}

std::u16string widen(const char* s) {
  std::string n(s);
  return std::u16string(n.begin(), n.end());
}

struct ValueCase {
  const char* script;
  const char* expression;
  const char* expected;  // CStr of the result
};

const ValueCase kValueCases[] = {
    // Procedures and argument passing
    {"Sub Inc(a)\n a = a + 1\nEnd Sub\nx = 1\nInc x", "x", "2"},
    {"Sub Inc(ByVal a)\n a = a + 1\nEnd Sub\nx = 1\nInc x", "x", "1"},
    {"Sub Inc(a)\n a = a + 1\nEnd Sub\nx = 1\nInc (x)", "x", "1"},
    {"Sub Inc(a)\n a = a + 1\nEnd Sub\nx = 1\nCall Inc(x)", "x", "2"},
    {"Sub Inc(a)\n a = a + 1\nEnd Sub\nx = 1\nInc x + 0", "x", "1"},
    {"Sub Inc(a)\n a = a + 1\nEnd Sub\nDim a(2)\na(1) = 5\nInc a(1)", "a(1)", "6"},
    {"Sub Inc(ByVal v)\n v = v + 1\nEnd Sub\nDim a(2)\na(1) = 5\nInc a(1)", "a(1)", "5"},
    {"Function Sq(n)\n Sq = n * n\nEnd Function", "Sq(7)", "49"},
    {"Function Fib(n)\n If n < 2 Then\n  Fib = n\n Else\n  Fib = Fib(n - 1) + Fib(n - 2)\n End "
     "If\nEnd Function",
     "Fib(15)", "610"},
    {"x = Twice(4)\nFunction Twice(n)\n Twice = n * 2\nEnd Function", "x", "8"},
    {"Sub S\n zz = 5\nEnd Sub\nS", "IsEmpty(zz)", "True"},
    {"g = 1\nSub S\n g = 5\nEnd Sub\nS", "g", "5"},
    {"Function F()\n a = Array(4, 5)\n F = a(1)\nEnd Function", "F()", "5"},
    {"Function Arr()\n Arr = Array(7, 8)\nEnd Function", "Arr()(1) & Arr(0)", "87"},
    {"Function F()\n Exit Function\n F = 1\nEnd Function", "IsEmpty(F())", "True"},
    // Arithmetic types
    {"x = 32767 + 1", "VarType(x)", "3"},
    {"x = 2147483647 + 1", "VarType(x)", "5"},
    {"x = 3 * 4 - 2", "VarType(x) & \":\" & x", "2:10"},
    // Arrays are values
    {"Dim a(1)\na(0) = 1\nb = a\nb(0) = 2", "a(0) & b(0)", "12"},
    {"Dim m(2, 3)\nm(1, 2) = 9", "m(1, 2) & UBound(m, 2)", "93"},
    {"Dim a()\nReDim a(2)\na(2) = 7\nReDim Preserve a(4)", "UBound(a) & a(2)", "47"},
    {"ReDim a(3)\na(1) = 1\nErase a\nReDim a(1)", "IsEmpty(a(1))", "True"},
    {"Dim a(2)\na(1) = 4\nErase a", "UBound(a) & IsEmpty(a(1))", "2True"},
    // Control flow
    {"s = 0\nFor i = 10 To 1 Step -2\n s = s + i\nNext", "s", "30"},
    {"n = 3\nc = 0\nFor i = 1 To n\n n = 10\n c = c + 1\nNext", "c & \":\" & i", "3:4"},
    {"For Each v In Array(1, 2, 3)\n s = s + v\nNext", "s", "6"},
    {"i = 0\nDo\n i = i + 1\nLoop While i < 5", "i", "5"},
    {"i = 0\nDo Until i >= 3\n i = i + 1\nLoop", "i", "3"},
    {"i = 0\nWhile i < 4\n i = i + 1\nWend", "i", "4"},
    {"For i = 1 To 10\n Do\n  Exit Do\n Loop\n If i = 3 Then Exit For\nNext", "i", "3"},
    {"x = 3\nSelect Case x\n Case 1, 2\n r = \"a\"\n Case 3\n r = \"b\"\n Case Else\n r = "
     "\"c\"\nEnd Select",
     "r", "b"},
    {"x = 9\nSelect Case x\n Case 1\n r = \"a\"\n Case Else\n r = \"c\"\nEnd Select", "r", "c"},
    {"If 1 > 2 Then\n r = 1\nElseIf 2 > 1 Then\n r = 2\nElse\n r = 3\nEnd If", "r", "2"},
    // Classes
    {"Class P\n Private v\n Public Property Get Val\n  Val = v\n End Property\n Public Property "
     "Let Val(x)\n"
     "  v = x * 2\n End Property\nEnd Class\nSet p = New P\np.Val = 4",
     "p.Val", "8"},
    {"Class D\n Public Default Property Get V\n  V = 42\n End Property\nEnd Class\nSet d = New D",
     "d + 0", "42"},
    {"Dim lg\nClass C\n Public n\n Sub Class_Initialize\n  lg = lg & \"i\"\n End Sub\n Sub "
     "Class_Terminate\n"
     "  lg = lg & \"t\" & n\n End Sub\nEnd Class\nSet o = New C\no.n = 1\nSet q = o\nSet o = "
     "Nothing\n"
     "lg = lg & \"-\"\nSet q = Nothing\nlg = lg & \"!\"",
     "lg", "i-t1!"},
    {"Class K\n Private secret\n Sub Class_Initialize\n  secret = 3\n End Sub\n Function Get3\n  "
     "Get3 = Me.Peek\n"
     " End Function\n Private Function Peek\n  Peek = secret\n End Function\nEnd Class\nSet k = "
     "New K",
     "k.Get3()", "3"},
    {"Class L\n Public items(2)\n Public Property Get Item(i)\n  Item = items(i)\n End Property\n"
     " Public Property Let Item(i, v)\n  items(i) = v\n End Property\nEnd Class\nSet l = New "
     "L\nl.Item(1) = \"z\"",
     "l.Item(1) & l.items(1)", "zz"},
    {"Class W\n Public a\nEnd Class\nSet w = New W\nWith w\n .a = 3\nEnd With", "w.a", "3"},
    {"Class N\n Public nxt\n Public v\nEnd Class\nSet a = New N\nSet a.nxt = New N\na.nxt.v = 5",
     "a.nxt.v", "5"},
    {"Class T\nEnd Class\nSet t = New T", "TypeName(t)", "T"},
    {"Class T\nEnd Class\nSet t = New T\nSet u = t", "t Is u", "True"},
    // Errors handled in script
    {"On Error Resume Next\nx = 1 / 0\nn = Err.Number", "n", "11"},
    {"Sub F\n x = 1 / 0\n y = 5\nEnd Sub\nOn Error Resume Next\nF\nn = Err.Number",
     "n & IsEmpty(y)", "11True"},
    {"On Error Resume Next\nx = 1 / 0\nOn Error GoTo 0\nn = Err.Number", "n", "0"},
    {"On Error Resume Next\nErr.Raise 1000, \"src\", \"desc\"",
     "Err.Number & Err.Source & Err.Description", "1000srcdesc"},
    {"On Error Resume Next\nErr.Raise 9\nd = Err.Description\nErr.Clear", "d & Err.Number",
     "Subscript out of range0"},
    {"On Error Resume Next\nSet o = Nothing\nIf o.Missing Then\n r = \"then\"\nElse\n r = "
     "\"else\"\nEnd If",
     "r & Err.Number", "then424"},
    // Dynamic code
    {"Execute \"x = 5\"", "x", "5"},
    {"Function F()\n Dim y\n Execute \"y = 7\"\n F = y\nEnd Function", "F()", "7"},
    {"ExecuteGlobal \"Function G(): G = 3: End Function\"", "G()", "3"},
    {"x = 4", "Eval(\"x * 2\")", "8"},
    {"Function F(a)\n F = Eval(\"a + 1\")\nEnd Function", "F(9)", "10"},
    {"Function D(a)\n D = a * 2\nEnd Function\nSet r = GetRef(\"D\")", "r(21)", "42"},
    // More argument passing
    {"Sub B(y)\n y = 9\nEnd Sub\nSub A(x)\n B x\nEnd Sub\nv = 1\nA v", "v", "9"},
    {"Class C\n Public n\nEnd Class\nSub Inc(a)\n a = a + 1\nEnd Sub\nSet o = New C\no.n = 1\nInc "
     "o.n",
     "o.n", "1"},
    {"Class C\n Public n\n Sub Bump\n  Inc n\n End Sub\nEnd Class\nSub Inc(a)\n a = a + 1\nEnd "
     "Sub\n"
     "Set o = New C\no.n = 1\no.Bump",
     "o.n", "2"},
    {"Function Len(x)\n Len = 99\nEnd Function", "Len(\"ab\")", "99"},
    {"Function Depth(n)\n If n = 0 Then\n  Depth = 0\n Else\n  Depth = 1 + Depth(n - 1)\n End "
     "If\nEnd Function",
     "Depth(1000)", "1000"},
    // Operators on the fast paths keep VBScript's types and rules
    {"x = 7 \\ 2", "x & VarType(x)", "32"},
    {"x = -7 Mod 3", "x", "-1"},
    {"x = 32767 * 2", "x & \":\" & VarType(x)", "65534:3"},
    {"x = -32768\ny = -x", "y & \":\" & VarType(y)", "32768:3"},
    {"x = 1.5 + 1", "x & VarType(x)", "2.55"},
    {"x = (2 < 2.5) And (3 >= 3)", "x", "True"},
    {"x = \"10\" + 5", "x", "15"},
    {"Function F()\n s = 100\n F = 1\nEnd Function\ns = 1\ns = s + F()", "s", "2"},
    {"Function F()\n s = 100\n F = 1\nEnd Function\ns = 1\nx = (s = F())", "x", "True"},
    // Loops
    {"c = 0\nFor x = 0 To 1 Step 0.25\n c = c + 1\nNext", "c", "5"},
    {"c = 0\nFor i = 1 To 10\n i = i + 1\n c = c + 1\nNext", "c", "5"},
    {"For i = 5 To 1\n c = 1\nNext", "IsEmpty(c) & i", "True5"},
    {"Sub S\n For i = 1 To 3\n  For j = 1 To 3\n   If j = 2 Then Exit Sub\n   c = c + 1\n  Next\n "
     "Next\nEnd Sub\n"
     "Dim c\nS",
     "c", "1"},
    {"i = 0\nDo While True\n i = i + 1\n If i = 4 Then Exit Do\nLoop", "i", "4"},
    {"x = \"b\"\nSelect Case x\n Case \"a\"\n r = 1\nEnd Select", "IsEmpty(r)", "True"},
    {"Class C\n Public hits\nEnd Class\nSet o = New C\nFunction Get1()\n n = n + 1\n Set Get1 = "
     "o\nEnd Function\n"
     "Dim n\nWith Get1()\n .hits = 1\n .hits = .hits + 1\nEnd With",
     "n & o.hits", "12"},
    // Arrays
    {"Const N = 3\nReDim a(N)", "UBound(a)", "3"},
    {"ReDim a(1, 2)\na(1, 2) = \"x\"\nReDim Preserve a(1, 4)", "a(1, 2) & UBound(a, 2)", "x4"},
    {"Class C\n Public v\nEnd Class\nDim a(1)\nSet a(0) = New C\na(0).v = 3", "a(0).v", "3"},
    {"Dim a(2)\nFor i = 0 To 2\n a(i) = i * i\nNext\nFor Each e In a\n s = s & e\nNext", "s",
     "014"},
    // Classes: termination order and scope
    {"Dim lg\nClass C\n Public name\n Public child\n Sub Class_Terminate\n  lg = lg & name\n End "
     "Sub\nEnd Class\n"
     "Set p = New C\np.name = \"p\"\nSet p.child = New C\np.child.name = \"c\"\nSet p = Nothing",
     "lg", "pc"},
    {"Dim lg\nClass C\n Sub Class_Terminate\n  lg = lg & \"t\"\n End Sub\nEnd Class\n"
     "Sub S\n Dim o\n Set o = New C\n lg = lg & \"s\"\nEnd Sub\nS\nlg = lg & \"!\"",
     "lg", "st!"},
    {"Class Box\n Private m\n Public Property Set Inner(o)\n  Set m = o\n End Property\n"
     " Public Property Get Inner\n  Set Inner = m\n End Property\nEnd Class\nSet b = New Box\nSet "
     "b.Inner = New Box",
     "TypeName(b.Inner)", "Box"},
    {"Class F\n Public Default Function Run(a)\n  Run = a * 3\n End Function\nEnd Class\nSet f = "
     "New F",
     "f(5)", "15"},
    {"Class C\n Public v\n Sub SetIt\n  Execute \"v = 12\"\n End Sub\n Function Twice\n  Twice = "
     "Eval(\"v * 2\")\n"
     " End Function\nEnd Class\nSet o = New C\no.SetIt",
     "o.Twice()", "24"},
    // Errors handled in script
    {"Function F\n On Error Resume Next\n x = 1 / 0\n F = Err.Number\nEnd Function", "F()", "11"},
    {"On Error Resume Next\nErr.Raise vbObjectError + 7\nn = Err.Number", "n = vbObjectError + 7",
     "True"},
    {"On Error Resume Next\nx = 1 / 0\ny = 2", "Err.Number & y", "112"},
    {"Class C\n Sub Class_Initialize\n  Err.Raise 5\n End Sub\nEnd Class\nOn Error Resume "
     "Next\nSet o = New C\n"
     "n = Err.Number",
     "n & IsEmpty(o)", "5True"},
    // Dynamic code
    {"Execute \"Sub Hello(x): r = x: End Sub\"\nDim r\nHello 4", "r", "4"},
    {"Sub S\n ExecuteGlobal \"Dim gv: gv = 3\"\nEnd Sub\nS", "gv", "3"},
    {"Set r = GetRef(\"Add2\")\nFunction Add2(a, b)\n Add2 = a + b\nEnd Function", "r(2, 3)", "5"},
    // Constants
    {"Const K = 5", "K * 2", "10"},
    {"Const A = 2, B = -3", "A * B", "-6"},
    {"x = vbCrLf", "Len(x)", "2"},
};

class VmValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(VmValueTest, ScriptGivesExpectedValue) {
  const ValueCase& c = GetParam();
  Engine engine;
  Module m = engine.globalModule();
  try {
    m.addCode(widen(c.script));
    EXPECT_EQ(narrow(toString(m.eval(widen(c.expression)))), c.expected) << c.script;
  } catch (const ScriptException& e) {
    ADD_FAILURE() << c.script << "\nraised " << e.error().number << " "
                  << narrow(e.error().description) << " at line " << e.error().line;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, VmValueTest, ::testing::ValuesIn(kValueCases));

struct ErrorCase {
  const char* script;
  std::int32_t number;
  std::int32_t line;
};

const ErrorCase kErrorCases[] = {
    {"Option Explicit\nDim a\na = 1\nb = 2", 500, 4},
    {"Option Explicit\nSub S\n q = 1\nEnd Sub\nS", 500, 3},
    {"Sub F(a)\nEnd Sub\nF 1, 2", 450, 3},
    {"Dim a(3)\nReDim a(5)", 10, 2},
    {"Const A = 2, B = A * 3", 1045, 1},
    {"Class C\n Dim f(2147483647)\nEnd Class\nSet o = New C", 7, 4},
    {"ReDim a(2147483647)", 7, 1},
    {"Dim a(3)\nx = a(4)", 9, 2},
    {"Function R(n)\n R = R(n + 1)\nEnd Function\nx = R(1)", 28, 2},
    {"Foo 1", 13, 1},
    {"Const K = 1\nK = 2", 501, 2},
    {"Sub F\n  x = 1\n  x = x / 0\nEnd Sub\nF", 11, 3},
    {"Class C\nEnd Class\nSet o = New C\no.zz", 438, 4},
    {"Set x = 5", 424, 1},
    {"Set o = Nothing\nx = o.a", 424, 2},
    {"x = 1\nErr.Raise 5", 5, 2},
    {"Set o = New Unknown", 506, 1},
    {"x = 1\nFor Each v In 5\nNext", 451, 2},
    {"Sub F\n On Error Resume Next\nEnd Sub\nF\nx = 1 / 0", 11, 5},
    {"ReDim a(2, 2)\nReDim Preserve a(3, 2)", 9, 2},
    {"x = 7 Mod 0", 11, 1},
    {"vbCrLf = 1", 501, 1},
    {"Option Explicit\nx = Eval(\"undefinedName\")", 500, 2},
    {"Class C\n Private p\nEnd Class\nSet o = New C\no.p = 1", 438, 5},
    {"Sub S\n Err.Raise 17\nEnd Sub\n\nS", 17, 2},
    {"x = Array(1)\ny = x(0, 0)", 9, 2},
    {"Dim a\na(0) = 1", 13, 2},
    {"x = 1\nExecute \"Err.Raise 6\"", 6, 2},
};

class VmErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(VmErrorTest, ScriptStopsWithError) {
  const ErrorCase& c = GetParam();
  Engine engine;
  try {
    engine.globalModule().addCode(widen(c.script));
    ADD_FAILURE() << c.script << "\nran without error";
  } catch (const ScriptException& e) {
    EXPECT_EQ(e.error().number, c.number) << c.script << "\n" << narrow(e.error().description);
    EXPECT_EQ(e.error().line, c.line) << c.script;
    EXPECT_EQ(engine.lastError().number, c.number);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, VmErrorTest, ::testing::ValuesIn(kErrorCases));

TEST(VmEngineTest, GlobalsAndProceduresPersistAndLaterDefinitionsReplace) {
  Engine engine;
  Module m = engine.globalModule();
  m.addCode(u"x = 1\nFunction F(a, b)\n F = a + b\nEnd Function\nSub S\nEnd Sub");
  m.addCode(u"x = x + 1\nFunction F(a, b)\n F = a * b\nEnd Function");
  EXPECT_EQ(toLong(m.eval(u"x")), 2);
  const Variant args[] = {Variant(std::int32_t{3}), Variant(std::int32_t{4})};
  EXPECT_EQ(toLong(m.run(u"f", args)), 12);
  // A procedure may call one that a later piece of code defines.
  m.addCode(u"Sub A\n B 1, 2\nEnd Sub");
  m.addCode(u"Dim r\nSub B(x, y)\n r = x + y\nEnd Sub\nA");
  EXPECT_EQ(toLong(m.eval(u"r")), 3);
  auto procs = m.procedures();
  ASSERT_EQ(procs.size(), 4u);
  EXPECT_EQ(procs[0].name, u"F");
  EXPECT_EQ(procs[0].numArgs, 2);
  EXPECT_TRUE(procs[0].hasReturnValue);
  EXPECT_FALSE(procs[1].hasReturnValue);
}

TEST(VmEngineTest, CompileErrorLeavesNothingBehind) {
  Engine engine;
  Module m = engine.globalModule();
  m.addCode(u"Function Keep()\n Keep = 1\nEnd Function");
  EXPECT_THROW(m.addCode(u"y = 1\nFunction Keep()\n Keep = 2\nEnd Function\nIf x Then"),
               ScriptException);
  EXPECT_EQ(toLong(m.run(u"Keep")), 1);
  EXPECT_TRUE(m.eval(u"IsEmpty(y)").boolValue());
  try {
    m.run(u"Missing");
    ADD_FAILURE() << "no error";
  } catch (const ScriptException& e) {
    EXPECT_EQ(e.error().number, 35);
  }
}

TEST(VmEngineTest, TimeoutEndsRunawayLoopsEvenUnderResumeNext) {
  Engine engine;
  engine.setTimeout(100);
  const char16_t* scripts[] = {u"Do\nLoop", u"On Error Resume Next\nDo\nLoop",
                               u"For i = 1 To 2 Step 0\nNext",
                               u"Sub R\n R\nEnd Sub\nOn Error Resume Next\nDo\n R\nLoop"};
  for (const char16_t* s : scripts) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(engine.globalModule().addCode(s), ScriptException);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  }
  // The engine stays usable.
  engine.globalModule().addCode(u"z = 1");
  EXPECT_EQ(toLong(engine.globalModule().eval(u"z")), 1);
}

// New makes a class the host gives when the script defines none of that name; the host's
// class stays through a reset, and a script class of the name comes first.
TEST(VmEngineTest, NewMakesTheHostsClassUnlessTheScriptHasOne) {
  Engine maker;
  maker.globalModule().addCode(
      u"Class Made\n Public Kind\nEnd Class\n"
      u"Function Make()\n Set Make = New Made\n Make.Kind = \"host\"\nEnd Function");
  Engine engine;
  engine.addClass(u"Builder",
                  [&] { return Ref<Object>(maker.globalModule().run(u"Make").objectValue()); });
  for (int round = 0; round < 2; ++round) {
    engine.globalModule().addCode(u"Set b = New builder");
    EXPECT_EQ(narrow(toString(engine.globalModule().eval(u"b.Kind"))), "host");
    engine.reset();
  }
  engine.globalModule().addCode(
      u"Class Builder\n Public Kind\n Private Sub Class_Initialize\n  Kind = \"script\"\n"
      u" End Sub\nEnd Class\nSet b = New Builder");
  EXPECT_EQ(narrow(toString(engine.globalModule().eval(u"b.Kind"))), "script");
}

TEST(VmEngineTest, ScriptInstancesAreAutomationObjects) {
  Engine a;
  a.globalModule().addCode(
      u"Dim terminated\nClass Counter\n Public Count\n Public Function Add(n)\n  Count = Count + "
      u"n\n  Add = "
      u"Count\n End Function\n"
      u" Private Sub Class_Terminate\n  terminated = terminated + 1\n End Sub\nEnd Class\n"
      u"Function Make()\n Set Make = New Counter\nEnd Function");
  Variant obj = a.globalModule().run(u"Make");
  ASSERT_TRUE(obj.isObject());
  Object& o = *obj.objectValue();
  EXPECT_EQ(o.typeName(), u"Counter");
  EXPECT_EQ(toLong(o.call(u"Add", {Variant(std::int32_t{5})})), 5);
  o.let(u"Count", Variant(std::int32_t{10}));
  EXPECT_EQ(toLong(o.get(u"count")), 10);
  EXPECT_EQ(o.memberId(u"Class_Terminate"), kDispIdUnknown);

  // Another engine reaches the object's members as globals.
  Engine b;
  b.addObject(u"counter", Ref<Object>(obj.objectValue()), true);
  b.globalModule().addCode(u"r = Add(2) & \":\" & counter.Count");
  EXPECT_EQ(toString(b.globalModule().eval(u"r")), u"12:12");
  b.reset();
  obj.clear();
  EXPECT_EQ(toLong(a.globalModule().eval(u"terminated")), 1);
}

TEST(VmEngineTest, ManyShortLivedInstancesEachTerminate) {
  Engine engine;
  Module m = engine.globalModule();
  m.addCode(
      u"Dim n\nClass Item\n Public v\n Sub Class_Terminate\n  n = n + 1\n End Sub\nEnd Class\n"
      u"For i = 1 To 100000\n Set o = New Item\n o.v = i\nNext\nSet o = Nothing");
  EXPECT_EQ(toLong(m.eval(u"n")), 100000);
}

TEST(VmEngineTest, ModulesHaveTheirOwnNamesAndSeeGlobals) {
  Engine engine;
  engine.globalModule().addCode(u"shared = 7\nFunction Twice(x)\n Twice = x * 2\nEnd Function");
  Module mod = engine.addModule(u"Mod1");
  mod.addCode(u"own = Twice(shared)");
  EXPECT_EQ(toLong(mod.eval(u"own")), 14);
  EXPECT_TRUE(engine.globalModule().eval(u"IsEmpty(own)").boolValue());
  EXPECT_THROW(engine.addModule(u"mod1"), ScriptException);
  ASSERT_TRUE(engine.findModule(u"MOD1").has_value());
  EXPECT_EQ(engine.modules().size(), 2u);
}

TEST(VmEngineTest, CodeObjectExposesVariablesAndProcedures) {
  Engine engine;
  Module m = engine.globalModule();
  m.addCode(u"Dim total\ntotal = 3\nFunction Plus(a)\n Plus = a + total\nEnd Function");
  Ref<Object> code = m.codeObject();
  EXPECT_EQ(toLong(code->get(u"total")), 3);
  code->let(u"total", Variant(std::int32_t{10}));
  EXPECT_EQ(toLong(code->call(u"Plus", {Variant(std::int32_t{1})})), 11);
}

TEST(VmEngineTest, RuntimeErrorReportsLineAndSourceOfObjectErrors) {
  Engine engine;
  try {
    engine.globalModule().addCode(u"x = 1\n\nErr.Raise 1234, \"MyApp\", \"went wrong\"");
    ADD_FAILURE();
  } catch (const ScriptException& e) {
    EXPECT_EQ(e.error().number, 1234);
    EXPECT_EQ(e.error().source, u"MyApp");
    EXPECT_EQ(e.error().description, u"went wrong");
    EXPECT_EQ(e.error().line, 3);
  }
}

// Runaway recursion ends with "Out of stack space" even on a thread with a small stack.
TEST(VmEngineTest, DeepRecursionOnSmallStackFailsCleanly) {
  struct Result {
    std::int32_t number = 0;
  } result;
  auto body = [](void* p) -> void* {
    Engine engine;
    try {
      engine.globalModule().addCode(
          u"Class C\n Function Down(n)\n  Down = Me.Down(n + 1) + Helper(n)\n End Function\nEnd "
          u"Class\n"
          u"Function Helper(n)\n Helper = n\nEnd Function\nSet c = New C\nx = c.Down(1)");
    } catch (const ScriptException& e) {
      static_cast<Result*>(p)->number = e.error().number;
    }
    return nullptr;
  };
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 1024 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attr, body, &result), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(result.number, 28);
}

// Mutated scripts must end in a clean error or a result, never a crash or a hang.
TEST(VmFuzzTest, MutatedScriptsFailCleanly) {
  std::mt19937 rng(12345);
  const std::u16string alphabet = u"()=.,:\n \"aZ1&+-*/\\<>";
  Engine engine;
  engine.setTimeout(20);
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 300; ++round) {
    std::u16string s = widen(kValueCases[rng() % std::size(kValueCases)].script);
    for (int k = 0, n = 1 + static_cast<int>(rng() % 4); k < n && !s.empty(); ++k) {
      const std::size_t at = rng() % s.size();
      switch (rng() % 3) {
        case 0:
          s.erase(at, 1 + rng() % 3);
          break;
        case 1:
          s.insert(at, 1, alphabet[rng() % alphabet.size()]);
          break;
        default:
          s[at] = alphabet[rng() % alphabet.size()];
          break;
      }
    }
    try {
      engine.globalModule().addCode(s);
    } catch (const ScriptException&) {
    }
    if (round % 50 == 49) engine.reset();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace vantorel::vbs
