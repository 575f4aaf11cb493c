#include "platform/vbscript/runtime/operators.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "support/raised_error.hpp"

namespace vantorel::vbs {
namespace {

// An object whose default member is a plain value.
class Holder : public Object {
 public:
  explicit Holder(Variant v) : value_(std::move(v)) {}
  Variant value() const { return value_; }
  void setValue(const Variant& v) { value_ = v; }

  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Holder", [](ClassInfo& c) {
      ClassBuilder<Holder>(c).prop<&Holder::value, &Holder::setValue>(u"Value").defaultMember(
          u"Value");
    });
    return info;
  }

 private:
  Variant value_;
};

// An object without a default member.
class Plain : public Object {
 public:
  std::int32_t count() const { return 0; }
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(
        u"Plain", [](ClassInfo& c) { ClassBuilder<Plain>(c).get<&Plain::count>(u"Count"); });
    return info;
  }
};

Variant I(int v) {
  return Variant(static_cast<std::int16_t>(v));
}
Variant L(std::int32_t v) {
  return Variant(v);
}
Variant D(double v) {
  return Variant(v);
}
Variant F(float v) {
  return Variant(v);
}
Variant By(int v) {
  return Variant(static_cast<std::uint8_t>(v));
}
Variant B(bool v) {
  return Variant(v);
}
Variant S(const char16_t* v) {
  return Variant(v);
}
Variant Cy(double v) {
  return Variant(toCurrency(Variant(v)));
}
Variant Dec(const char16_t* text) {
  return Variant(toDecimal(Variant(text)));
}
Variant Dt(double v) {
  return Variant::date(v);
}
const Variant kNull = Variant::null();
const Variant kEmpty;

std::string describe(const Variant& v) {
  std::string out = std::to_string(v.varType()) + ":";
  if (v.isNull() || v.isArray() || v.isObject()) return out;
  const std::u16string s = toString(v);
  return out + std::string(s.begin(), s.end());
}

// Same type and the same value, to the last bit for binary floating types.
bool same(const Variant& x, const Variant& y) {
  if (x.varType() != y.varType()) return false;
  switch (x.type()) {
    case VarType::Double:
    case VarType::Date:
      return x.doubleValue() == y.doubleValue();
    case VarType::Single:
      return x.singleValue() == y.singleValue();
    case VarType::Decimal:
      return toString(x) == toString(y);
    case VarType::Currency:
      return x.currencyValue() == y.currencyValue();
    case VarType::Null:
    case VarType::Empty:
      return true;
    default:
      return toString(x) == toString(y);
  }
}

using Binary = Variant (*)(const Variant&, const Variant&);

struct BinaryCase {
  const char* what;
  Binary op;
  Variant a;
  Variant b;
  Variant want;
};

void runTable(const std::vector<BinaryCase>& cases) {
  for (const BinaryCase& c : cases) {
    try {
      const Variant got = c.op(c.a, c.b);
      EXPECT_TRUE(same(got, c.want))
          << c.what << ": got " << describe(got) << ", want " << describe(c.want);
    } catch (const AutomationError& e) {
      ADD_FAILURE() << c.what << ": raised " << e.number();
    }
  }
}

TEST(Operators, ArithmeticResultTypes) {
  runTable({
      {"32767 + 1", opAdd, I(32767), I(1), L(32768)},
      {"1 + 2", opAdd, I(1), I(2), I(3)},
      {"Integer + Long", opAdd, I(1), L(2), L(3)},
      {"Long overflow", opAdd, L(2147483647), L(1), D(2147483648.0)},
      {"Byte + Byte", opAdd, By(200), By(50), By(250)},
      {"Byte overflow", opAdd, By(200), By(100), I(300)},
      {"Byte + Integer", opAdd, By(1), I(1), I(2)},
      {"text + number", opAdd, S(u"1"), I(2), D(3)},
      {"text + text", opAdd, S(u"1"), S(u"2"), S(u"12")},
      {"True + True", opAdd, B(true), B(true), I(-2)},
      {"Empty + Empty", opAdd, kEmpty, kEmpty, I(0)},
      {"Empty + text", opAdd, kEmpty, S(u"abc"), S(u"abc")},
      {"Empty + Byte", opAdd, By(5), kEmpty, By(5)},
      {"Empty + True", opAdd, kEmpty, B(true), I(-1)},
      {"Single + Long", opAdd, F(1.5f), L(1), D(2.5)},
      {"Single + Integer", opAdd, F(1.5f), I(1), F(2.5f)},
      {"Single overflow", opAdd, F(3e38f), F(3e38f), D(static_cast<double>(3e38f) * 2)},
      {"Double + Double", opAdd, D(0.1), D(0.2), D(0.1 + 0.2)},
      {"Date + number", opAdd, Dt(100), D(0.5), Dt(100.5)},
      {"number + Date", opAdd, I(1), Dt(100), Dt(101)},
      {"Date + text", opAdd, Dt(100), S(u"2"), Dt(102)},
      {"Date past 9999", opAdd, Dt(2958465), I(10), D(2958475)},
      {"Currency + Double", opAdd, Cy(1.5), D(1.25), Cy(2.75)},
      {"Decimal + Decimal", opAdd, Dec(u"0.1"), Dec(u"0.2"), Dec(u"0.3")},
      {"Decimal + Integer", opAdd, Dec(u"1.5"), I(1), Dec(u"2.5")},
      {"Decimal + Double", opAdd, Dec(u"1"), D(0.25), Dec(u"1.25")},
      {"Decimal signs", opAdd, Dec(u"-5.25"), Dec(u"2"), Dec(u"-3.25")},
      {"Date - Date", opSub, Dt(100.5), Dt(90), D(10.5)},
      {"Date - number", opSub, Dt(100), I(1), Dt(99)},
      {"Integer underflow", opSub, I(-32768), I(1), L(-32769)},
      {"Byte below 0", opSub, By(1), By(2), I(-1)},
      {"Empty - 5", opSub, kEmpty, I(5), I(-5)},
      {"text - text", opSub, S(u"10"), S(u"4"), D(6)},
      {"Decimal - Decimal", opSub, Dec(u"1"), Dec(u"0.0000000000000000000000000001"),
       Dec(u"0.9999999999999999999999999999")},
      {"200 * 200", opMul, I(200), I(200), L(40000)},
      {"Long product overflow", opMul, L(65536), L(65536), D(4294967296.0)},
      {"Byte * Byte", opMul, By(255), By(255), L(65025)},
      {"Currency * Double", opMul, Cy(2.5), D(2), D(5)},
      {"Currency * Currency", opMul, Cy(1.5), Cy(1.5), Cy(2.25)},
      {"Currency rounds half even, up", opMul, Cy(0.0003), Cy(0.5), Cy(0.0002)},
      {"Currency rounds half even, down", opMul, Cy(0.0001), Cy(0.5), Cy(0)},
      {"Currency rounds negative half even", opMul, Cy(-0.0003), Cy(0.5), Cy(-0.0002)},
      {"Currency * Single", opMul, Cy(1.5), F(2), Cy(3)},
      {"Decimal * Decimal", opMul, Dec(u"0.1"), Dec(u"0.1"), Dec(u"0.01")},
      {"Decimal * Integer", opMul, Dec(u"1.5"), I(3), Dec(u"4.5")},
      {"Date * number", opMul, Dt(2), I(2), D(4)},
      {"Single * Long", opMul, F(2), L(3), D(6)},
      {"10 / 4", opDiv, I(10), I(4), D(2.5)},
      {"4 / 2", opDiv, I(4), I(2), D(2)},
      {"Single / Single", opDiv, F(1), F(4), D(0.25)},
      {"Empty / 5", opDiv, kEmpty, I(5), D(0)},
      {"text / number", opDiv, S(u"9"), I(2), D(4.5)},
      {"Decimal / Decimal", opDiv, Dec(u"1"), Dec(u"3"), Dec(u"0.3333333333333333333333333333")},
      {"Decimal / Integer", opDiv, Dec(u"10"), I(4), Dec(u"2.5")},
      {"Decimal 2/3 rounds", opDiv, Dec(u"2"), Dec(u"3"), Dec(u"0.6666666666666666666666666667")},
      {"5 \\ 2", opIntDiv, I(5), I(2), I(2)},
      {"-7 \\ 2", opIntDiv, I(-7), I(2), I(-3)},
      {"Long \\ Integer", opIntDiv, L(7), I(2), L(3)},
      {"5.5 \\ 2 rounds to even", opIntDiv, D(5.5), I(2), L(3)},
      {"4.5 \\ 1 rounds to even", opIntDiv, D(4.5), I(1), L(4)},
      {"Byte \\ Byte", opIntDiv, By(7), By(2), By(3)},
      {"-32768 \\ -1", opIntDiv, I(-32768), I(-1), L(32768)},
      {"text \\ number", opIntDiv, S(u"7"), I(2), L(3)},
      {"True \\ 1", opIntDiv, B(true), I(1), I(-1)},
      {"-7 Mod 3", opMod, I(-7), I(3), I(-1)},
      {"7 Mod -3", opMod, I(7), I(-3), I(1)},
      {"5.5 Mod 2", opMod, D(5.5), I(2), L(0)},
      {"12.5 Mod 5", opMod, D(12.5), I(5), L(2)},
      {"Byte Mod Byte", opMod, By(7), By(4), By(3)},
      {"Long Mod", opMod, L(100000), I(7), L(100000 % 7)},
      {"2 ^ 10", opPow, I(2), I(10), D(1024)},
      {"-2 ^ 3", opPow, I(-2), I(3), D(-8)},
      {"2 ^ -1", opPow, I(2), I(-1), D(0.5)},
      {"Empty ^ Empty", opPow, kEmpty, kEmpty, D(1)},
      {"text ^ number", opPow, S(u"3"), I(2), D(9)},
  });
}

TEST(Operators, NullPropagatesThroughArithmetic) {
  runTable({
      {"Null + 1", opAdd, kNull, I(1), kNull},
      {"text + Null", opAdd, S(u"a"), kNull, kNull},
      {"Null - Empty", opSub, kNull, kEmpty, kNull},
      {"Null * 2", opMul, kNull, I(2), kNull},
      {"Null / 0", opDiv, kNull, I(0), kNull},
      {"1 \\ Null", opIntDiv, I(1), kNull, kNull},
      {"Null Mod 0", opMod, kNull, I(0), kNull},
      {"Null ^ 2", opPow, kNull, I(2), kNull},
  });
}

TEST(Operators, Concatenation) {
  runTable({
      {"Null & Null", opConcat, kNull, kNull, kNull},
      {"Null & text", opConcat, kNull, S(u"a"), S(u"a")},
      {"text & Null", opConcat, S(u"a"), kNull, S(u"a")},
      {"Empty & 1", opConcat, kEmpty, I(1), S(u"1")},
      {"True & text", opConcat, B(true), S(u"x"), S(u"Truex")},
      {"1.5 & Empty", opConcat, D(1.5), kEmpty, S(u"1.5")},
      {"1 & 2", opConcat, I(1), I(2), S(u"12")},
      {"Date & text", opConcat, Dt(39877), S(u"!"), S(u"3/5/2009!")},
  });
}

TEST(Operators, UnaryOperators) {
  struct Case {
    const char* what;
    Variant (*op)(const Variant&);
    Variant a;
    Variant want;
  };
  const std::vector<Case> cases = {
      {"-Integer min", opNegate, I(-32768), L(32768)},
      {"-Long min", opNegate, L(std::numeric_limits<std::int32_t>::min()), D(2147483648.0)},
      {"-Byte", opNegate, By(5), I(-5)},
      {"-True", opNegate, B(true), I(1)},
      {"-Empty", opNegate, kEmpty, I(0)},
      {"-text", opNegate, S(u"5"), D(-5)},
      {"-Null", opNegate, kNull, kNull},
      {"-Currency", opNegate, Cy(1.5), Cy(-1.5)},
      {"-Date", opNegate, Dt(5), Dt(-5)},
      {"-Decimal", opNegate, Dec(u"1.5"), Dec(u"-1.5")},
      {"-Single", opNegate, F(2.5f), F(-2.5f)},
      {"+text", opPlus, S(u"x"), S(u"x")},
      {"Not True", opNot, B(true), B(false)},
      {"Not 0", opNot, I(0), I(-1)},
      {"Not Null", opNot, kNull, kNull},
      {"Not Byte", opNot, By(0), By(255)},
      {"Not Empty", opNot, kEmpty, I(-1)},
      {"Not Long", opNot, L(5), L(-6)},
      {"Not Double", opNot, D(1.4), L(-2)},
      {"Not text False", opNot, S(u"False"), B(true)},
  };
  for (const Case& c : cases) {
    const Variant got = c.op(c.a);
    EXPECT_TRUE(same(got, c.want)) << c.what << ": got " << describe(got);
  }
  // Negating zero gives 0, not -0.
  EXPECT_FALSE(std::signbit(opNegate(D(0)).doubleValue()));
}

TEST(Operators, Comparisons) {
  runTable({
      {"1 < 2&", opLt, I(1), L(2), B(true)},
      {"2.5 >= 2", opGe, D(2.5), I(2), B(true)},
      {"a < b", opLt, S(u"a"), S(u"b"), B(true)},
      {"binary: a < B", opLt, S(u"a"), S(u"B"), B(false)},
      {"prefix sorts first", opLt, S(u"ab"), S(u"abc"), B(true)},
      {"above the BMP compares by code unit", opGt, S(u"\U0001F600"), S(u"\uFF21"), B(false)},
      {"number < any string", opLt, I(10), S(u"9"), B(true)},
      {"string > number", opGt, S(u"9"), I(10), B(true)},
      {"1 = \"1\"", opEq, I(1), S(u"1"), B(false)},
      {"Null = Null", opEq, kNull, kNull, kNull},
      {"Null <> 1", opNe, kNull, I(1), kNull},
      {"Empty = 0", opEq, kEmpty, I(0), B(true)},
      {"Empty = \"\"", opEq, kEmpty, S(u""), B(true)},
      {"Empty < \"a\"", opLt, kEmpty, S(u"a"), B(true)},
      {"Empty = Empty", opEq, kEmpty, kEmpty, B(true)},
      {"Empty > -1", opGt, kEmpty, I(-1), B(true)},
      {"True = -1", opEq, B(true), I(-1), B(true)},
      {"True < False", opLt, B(true), B(false), B(true)},
      {"Single = Double", opEq, F(0.5f), D(0.5), B(true)},
      {"Currency = Double", opEq, Cy(1.5), D(1.5), B(true)},
      {"Decimal = Currency", opEq, Dec(u"0.1"), Cy(0.1), B(true)},
      {"Decimal < Long", opLt, Dec(u"1.9999999999999999999999999"), L(2), B(true)},
      {"Decimal > Decimal", opGt, Dec(u"-1"), Dec(u"-1.5"), B(true)},
      {"Date = number", opEq, Dt(1), I(1), B(true)},
      {"Byte <= Integer", opLe, By(5), I(5), B(true)},
      {"equal strings", opNe, S(u"abc"), S(u"abc"), B(false)},
  });
}

TEST(Operators, LogicalOperatorsAreBitwiseAndThreeValued) {
  runTable({
      {"True And False", opAnd, B(true), B(false), B(false)},
      {"12 And 10", opAnd, I(12), I(10), I(8)},
      {"Long Or Integer", opOr, L(12), I(3), L(15)},
      {"Byte And Byte", opAnd, By(12), By(10), By(8)},
      {"Boolean And Byte", opAnd, B(true), By(255), I(255)},
      {"5 Xor 3", opXor, I(5), I(3), I(6)},
      {"5 Eqv 3", opEqv, I(5), I(3), I(-7)},
      {"True Imp False", opImp, B(true), B(false), B(false)},
      {"False Imp False", opImp, B(false), B(false), B(true)},
      {"Double And", opAnd, D(2.5), I(3), L(2)},
      {"text True And True", opAnd, S(u"True"), B(true), B(true)},
      {"numeric text Or", opOr, S(u"4"), I(1), L(5)},
      {"Empty Or Empty", opOr, kEmpty, kEmpty, I(0)},
      {"Null And False", opAnd, kNull, B(false), B(false)},
      {"False And Null", opAnd, B(false), kNull, B(false)},
      {"Null And True", opAnd, kNull, B(true), kNull},
      {"Null And 0", opAnd, kNull, I(0), I(0)},
      {"Null Or True", opOr, kNull, B(true), B(true)},
      {"Null Or False", opOr, kNull, B(false), kNull},
      {"Null Or -1", opOr, L(-1), kNull, L(-1)},
      {"Null Xor True", opXor, kNull, B(true), kNull},
      {"Null Eqv True", opEqv, kNull, B(true), kNull},
      {"False Imp Null", opImp, B(false), kNull, B(true)},
      {"True Imp Null", opImp, B(true), kNull, kNull},
      {"Null Imp True", opImp, kNull, B(true), B(true)},
      {"Null Imp False", opImp, kNull, B(false), kNull},
      {"Null And Null", opAnd, kNull, kNull, kNull},
  });
}

TEST(Operators, ObjectsReadTheirDefaultValue) {
  const Variant five(makeRef<Holder>(I(5)));
  const Variant alsoFive(makeRef<Holder>(L(5)));
  const Variant text(makeRef<Holder>(S(u"ab")));
  const Variant holdsNull(makeRef<Holder>(kNull));
  runTable({
      {"obj + 1", opAdd, five, I(1), I(6)},
      {"obj * obj", opMul, five, five, I(25)},
      {"obj & text", opConcat, five, S(u"x"), S(u"5x")},
      {"obj = 5", opEq, five, I(5), B(true)},
      {"obj = obj", opEq, five, alsoFive, B(true)},
      {"text obj + text", opAdd, text, S(u"c"), S(u"abc")},
      {"obj And 4", opAnd, five, I(4), I(4)},
      {"Null obj + 1", opAdd, holdsNull, I(1), kNull},
  });
  EXPECT_TRUE(same(opNegate(five), I(-5)));
  // Unary + alone leaves the object as it is.
  EXPECT_EQ(opPlus(five).objectValue(), five.objectValue());
  EXPECT_TRUE(isTrue(Variant(makeRef<Holder>(B(true)))));
  EXPECT_FALSE(isTrue(holdsNull));
}

TEST(Operators, IsComparesIdentity) {
  const auto h = makeRef<Holder>(I(1));
  const Variant a(h);
  const Variant b(h);
  const Variant other(makeRef<Holder>(I(1)));
  EXPECT_TRUE(opIs(a, b));
  EXPECT_FALSE(opIs(a, other));
  EXPECT_FALSE(opIs(a, Variant::nothing()));
  EXPECT_TRUE(opIs(Variant::nothing(), Variant::nothing()));
}

TEST(Operators, ErrorsCarryVbScriptNumbers) {
  const Variant array(SafeArray::fromValues({I(1), I(2)}));
  const Variant nothing = Variant::nothing();
  const Variant plain(makeRef<Plain>());
  const Variant maxCy(Currency{std::numeric_limits<std::int64_t>::max()});
  struct Case {
    const char* what;
    std::function<void()> f;
    std::int32_t want;
  };
  const std::vector<Case> cases = {
      {"1 / 0", [] { opDiv(I(1), I(0)); }, 11},
      {"0 / 0", [] { opDiv(I(0), I(0)); }, 6},
      {"Empty / Empty", [] { opDiv(kEmpty, kEmpty); }, 6},
      {"Decimal / 0", [] { opDiv(Dec(u"1"), I(0)); }, 11},
      {"5 \\ 0", [] { opIntDiv(I(5), I(0)); }, 11},
      {"5 Mod Empty", [] { opMod(I(5), kEmpty); }, 11},
      {"5 Mod 0.4", [] { opMod(I(5), D(0.4)); }, 11},
      {"text + number", [] { opAdd(S(u"abc"), I(1)); }, 13},
      {"text - text", [] { opSub(S(u"abc"), S(u"b")); }, 13},
      {"array + 1", [&] { opAdd(array, I(1)); }, 13},
      {"array = array", [&] { opEq(array, array); }, 13},
      {"array & text", [&] { opConcat(array, S(u"x")); }, 13},
      {"Not array", [&] { opNot(array); }, 13},
      {"missing + 1", [] { opAdd(Variant::missing(), I(1)); }, 13},
      {"Not text", [] { opNot(S(u"abc")); }, 13},
      {"Nothing + 1", [&] { opAdd(nothing, I(1)); }, 91},
      {"Nothing = 1", [&] { opEq(nothing, I(1)); }, 91},
      {"no default member", [&] { opAdd(plain, I(1)); }, 438},
      {"Currency overflow", [&] { opAdd(maxCy, maxCy); }, 6},
      {"Double overflow", [] { opMul(D(1e308), D(10)); }, 6},
      {"Decimal overflow", [] { opAdd(Dec(u"79228162514264337593543950335"), I(1)); }, 6},
      {"\\ of a huge Double", [] { opIntDiv(D(1e10), I(3)); }, 6},
      {"-8 ^ 0.5", [] { opPow(I(-8), D(0.5)); }, 5},
      {"0 ^ -1", [] { opPow(I(0), I(-1)); }, 5},
      {"1E300 ^ 2", [] { opPow(D(1e300), I(2)); }, 6},
      {"3 Is 3", [] { opIs(L(3), L(3)); }, 424},
      {"Empty Is Nothing", [&] { opIs(kEmpty, nothing); }, 424},
      {"If \"abc\"", [] { isTrue(S(u"abc")); }, 13},
  };
  for (const Case& c : cases) EXPECT_EQ(test::errorOf(c.f), c.want) << c.what;
}

TEST(Operators, ConditionsAndPlainEquality) {
  struct Case {
    Variant v;
    bool want;
  };
  const std::vector<Case> cases = {
      {kNull, false},   {kEmpty, false},    {I(0), false},          {L(7), true},
      {D(0.5), true},   {S(u"True"), true}, {S(u" false "), false}, {S(u"1"), true},
      {S(u"0"), false}, {Cy(0), false},     {By(1), true},          {Dt(0), false},
  };
  for (const Case& c : cases) EXPECT_EQ(isTrue(c.v), c.want) << describe(c.v);

  EXPECT_FALSE(valuesEqual(kNull, kNull));
  EXPECT_TRUE(valuesEqual(I(1), D(1)));
  EXPECT_FALSE(valuesEqual(S(u"a"), S(u"A")));
  EXPECT_TRUE(valuesEqual(kEmpty, S(u"")));
  EXPECT_FALSE(valuesEqual(I(1), S(u"1")));
}

// Integer arithmetic against exact 64-bit results, across the promotion boundaries.
TEST(Operators, IntegerArithmeticMatchesExactResults) {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<std::int32_t> any(std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max());
  std::uniform_int_distribution<int> small(-32768, 32767);
  for (int k = 0; k < 20000; ++k) {
    const bool wide = k % 2 == 0;
    const std::int64_t x = wide ? any(rng) : small(rng);
    const std::int64_t y = wide ? any(rng) : small(rng);
    const Variant a = wide ? L(static_cast<std::int32_t>(x)) : I(static_cast<int>(x));
    const Variant b = wide ? L(static_cast<std::int32_t>(y)) : I(static_cast<int>(y));
    const std::int64_t want[] = {x + y, x - y, x * y};
    const Variant got[] = {opAdd(a, b), opSub(a, b), opMul(a, b)};
    for (int i = 0; i < 3; ++i) {
      const std::int64_t w = want[i];
      VarType type = VarType::Double;
      if (!wide && w >= -32768 && w <= 32767) {
        type = VarType::Integer;
      } else if (w >= std::numeric_limits<std::int32_t>::min() &&
                 w <= std::numeric_limits<std::int32_t>::max()) {
        type = VarType::Long;
      }
      ASSERT_EQ(got[i].type(), type) << x << " op" << i << " " << y;
      ASSERT_EQ(toDouble(got[i]), static_cast<double>(w)) << x << " op" << i << " " << y;
    }
    if (y != 0) {
      ASSERT_EQ(toDouble(opIntDiv(a, b)), static_cast<double>(x / y));
      ASSERT_EQ(toDouble(opMod(a, b)), static_cast<double>(x % y));
    }
    ASSERT_EQ(opLt(a, b).boolValue(), x < y);
  }
}

// Decimal sums and differences agree with exact Currency arithmetic on the same values.
TEST(Operators, DecimalArithmeticIsExact) {
  std::mt19937_64 rng(99);
  std::uniform_int_distribution<std::int64_t> scaled(-1'000'000'000'000'000, 1'000'000'000'000'000);
  for (int k = 0; k < 3000; ++k) {
    const Currency x{scaled(rng)};
    const Currency y{scaled(rng)};
    const Variant dx(toDecimal(Variant(x)));
    const Variant dy(toDecimal(Variant(y)));
    ASSERT_EQ(toString(opAdd(dx, dy)), toString(Variant(Currency{x.scaled + y.scaled})));
    ASSERT_EQ(toString(opSub(dx, dy)), toString(Variant(Currency{x.scaled - y.scaled})));
    ASSERT_EQ(opLt(dx, dy).boolValue(), x.scaled < y.scaled);
    if (y.scaled != 0) {
      // (x / y) * y comes back to x within the last of 28 digits.
      const Variant q = opDiv(dx, dy);
      const double back = toDouble(opMul(q, dy));
      ASSERT_NEAR(back, toDouble(dx), std::abs(toDouble(dx)) * 1e-12 + 1e-12);
    }
  }
}

// Every operator on every pair of awkward values either answers or raises a runtime error, and
// the comparisons agree with each other.
TEST(Operators, EveryPairOfOddValuesGivesAnAnswerOrAnError) {
  const std::vector<Variant> values = {
      kEmpty,
      kNull,
      B(true),
      B(false),
      By(0),
      By(255),
      I(-32768),
      I(0),
      I(7),
      L(std::numeric_limits<std::int32_t>::min()),
      L(std::numeric_limits<std::int32_t>::max()),
      F(-3.4e38f),
      D(1.7976931348623157e308),
      D(-0.5),
      D(4.94e-324),
      Variant(Currency{std::numeric_limits<std::int64_t>::min()}),
      Cy(0.0001),
      Dec(u"79228162514264337593543950335"),
      Dec(u"-0.0000000000000000000000000001"),
      Dt(-657434),
      Dt(2958465.99),
      S(u""),
      S(u"abc"),
      S(u" 12 "),
      S(u"&HFFFF"),
      S(u"1e400"),
      S(u"true"),
      Variant::missing(),
      Variant::nothing(),
      Variant(makeRef<Holder>(I(3))),
      Variant(makeRef<Plain>()),
      Variant(SafeArray::fromValues({I(1)})),
  };
  const Binary ops[] = {opAdd, opSub, opMul, opDiv, opIntDiv, opMod, opPow, opConcat, opEq, opNe,
                        opLt,  opLe,  opGt,  opGe,  opAnd,    opOr,  opXor, opEqv,    opImp};
  for (const Variant& a : values) {
    for (const Variant& b : values) {
      for (Binary op : ops) {
        try {
          op(a, b);
        } catch (const AutomationError&) {
        }
      }
      Variant lt, gt, eq;
      try {
        lt = opLt(a, b);
        gt = opGt(b, a);
        eq = opEq(a, b);
      } catch (const AutomationError&) {
        continue;
      }
      ASSERT_TRUE(same(lt, gt)) << describe(a) << " < " << describe(b);
      ASSERT_EQ(valuesEqual(a, b), eq.type() == VarType::Boolean && eq.boolValue());
      ASSERT_TRUE(same(opEq(b, a), eq)) << describe(a) << " = " << describe(b);
    }
    for (auto op : {opNegate, opPlus, opNot}) {
      try {
        op(a);
      } catch (const AutomationError&) {
      }
    }
    try {
      isTrue(a);
    } catch (const AutomationError&) {
    }
  }
}

}  // namespace
}  // namespace vantorel::vbs
