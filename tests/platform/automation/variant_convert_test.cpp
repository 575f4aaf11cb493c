#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {
namespace {

class Holder : public Object {
 public:
  explicit Holder(Variant v) : value_(std::move(v)) {}
  Variant value() const { return value_; }
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Holder", [](ClassInfo& c) {
      ClassBuilder<Holder>(c).get<&Holder::value>(u"Value").defaultMember(u"Value");
    });
    return info;
  }

 private:
  Variant value_;
};

class NoDefault : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"NoDefault");
    return info;
  }
};

Decimal dec(std::uint64_t m, std::uint8_t scale, bool negative = false) {
  return Decimal::fromMagnitude(m, scale, negative);
}

// Same type and same value; Doubles compare exactly.
bool sameValue(const Variant& a, const Variant& b) {
  if (a.type() != b.type()) return false;
  switch (a.type()) {
    case VarType::Empty:
    case VarType::Null:
      return true;
    case VarType::Boolean:
      return a.boolValue() == b.boolValue();
    case VarType::Byte:
      return a.byteValue() == b.byteValue();
    case VarType::Integer:
      return a.integerValue() == b.integerValue();
    case VarType::Long:
      return a.longValue() == b.longValue();
    case VarType::Single:
      return a.singleValue() == b.singleValue();
    case VarType::Double:
    case VarType::Date:
      return a.doubleValue() == b.doubleValue();
    case VarType::Currency:
      return a.currencyValue() == b.currencyValue();
    case VarType::Decimal:
      return a.decimalValue() == b.decimalValue();
    case VarType::String:
      return a.stringValue() == b.stringValue();
    default:
      return false;
  }
}

std::string show(const Variant& v) {
  try {
    std::u16string s = toString(v);
    return std::to_string(static_cast<int>(v.type())) + ":" + std::string(s.begin(), s.end());
  } catch (const AutomationError& e) {
    return std::to_string(static_cast<int>(v.type())) + ":<error " + std::to_string(e.number()) +
           ">";
  }
}

constexpr std::int16_t I(int v) {
  return static_cast<std::int16_t>(v);
}
constexpr std::uint8_t B(int v) {
  return static_cast<std::uint8_t>(v);
}

struct ChangeRow {
  Variant in;
  VarType to;
  Variant want;  // ignored when error is set
  int error = 0;
};

TEST(VariantConvert, ChangeTypeFollowsVbscriptRules) {
  const Variant kNull = Variant::null();
  const ChangeRow rows[] = {
      // Rounding half to even, and overflow after rounding.
      {2.5, VarType::Integer, I(2)},
      {3.5, VarType::Integer, I(4)},
      {-2.5, VarType::Integer, I(-2)},
      {-3.5, VarType::Long, -4},
      {2.5000001, VarType::Long, 3},
      {32766.5, VarType::Integer, I(32766)},
      {32767.5, VarType::Integer, {}, 6},
      {2147483647.4, VarType::Long, 2147483647},
      {2147483647.5, VarType::Long, {}, 6},
      {-2147483648.5, VarType::Long, static_cast<std::int32_t>(-2147483647 - 1)},
      {std::nan(""), VarType::Long, {}, 6},
      {-0.4, VarType::Byte, B(0)},
      {254.5, VarType::Byte, B(254)},
      {255.5, VarType::Byte, {}, 6},
      {256, VarType::Byte, {}, 6},
      {-1, VarType::Byte, {}, 6},
      {Currency{25000}, VarType::Long, 2},
      {Currency{35000}, VarType::Integer, I(4)},
      {Currency{-25000}, VarType::Long, -2},
      {Variant(dec(25, 1)), VarType::Long, 2},
      {Variant(dec(35, 1, true)), VarType::Long, -4},
      {Variant::date(39877.5), VarType::Long, 39878},
      {Variant::date(39877.5), VarType::Double, 39877.5},
      // Empty, Null, Boolean.
      {Variant(), VarType::Long, 0},
      {Variant(), VarType::String, u""},
      {Variant(), VarType::Boolean, false},
      {Variant(), VarType::Date, Variant::date(0)},
      {kNull, VarType::Long, {}, 94},
      {kNull, VarType::String, {}, 94},
      {kNull, VarType::Boolean, {}, 94},
      {kNull, VarType::Null, kNull},
      {true, VarType::Integer, I(-1)},
      {true, VarType::Byte, B(255)},
      {true, VarType::Currency, Currency{-10000}},
      {true, VarType::String, u"True"},
      {false, VarType::String, u"False"},
      {true, VarType::Date, Variant::date(-1)},
      // Text to numbers.
      {u" 12 ", VarType::Long, 12},
      {u"2.5", VarType::Long, 2},
      {u"3.5", VarType::Integer, I(4)},
      {u"1e3", VarType::Long, 1000},
      {u"1E+3", VarType::Double, 1000.0},
      {u"1,000", VarType::Long, 1000},
      {u"$1,234.50", VarType::Currency, Currency{12345000}},
      {u"(5)", VarType::Long, -5},
      {u"-$5", VarType::Long, -5},
      {u".5", VarType::Double, 0.5},
      {u"40000", VarType::Integer, {}, 6},
      {u"40000", VarType::Long, 40000},
      {u"1e400", VarType::Double, {}, 6},
      {u"1e-400", VarType::Double, 0.0},
      {u"0.1", VarType::Single, 0.1f},
      {u"1e39", VarType::Single, {}, 6},
      {u"abc", VarType::Long, {}, 13},
      {u"", VarType::Long, {}, 13},
      {u"", VarType::Double, {}, 13},
      {u"1e", VarType::Double, {}, 13},
      {u"1.2.3", VarType::Double, {}, 13},
      {u"True", VarType::Long, {}, 13},
      // Hex and octal text: the target's own width first, then a Long's bit pattern.
      {u"&HFFFF", VarType::Long, 65535},
      {u"&HFFFF", VarType::Integer, I(-1)},
      {u"&HF060", VarType::Long, 61536},
      {u"&HFFFFFFFF", VarType::Long, -1},
      {u"&HFFFFFFFF", VarType::Double, -1.0},
      {u"&H100000000", VarType::Double, 4294967296.0},
      {u"&h1f", VarType::Byte, B(31)},
      {u"&H100", VarType::Byte, {}, 6},
      {u"&O17", VarType::Long, 15},
      {u"&H10000000000000000", VarType::Double, {}, 6},
      {u"&H", VarType::Long, {}, 13},
      {u"&HG", VarType::Long, {}, 13},
      // Text to Boolean.
      {u"True", VarType::Boolean, true},
      {u" false ", VarType::Boolean, false},
      {u"TRUE", VarType::Boolean, true},
      {u"0", VarType::Boolean, false},
      {u"0.5", VarType::Boolean, true},
      {u"yes", VarType::Boolean, {}, 13},
      // Currency: exact from text, four decimals half to even, the int64 range.
      {u"0.12345", VarType::Currency, Currency{1234}},
      {u"0.12355", VarType::Currency, Currency{1236}},
      {u"0.123451", VarType::Currency, Currency{1235}},
      {u"922337203685477.5807", VarType::Currency,
       Currency{std::numeric_limits<std::int64_t>::max()}},
      {u"-922337203685477.5808", VarType::Currency,
       Currency{std::numeric_limits<std::int64_t>::min()}},
      {u"922337203685477.5808", VarType::Currency, {}, 6},
      {1e15, VarType::Currency, {}, 6},
      {1.5, VarType::Currency, Currency{15000}},
      // Decimal: 28 decimals and 96 bits at most.
      {u"0.1", VarType::Decimal, Variant(dec(1, 1))},
      {u"1.50", VarType::Decimal, Variant(dec(15, 1))},
      {u"79228162514264337593543950335", VarType::Decimal,
       Variant(Decimal{0xFFFFFFFFu, 0xFFFFFFFFFFFFFFFFull, 0, false})},
      {u"79228162514264337593543950336", VarType::Decimal, {}, 6},
      {u"1.23456789012345678901234567891", VarType::Decimal,
       Variant(Decimal::fromMagnitude(
           static_cast<UInt128>(1234567890123456789ull) * 10000000000ull + 123456789ull, 28,
           false))},
      {u"0.00000000000000000000000000005", VarType::Decimal, Variant(Decimal{})},
      {u"0.00000000000000000000000000015", VarType::Decimal, Variant(dec(2, 28))},
      {0.1, VarType::Decimal, Variant(dec(1, 1))},
      {-2.5f, VarType::Decimal, Variant(dec(25, 1, true))},
      {Currency{-12340}, VarType::Decimal, Variant(dec(1234, 3, true))},
      {Variant(dec(1, 1)), VarType::Double, 0.1},
      {Variant(dec(1, 0)), VarType::Currency, Currency{10000}},
      {u"1e28", VarType::Decimal,
       Variant(Decimal::fromMagnitude(static_cast<UInt128>(10000000000000ull) * 1000000000000000ull,
                                      0, false))},
      {Variant(Decimal::fromMagnitude(static_cast<UInt128>(10000000000000ull) * 1000000000000000ull,
                                      0, false)),
       VarType::Long,
       {},
       6},
      // Dates: the OLE range.
      {3e6, VarType::Date, {}, 6},
      {-657435.0, VarType::Date, {}, 6},
      {2958465.5, VarType::Date, Variant::date(2958465.5)},
      {u"not a date", VarType::Date, {}, 13},
      {u"3/5/2009", VarType::Date, Variant::date(39877)},
      // What holds no value.
      {Variant::error(5), VarType::String, {}, 13},
      {Variant(SafeArray::fromValues({Variant(1)})), VarType::Long, {}, 13},
      {Variant(SafeArray::fromValues({Variant(1)})), VarType::String, {}, 13},
      {5, VarType::Object, {}, 13},
      {5, VarType::Empty, Variant()},
      {5, VarType::Null, {}, 13},
  };
  for (const ChangeRow& row : rows) {
    SCOPED_TRACE(show(row.in) + " -> " + std::to_string(static_cast<int>(row.to)));
    try {
      const Variant got = changeType(row.in, row.to);
      EXPECT_EQ(row.error, 0) << "got " << show(got);
      if (row.error == 0) {
        EXPECT_TRUE(sameValue(got, row.want)) << "got " << show(got);
      }
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), row.error);
    }
  }
}

TEST(VariantConvert, ToStringForms) {
  const std::pair<Variant, std::u16string> rows[] = {
      {0.1, u"0.1"},
      {1.0 / 3, u"0.333333333333333"},
      {2.0 / 3, u"0.666666666666667"},
      {0.1 + 0.2, u"0.3"},
      {1e20, u"1E+20"},
      {1.5e-7, u"1.5E-07"},
      {123456789012345.0, u"123456789012345"},
      {1e15, u"1E+15"},
      {1234567890123456.0, u"1.23456789012346E+15"},
      {999999999999999.9, u"1E+15"},
      {0.0001, u"0.0001"},
      {0.00001, u"1E-05"},
      {-2.5, u"-2.5"},
      {123.456, u"123.456"},
      {1e100, u"1E+100"},
      {-0.0, u"0"},
      {std::numeric_limits<double>::infinity(), u"1.#INF"},
      {0.1f, u"0.1"},
      {1e7f, u"1E+07"},
      {1234567.0f, u"1234567"},
      {3.14159274f, u"3.141593"},
      {Currency{15000}, u"1.5"},
      {Currency{1}, u"0.0001"},
      {Currency{-12345678}, u"-1234.5678"},
      {Currency{std::numeric_limits<std::int64_t>::min()}, u"-922337203685477.5808"},
      {Variant(dec(150, 2)), u"1.5"},
      {Variant(dec(1, 28, true)), u"-0.0000000000000000000000000001"},
      {Variant(dec(1200, 0)), u"1200"},
      {I(-32768), u"-32768"},
      {B(255), u"255"},
      {Variant::date(39877 + (7 * 3600 + 8 * 60 + 9) / 86400.0), u"3/5/2009 7:08:09 AM"},
  };
  for (const auto& [in, want] : rows) EXPECT_EQ(toString(in), want) << show(in);
}

TEST(VariantConvert, TakeTextMovesOnlyWhatTheValueAloneHolds) {
  const std::u16string text = u"a text long enough to be kept on the heap";
  Variant alone(text);
  EXPECT_EQ(takeText(std::move(alone)), text);
  Variant shared(text);
  const Variant other = shared;
  EXPECT_EQ(takeText(std::move(shared)), text);
  EXPECT_EQ(other.stringValue(), text);
  EXPECT_EQ(takeText(Variant::byteString(u"ab", true)), u"ab");
  EXPECT_EQ(takeText(Variant(2.5)), u"2.5");
  EXPECT_EQ(takeText(Variant()), u"");
  EXPECT_THROW(takeText(Variant::null()), AutomationError);
}

TEST(VariantConvert, ParseNumberPicksTheNarrowestType) {
  const std::pair<std::u16string, Variant> rows[] = {
      {u"1", I(1)},           {u"-32768", I(-32768)},
      {u"32768", 32768},      {u"3000000000", 3000000000.0},
      {u"1.0", I(1)},         {u"1.5", 1.5},
      {u"1e3", I(1000)},      {u"&HFFFF", 65535},
      {u"&HFFFFFFFF", I(-1)}, {u" -0 ", I(0)},
  };
  for (const auto& [text, want] : rows) {
    const auto got = parseNumber(text);
    ASSERT_TRUE(got.has_value()) << std::string(text.begin(), text.end());
    EXPECT_TRUE(sameValue(*got, want)) << show(*got);
  }
  for (const char16_t* bad :
       {u"", u"  ", u".", u"-", u"--1", u"(-1)", u"1 2", u"$", u"1e+", u"&O8"}) {
    EXPECT_FALSE(parseNumber(bad).has_value())
        << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
  }
}

TEST(VariantConvert, ObjectsConvertThroughTheirDefaultMember) {
  auto inner = makeRef<Holder>(Variant(u"2.5"));
  auto outer = makeRef<Holder>(Variant(inner));
  EXPECT_EQ(toLong(Variant(outer)), 2);
  EXPECT_EQ(toString(Variant(outer)), u"2.5");
  EXPECT_TRUE(defaultValue(Variant(outer)).isString());
  EXPECT_EQ(changeType(Variant(outer), VarType::Double).doubleValue(), 2.5);

  auto errorOf = [](const Variant& v) {
    try {
      toString(v);
    } catch (const AutomationError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(errorOf(Variant::nothing()), vberr::kObjectVariableNotSet);
  EXPECT_EQ(errorOf(Variant(makeRef<NoDefault>())), vberr::kNotSupported);
}

TEST(VariantConvert, TextRoundTripsKeepTheValue) {
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 2000; ++i) {
    // What CStr shows reads back to the same 15 digits.
    const double d = mantissa(rng) * std::pow(10.0, exponent(rng));
    const std::u16string text = formatDouble(d);
    EXPECT_EQ(formatDouble(toDouble(Variant(text))), text);

    const Currency c{static_cast<std::int64_t>(rng())};
    EXPECT_EQ(toCurrency(Variant(formatCurrency(c))), c);

    const auto scale = static_cast<std::uint8_t>(rng() % 29);
    Decimal m = Decimal::fromMagnitude((static_cast<UInt128>(rng() >> 32) << 64) | rng(), scale,
                                       rng() % 2 == 0);
    const std::u16string decText = formatDecimal(m);
    EXPECT_EQ(formatDecimal(toDecimal(Variant(decText))), decText);
  }
}

}  // namespace
}  // namespace vantorel
