#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <random>
#include <set>

#include "platform/automation/safe_array.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "platform/vbscript/builtin_call.hpp"
#include "support/random_edits.hpp"

namespace vantorel::vbs::runtime_test {
namespace {

using V = Variant;
constexpr int kInvalidCall = 5;
constexpr int kOverflow = 6;
constexpr int kTypeMismatch = 13;
constexpr int kNull = 94;

TEST(RuntimeConversion, FunctionsGiveTheirSubtypeAndErrors) {
  checkRows({
      {u"CInt", {V(2.5)}, integer(2)},
      {u"CInt", {V(3.5)}, integer(4)},
      {u"CInt", {V(u"2.5")}, integer(2)},
      {u"CInt", {V(40000.0)}, raises(kOverflow)},
      {u"CInt", {V::null()}, raises(kNull)},
      {u"CInt", {V(u"abc")}, raises(kTypeMismatch)},
      {u"CLng", {V(u"&HFFFF")}, V(std::int32_t{65535})},
      {u"CByte", {V(256.0)}, raises(kOverflow)},
      {u"CByte", {V(u"255")}, V(std::uint8_t{255})},
      {u"CBool", {V(u"true")}, V(true)},
      {u"CBool", {V(0.0)}, V(false)},
      {u"CDbl", {V(u"1,000.5")}, V(1000.5)},
      {u"CSng", {V(u"0.1")}, V(0.1f)},
      {u"CCur", {V(u"1.23456")}, V(Currency{12346})},
      {u"CStr", {V(1.5)}, V(u"1.5")},
      {u"CStr", {V(true)}, V(u"True")},
      {u"CStr", {V()}, V(u"")},
      {u"CStr", {V::null()}, raises(kNull)},
      {u"CDate", {V(u"3/5/2009")}, date(2009, 3, 5)},
      {u"CDate", {V(39877.5)}, date(2009, 3, 5, 12)},
      {u"CDate", {V(u"not a date")}, raises(kTypeMismatch)},
  });
}

TEST(RuntimeMath, RoundIsBankersOnTheShownDigits) {
  checkRows({
      {u"Round", {V(2.5)}, V(2.0)},
      {u"Round", {V(3.5)}, V(4.0)},
      {u"Round", {V(-2.5)}, V(-2.0)},
      {u"Round", {V(0.125), integer(2)}, V(0.12)},
      {u"Round", {V(0.12345), integer(4)}, V(0.1234)},
      {u"Round", {V(0.12355), integer(4)}, V(0.1236)},
      {u"Round", {V(2.675), integer(2)}, V(2.68)},
      {u"Round", {V(1234.5678), integer(2)}, V(1234.57)},
      {u"Round", {V(1.5), integer(20)}, V(1.5)},
      {u"Round", {V(Currency{25000})}, V(Currency{20000})},
      {u"Round", {V(Currency{12350}), integer(2)}, V(Currency{12400})},
      {u"Round", {V(1.5f)}, V(2.0f)},
      {u"Round", {integer(7)}, integer(7)},
      {u"Round", {V(u"2.5")}, V(2.0)},
      {u"Round", {V::null()}, V::null()},
      {u"Round", {V(1.5), integer(-1)}, raises(kInvalidCall)},
  });
}

TEST(RuntimeMath, FunctionsKeepTheSubtypeWhereVbscriptDoes) {
  const V pi(3.14159265358979);
  checkRows({
      {u"Int", {V(-2.5)}, V(-3.0)},
      {u"Fix", {V(-2.5)}, V(-2.0)},
      {u"Int", {integer(5)}, integer(5)},
      {u"Int", {V(Currency{-25000})}, V(Currency{-30000})},
      {u"Fix", {V(Currency{-25000})}, V(Currency{-20000})},
      {u"Int", {V(2.5f)}, V(2.0f)},
      {u"Int", {V(u"3.7")}, V(3.0)},
      {u"Int", {V(true)}, integer(-1)},
      {u"Int", {date(2009, 3, 5, 18)}, date(2009, 3, 5)},
      {u"Int", {V::null()}, V::null()},
      {u"Abs", {integer(-5)}, integer(5)},
      {u"Abs", {integer(-32768)}, V(std::int32_t{32768})},
      {u"Abs", {V(-2.5)}, V(2.5)},
      {u"Abs", {V(u"-3")}, V(3.0)},
      {u"Abs", {V(std::uint8_t{3})}, V(std::uint8_t{3})},
      {u"Abs", {V::null()}, V::null()},
      {u"Abs", {V()}, integer(0)},
      {u"Sgn", {V(-2.5)}, integer(-1)},
      {u"Sgn", {V(0.0)}, integer(0)},
      {u"Sgn", {V(u"7")}, integer(1)},
      {u"Sgn", {V::null()}, raises(kNull)},
      {u"Sqr", {integer(4)}, V(2.0)},
      {u"Sqr", {integer(-1)}, raises(kInvalidCall)},
      {u"Log", {integer(1)}, V(0.0)},
      {u"Log", {integer(0)}, raises(kInvalidCall)},
      {u"Exp", {integer(0)}, V(1.0)},
      {u"Exp", {integer(1000)}, raises(kOverflow)},
      {u"Atn", {integer(1)}, V(0.785398163397448)},
      {u"Cos", {integer(0)}, V(1.0)},
      {u"Sin", {integer(0)}, V(0.0)},
      {u"Tan", {integer(0)}, V(0.0)},
      {u"Cos", {pi}, V(-1.0)},
      {u"Sqr", {V(u"x")}, raises(kTypeMismatch)},
  });
}

// The documented generator, written out independently of the runtime.
struct ReferenceRnd {
  std::uint32_t x = 0x50000;
  float next() {
    x = static_cast<std::uint32_t>((std::uint64_t{x} * 1140671485u + 12820163u) % (1u << 24));
    return static_cast<float>(x) / 16777216.0f;
  }
  void seedNegative(float n) {
    const auto bits = std::bit_cast<std::uint32_t>(n);
    x = (bits + (bits >> 24)) % (1u << 24);
  }
  void randomize(double n) {
    const auto high = static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(n) >> 32);
    x = (x & 0xFFu) | ((((high >> 16) ^ high) & 0xFFFFu) << 8);
  }
};

TEST(RuntimeMath, RndFollowsTheDocumentedGenerator) {
  // A fresh engine starts from the generator's initial state: the classic 0.7055475, 0.533424.
  ScriptState engine;
  const auto rnd = [&](std::vector<Variant> args) { return call(u"Rnd", std::move(args), engine); };
  std::vector<float> fresh;
  for (int k = 0; k < 3; ++k) fresh.push_back(rnd({}).singleValue());
  ReferenceRnd ref;
  ASSERT_EQ(fresh.size(), 3u);
  for (const float f : fresh) EXPECT_EQ(f, ref.next());
  EXPECT_NEAR(fresh[0], 0.7055475, 1e-7);

  // A negative number seeds the same value every time; 0 repeats the last.
  const float minusOne = rnd({integer(-1)}).singleValue();
  EXPECT_NEAR(minusOne, 0.224007, 1e-6);
  EXPECT_EQ(rnd({integer(-1)}).singleValue(), minusOne);
  EXPECT_EQ(rnd({integer(0)}).singleValue(), minusOne);
  EXPECT_EQ(rnd({integer(0)}).varType(), 4);

  ref.seedNegative(-1.0f);
  ref.next();
  randomize(engine, V(10.0));
  ref.randomize(10.0);
  for (int k = 0; k < 20; ++k) {
    EXPECT_EQ(rnd({}).singleValue(), ref.next()) << "value " << k;
    EXPECT_EQ(rnd({integer(1)}).singleValue(), ref.next()) << "value " << k;
  }
  // Randomize keeps part of the state, so repeating it alone does not repeat the sequence.
  rnd({integer(-3)});
  randomize(engine, V(42.0));
  const float first = rnd({}).singleValue();
  rnd({integer(-3)});
  randomize(engine, V(42.0));
  EXPECT_EQ(rnd({}).singleValue(), first);
  for (int k = 0; k < 1000; ++k) {
    const float f = rnd({}).singleValue();
    ASSERT_TRUE(f >= 0 && f < 1) << f;
  }
}

TEST(RuntimeTypes, IsNumericAndIsDate) {
  checkRows({
      {u"IsNumeric", {V(u"12")}, V(true)},
      {u"IsNumeric", {V(u" 12 ")}, V(true)},
      {u"IsNumeric", {V(u"-1.5e5")}, V(true)},
      {u"IsNumeric", {V(u"&H10")}, V(true)},
      {u"IsNumeric", {V(u"1,000")}, V(true)},
      {u"IsNumeric", {V(u"$12")}, V(true)},
      {u"IsNumeric", {V(u"(12)")}, V(true)},
      {u"IsNumeric", {V(u"12abc")}, V(false)},
      {u"IsNumeric", {V(u"abc")}, V(false)},
      {u"IsNumeric", {V(u"")}, V(false)},
      {u"IsNumeric", {V(u"1e400")}, V(false)},
      {u"IsNumeric", {V()}, V(true)},
      {u"IsNumeric", {V::null()}, V(false)},
      {u"IsNumeric", {V(true)}, V(true)},
      {u"IsNumeric", {date(2009, 3, 5)}, V(false)},
      {u"IsNumeric", {V(Currency{1})}, V(true)},
      {u"IsDate", {V(u"3/5/2009")}, V(true)},
      {u"IsDate", {V(u"March 5, 2009 7:08 PM")}, V(true)},
      {u"IsDate", {V(u"hello")}, V(false)},
      {u"IsDate", {integer(5)}, V(false)},
      {u"IsDate", {date(2009, 3, 5)}, V(true)},
      {u"IsDate", {V::null()}, V(false)},
      {u"IsEmpty", {V()}, V(true)},
      {u"IsEmpty", {V(u"")}, V(false)},
      {u"IsNull", {V::null()}, V(true)},
      {u"IsNull", {V()}, V(false)},
      {u"IsObject", {V::nothing()}, V(true)},
      {u"IsObject", {integer(1)}, V(false)},
      {u"IsArray", {V(SafeArray::fromValues({integer(1)}))}, V(true)},
      {u"IsArray", {V(u"x")}, V(false)},
  });
}

TEST(RuntimeTypes, TypeNameAndVarType) {
  struct Case {
    Variant value;
    const char16_t* typeName;
    int varType;
  };
  const Case cases[] = {
      {V(), u"Empty", 0},
      {V::null(), u"Null", 1},
      {integer(1), u"Integer", 2},
      {V(std::int32_t{1}), u"Long", 3},
      {V(1.0f), u"Single", 4},
      {V(1.0), u"Double", 5},
      {V(Currency{1}), u"Currency", 6},
      {date(2009, 3, 5), u"Date", 7},
      {V(u"x"), u"String", 8},
      {V::nothing(), u"Nothing", 9},
      {V::error(5), u"Error", 10},
      {V(true), u"Boolean", 11},
      {V(Decimal{0, 15, 1, false}), u"Decimal", 14},
      {V(std::uint8_t{1}), u"Byte", 17},
      {V(SafeArray::fromValues({integer(1)})), u"Variant()", 8204},
      {V(SafeArray::fromValues({V(std::uint8_t{1})}, VarType::Byte)), u"Byte()", 8209},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(call(u"TypeName", {c.value}).stringValue(), c.typeName) << narrow(c.typeName);
    const Variant vt = call(u"VarType", {c.value});
    EXPECT_EQ(vt.type(), VarType::Integer);
    EXPECT_EQ(vt.integerValue(), c.varType) << narrow(c.typeName);
  }
}

TEST(RuntimeEnvironment, EngineAndObjects) {
  checkRows({
      {u"ScriptEngine", {}, V(u"VBScript")},
      {u"ScriptEngineMajorVersion", {}, V(std::int32_t{5})},
      {u"ScriptEngineMinorVersion", {}, V(std::int32_t{8})},
      {u"ScriptEngineBuildVersion", {}, V(std::int32_t{18702})},
      {u"CreateObject", {V(u"No.Such.Class")}, raises(429)},
      {u"GetObject", {V(u"x")}, raises(429)},
      {u"LoadPicture", {V(u"x.bmp")}, raises(kInvalidCall)},
      {u"RGB", {integer(255), integer(0), integer(0)}, V(std::int32_t{255})},
      {u"RGB", {integer(1), integer(2), integer(3)}, V(std::int32_t{0x030201})},
      {u"RGB", {integer(300), integer(0), integer(1)}, V(std::int32_t{0x0100FF})},
      {u"RGB", {integer(-1), integer(0), integer(0)}, raises(kInvalidCall)},
      {u"InputBox", {V(u"Name?"), V(u"Title"), V(u"Anna")}, V(u"Anna")},
      {u"InputBox", {V(u"Name?")}, V(u"")},
  });
}

TEST(RuntimeEnvironment, MsgBoxAsksThroughTheUserInterface) {
  auto backend = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(backend);
  // vbYesNo + vbQuestion + vbDefaultButton2: nobody answers, so the default, No.
  const Variant answer = call(u"MsgBox", {V(u"Continue?"), integer(4 + 32 + 256), V(u"Build")});
  backend->queueAnswer(ui::Answer::Yes);
  const Variant yes = call(u"MsgBox", {V(u"Again?"), integer(4)});
  const auto asked = backend->events(ui::RecordingBackend::Event::Kind::Asked);
  ui::setBackendForTesting(nullptr);

  EXPECT_EQ(answer.varType(), 2);
  EXPECT_EQ(answer.integerValue(), 7);
  EXPECT_EQ(yes.integerValue(), 6);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].question.text, u"Continue?");
  EXPECT_EQ(asked[0].question.title, u"Build");
  EXPECT_EQ(asked[0].question.icon, ui::Icon::Question);
  EXPECT_EQ(asked[1].question.title, u"VBScript");
}

TEST(RuntimeEnvironment, SetLocaleSwitchesNumberAndDateText) {
  EXPECT_EQ(call(u"GetLocale", {}).longValue(), 1033);
  EXPECT_EQ(call(u"SetLocale", {V(std::int32_t{1031})}).longValue(), 1033);
  EXPECT_EQ(call(u"GetLocale", {}).longValue(), 1031);
  EXPECT_EQ(call(u"CStr", {V(1.5)}).stringValue(), u"1,5");
  EXPECT_EQ(call(u"CStr", {V(1.5f)}).stringValue(), u"1,5");
  EXPECT_EQ(call(u"CStr", {V(Currency{15000})}).stringValue(), u"1,5");
  EXPECT_EQ(call(u"CDbl", {V(u"1,5")}).doubleValue(), 1.5);
  EXPECT_EQ(call(u"CDbl", {V(u"1.234,5")}).doubleValue(), 1234.5);
  EXPECT_EQ(call(u"CStr", {V(true)}).stringValue(), u"True");
  EXPECT_TRUE(call(u"IsNumeric", {V(u"1,5")}).boolValue());
  EXPECT_EQ(call(u"CStr", {date(2009, 3, 5, 19, 8, 9)}).stringValue(), u"05.03.2009 19:08:09");
  EXPECT_EQ(call(u"CDate", {V(u"05.03.2009")}).dateValue(), date(2009, 3, 5).dateValue());
  EXPECT_EQ(call(u"CDate", {V(u"13.03.2009 7:08")}).dateValue(),
            date(2009, 3, 13, 7, 8).dateValue());
  const Variant longDate = call(u"FormatDateTime", {date(2009, 3, 5), integer(1)});
  EXPECT_EQ(longDate.stringValue(), u"Donnerstag, 5. M\u00E4rz 2009");
  EXPECT_EQ(call(u"CDate", {longDate}).dateValue(), date(2009, 3, 5).dateValue());
  EXPECT_EQ(call(u"MonthName", {integer(3)}).stringValue(), u"M\u00E4rz");
  // Locale names work too, and the previous LCID comes back.
  EXPECT_EQ(call(u"SetLocale", {V(u"en-us")}).longValue(), 1031);
  EXPECT_EQ(call(u"CStr", {V(1.5)}).stringValue(), u"1.5");
  EXPECT_EQ(call(u"CDbl", {V(u"1,5")}).doubleValue(), 15.0);
  EXPECT_EQ(call(u"SetLocale", {V(u"de-DE")}).longValue(), 1033);
  EXPECT_EQ(call(u"SetLocale", {V(std::int32_t{1033})}).longValue(), 1031);
  checkRows({
      {u"SetLocale", {V(std::int32_t{9999})}, raises(kInvalidCall)},
      {u"SetLocale", {V(u"xx-yy")}, raises(kInvalidCall)},
  });
  EXPECT_EQ(call(u"GetLocale", {}).longValue(), 1033);
  // Each engine has its own setting.
  ScriptState otherEngine;
  call(u"SetLocale", {V(std::int32_t{1031})});
  const int other = call(u"GetLocale", {}, otherEngine).longValue();
  call(u"SetLocale", {V(std::int32_t{1033})});
  EXPECT_EQ(other, 1033);
}

TEST(RuntimeConstants, ValuesAndSubtypes) {
  std::set<std::u16string> names;
  for (const BuiltinConstant& c : builtinConstants()) {
    std::u16string lower;
    for (char16_t ch : c.name) lower += (ch >= u'A' && ch <= u'Z') ? ch + 32 : ch;
    EXPECT_TRUE(names.insert(lower).second) << narrow(c.name);
    EXPECT_EQ(c.name.substr(0, 2), u"vb") << narrow(c.name);
  }
  const auto find = [](std::u16string_view name) {
    for (const BuiltinConstant& c : builtinConstants()) {
      if (c.name == name) return c.value;
    }
    ADD_FAILURE() << "missing " << narrow(name);
    return Variant();
  };
  // Colour and message-box constants are Long whatever their value; the others Integer when
  // they fit.
  const std::pair<std::u16string_view, Variant> expected[] = {
      {u"vbCrLf", V(u"\r\n")},
      {u"vbNewLine", V(u"\r\n")},
      {u"vbNullChar", V(std::u16string(1, u'\0'))},
      {u"vbObjectError", V(std::int32_t{-2147221504})},
      {u"vbTrue", integer(-1)},
      {u"vbUseDefault", integer(-2)},
      {u"vbTextCompare", integer(1)},
      {u"vbSaturday", integer(7)},
      {u"vbFirstFullWeek", integer(3)},
      {u"vbShortTime", integer(4)},
      {u"vbArray", integer(8192)},
      {u"vbByte", integer(17)},
      {u"vbDefaultButton2", integer(256)},
      {u"vbMsgBoxSetForeground", V(std::int32_t{65536})},
      {u"vbNo", integer(7)},
      {u"vbRed", V(std::int32_t{255})},
      {u"vbBlack", V(std::int32_t{0})},
      {u"vbOKOnly", integer(0)},
      {u"vbGreen", V(std::int32_t{65280})},
      {u"vbWhite", V(std::int32_t{16777215})},
  };
  for (const auto& [name, value] : expected) {
    const Variant got = find(name);
    EXPECT_EQ(got.varType(), value.varType()) << narrow(name);
    EXPECT_EQ(toString(got), toString(value)) << narrow(name);
  }
}

// Random and mutated text through the conversions that parse it, in both locales: a value or
// a runtime error, never a crash.
TEST(RuntimeConversion, FuzzedTextGivesAValueOrAnError) {
  const std::u16string seeds[] = {
      u"3/5/2009 7:08:09 PM",           u"-1,234.5e3", u"&HFFFF",
      u"Donnerstag, 5. M\u00E4rz 2009", u"($12.50)",   u"2009-03-05T07:08"};
  const char16_t alphabet[] = u"0123456789/.,:-+eE&HhO $()AMPTamp \u00E4\u00DFJanMrz";
  std::mt19937 rng(7);
  for (const std::int32_t lcid : {1033, 1031}) {
    ScopedNumberLocale locale(lcid);
    for (int k = 0; k < 3000; ++k) {
      const std::u16string s = test::randomlyEdited(seeds[rng() % std::size(seeds)], rng, alphabet,
                                                    1 + static_cast<int>(rng() % 4));
      for (const char16_t* fn : {u"CDbl", u"CDate", u"CInt", u"IsNumeric", u"IsDate"}) {
        try {
          call(fn, {V(s)});
        } catch (const AutomationError& e) {
          EXPECT_TRUE(e.number() == kTypeMismatch || e.number() == kOverflow) << e.number();
        }
      }
    }
  }
}

}  // namespace
}  // namespace vantorel::vbs::runtime_test
