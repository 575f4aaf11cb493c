#include <gtest/gtest.h>

#include <random>
#include <set>

#include "platform/automation/bind.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/text/strings.hpp"
#include "string_test_support.hpp"

namespace vantorel::vbs::string_test {
namespace {

constexpr std::u16string_view kDay = u"This is a beautiful day!";

void check(const std::vector<Case>& cases) {
  runCases(stringFunctions(), cases);
}

TEST(StringFunctions, TableNamesAreUniqueAndCountsSane) {
  std::set<std::u16string> names;
  for (const BuiltinFunction& f : stringFunctions()) {
    EXPECT_TRUE(names.insert(toLower(f.name)).second) << narrow(f.name);
    EXPECT_TRUE(f.maxArgs < 0 || f.minArgs <= f.maxArgs) << narrow(f.name);
    EXPECT_NE(f.fn, nullptr);
  }
}

TEST(StringFunctions, LengthAndSubstrings) {
  check({
      {u"Len", {str(u"abc")}, i4(3)},
      {u"Len", {str(u"")}, i4(0)},
      {u"Len", {Variant()}, i4(0)},
      {u"Len", {kNull}, kNull},
      {u"Len", {i2(123)}, i4(3)},
      {u"Len", {Variant(12.5)}, i4(4)},
      {u"LenB", {str(u"ab")}, i4(4)},
      {u"LenB", {kNull}, kNull},
      {u"Left", {str(u"abc"), i2(2)}, str(u"ab")},
      {u"Left", {str(u"abc"), i2(5)}, str(u"abc")},
      {u"Left", {str(u"abc"), i2(0)}, str(u"")},
      {u"Left", {str(u"abc"), i2(-1)}, {}, 5},
      {u"Left", {kNull, i2(2)}, kNull},
      {u"Left", {str(u"abc"), kNull}, {}, 94},
      {u"Right", {str(u"abc"), i2(2)}, str(u"bc")},
      {u"Right", {str(u"abc"), i2(9)}, str(u"abc")},
      {u"Right", {str(u"abc"), i2(-1)}, {}, 5},
      {u"Right", {i2(1234), i2(2)}, str(u"34")},
      {u"Mid", {str(u"VBScript is fun!"), i2(3), i2(6)}, str(u"Script")},
      {u"Mid", {str(u"abc"), i2(2)}, str(u"bc")},
      {u"Mid", {str(u"abc"), i2(2), i2(10)}, str(u"bc")},
      {u"Mid", {str(u"abc"), i2(4)}, str(u"")},
      {u"Mid", {str(u"abc"), i2(10), i2(2)}, str(u"")},
      {u"Mid", {str(u"abc"), i2(1), i2(0)}, str(u"")},
      {u"Mid", {str(u"abc"), i2(0)}, {}, 5},
      {u"Mid", {str(u"abc"), i2(1), i2(-1)}, {}, 5},
      {u"Mid", {str(u"abc"), Variant(2.5)}, str(u"bc")},  // CLng rounds half to even
      {u"Mid", {kNull, i2(1)}, kNull},
      {u"Mid", {str(u"abc"), kNull}, {}, 94},
      {u"Mid", {str(u"abc"), str(u"x")}, {}, 13},
      {u"LeftB", {str(u"abc"), i2(2)}, str(u"a")},
      {u"RightB", {str(u"abc"), i2(2)}, str(u"c")},
      {u"MidB", {str(u"abc"), i2(3), i2(2)}, str(u"b")},
      {u"MidB", {str(u"abc"), i2(0)}, {}, 5},
  });
}

TEST(StringFunctions, InStr) {
  check({
      {u"InStr", {str(kDay), str(u"beautiful")}, i4(11)},
      {u"InStr", {i2(1), str(kDay), str(u"i")}, i4(3)},
      {u"InStr", {i2(7), str(kDay), str(u"i")}, i4(16)},
      {u"InStr", {i2(1), str(kDay), str(u"t"), i2(1)}, i4(1)},
      {u"InStr", {i2(1), str(kDay), str(u"t"), i2(0)}, i4(15)},
      {u"InStr", {str(u""), str(u"")}, i4(0)},
      {u"InStr", {str(u"abc"), str(u"")}, i4(1)},
      {u"InStr", {i2(3), str(u"abc"), str(u"")}, i4(3)},
      {u"InStr", {i2(4), str(u"abc"), str(u"")}, i4(0)},
      {u"InStr", {i2(3), str(u"abc"), str(u"c")}, i4(3)},
      {u"InStr", {i2(4), str(u"abc"), str(u"c")}, i4(0)},
      {u"InStr", {str(u"abc"), str(u"abcd")}, i4(0)},
      {u"InStr", {kMissing, str(u"abc"), str(u"b")}, i4(2)},
      {u"InStr", {kNull, str(u"a")}, kNull},
      {u"InStr", {str(u"a"), kNull}, kNull},
      {u"InStr", {i2(0), str(u"abc"), str(u"a")}, {}, 5},
      {u"InStr", {kNull, str(u"abc"), str(u"a")}, {}, 94},
      {u"InStr", {i2(1), str(u"abc"), str(u"a"), i2(2)}, {}, 5},
      {u"InStr", {str(u"abc"), str(u"b"), i2(1)}, {}, 13},  // compare needs start
      {u"InStr", {i2(1234), i2(3)}, i4(3)},
      // The first unit is found first, then the rest compared: a false start, a unit that
      // shares the low byte of the one sought, a needle that runs past the end.
      {u"InStr", {str(u"aaab"), str(u"aab")}, i4(2)},
      {u"InStr", {str(u"\u0141A"), str(u"A")}, i4(2)},
      {u"InStr", {str(u"\u0141"), str(u"A")}, i4(0)},
      {u"InStr", {str(u"x\u20ACy"), str(u"\u20ACy")}, i4(2)},
      {u"InStr", {str(u"abc"), str(u"cd")}, i4(0)},
      {u"InStr", {i2(2), str(u"abab"), str(u"ab")}, i4(3)},
      {u"InStrB", {str(u"abc"), str(u"b")}, i4(3)},
      {u"InStrB", {i2(2), str(u"abc"), str(u"")}, i4(2)},
      {u"InStrRev", {str(kDay), str(u"beautiful")}, i4(11)},
      {u"InStrRev", {str(kDay), str(u"i"), i2(-1)}, i4(16)},
      {u"InStrRev", {str(kDay), str(u"i"), i2(7)}, i4(6)},
      {u"InStrRev", {str(kDay), str(u"T"), i2(-1), i2(1)}, i4(15)},
      {u"InStrRev", {str(kDay), str(u"T"), i2(-1), i2(0)}, i4(1)},
      {u"InStrRev", {str(u"abcabc"), str(u"abc"), i2(5)}, i4(1)},  // a match must end by start
      {u"InStrRev", {str(u"abcabc"), str(u"abc"), i2(6)}, i4(4)},
      {u"InStrRev", {str(u"abc"), str(u""), i2(2)}, i4(2)},
      {u"InStrRev", {str(u"abc"), str(u"")}, i4(3)},
      {u"InStrRev", {str(u""), str(u"a")}, i4(0)},
      {u"InStrRev", {str(u"abc"), str(u"a"), i2(4)}, i4(0)},
      {u"InStrRev", {str(u"abc"), str(u"a"), i2(0)}, {}, 5},
      {u"InStrRev", {str(u"abc"), str(u"a"), i2(-2)}, {}, 5},
      {u"InStrRev", {kNull, str(u"a")}, kNull},
  });
}

TEST(StringFunctions, ReplaceAndStrComp) {
  check({
      {u"Replace", {str(kDay), str(u"i"), str(u"##")}, str(u"Th##s ##s a beaut##ful day!")},
      {u"Replace", {str(kDay), str(u"i"), str(u"##"), i2(15)}, str(u"t##ful day!")},
      {u"Replace",
       {str(kDay), str(u"i"), str(u"##"), i2(1), i2(2)},
       str(u"Th##s ##s a beautiful day!")},
      {u"Replace", {str(u"ABCabc"), str(u"b"), str(u"x"), i2(1), i2(-1), i2(1)}, str(u"AxCaxc")},
      {u"Replace", {str(u"ABCabc"), str(u"b"), str(u"x")}, str(u"ABCaxc")},
      {u"Replace", {str(u"aaa"), str(u"a"), str(u"aa")}, str(u"aaaaaa")},
      {u"Replace", {str(u"abc"), str(u""), str(u"x")}, str(u"abc")},
      {u"Replace", {str(u"abc"), str(u"b"), str(u"")}, str(u"ac")},
      {u"Replace", {str(u"abc"), str(u"b"), str(u"x"), i2(4)}, str(u"")},
      {u"Replace", {str(u"abcb"), str(u"b"), str(u"x"), i2(3), i2(0)}, str(u"cb")},
      {u"Replace", {str(u""), str(u"a"), str(u"b")}, str(u"")},
      {u"Replace", {str(u"abc"), str(u"b"), str(u"x"), i2(0)}, {}, 5},
      {u"Replace", {str(u"abc"), str(u"b"), str(u"x"), i2(1), i2(-2)}, {}, 5},
      {u"Replace", {kNull, str(u"a"), str(u"b")}, {}, 94},
      {u"Replace", {i2(1212), i2(1), i2(3)}, str(u"3232")},
      {u"StrComp", {str(u"a"), str(u"b")}, i2(-1)},
      {u"StrComp", {str(u"b"), str(u"a")}, i2(1)},
      {u"StrComp", {str(u"A"), str(u"a")}, i2(-1)},
      {u"StrComp", {str(u"A"), str(u"a"), i2(1)}, i2(0)},
      {u"StrComp", {str(u"a"), kNull}, kNull},
      {u"StrComp", {str(u"a"), str(u"a"), i2(7)}, {}, 5},
  });
}

TEST(StringFunctions, CaseTrimAndRepetition) {
  check({
      {u"LCase", {str(u"AbC\u00C9")}, str(u"abc\u00E9")},
      {u"UCase", {str(u"AbC")}, str(u"ABC")},
      {u"UCase", {i2(123)}, str(u"123")},
      {u"LCase", {kNull}, kNull},
      {u"Trim", {str(u"  a b  ")}, str(u"a b")},
      {u"LTrim", {str(u"  a b  ")}, str(u"a b  ")},
      {u"RTrim", {str(u"  a b  ")}, str(u"  a b")},
      {u"Trim", {str(u"\ta\t")}, str(u"\ta\t")},  // blanks only
      {u"Trim", {kNull}, kNull},
      {u"Space", {i2(3)}, str(u"   ")},
      {u"Space", {i2(0)}, str(u"")},
      {u"Space", {i2(-1)}, {}, 5},
      {u"Space", {kNull}, {}, 94},
      {u"String", {i2(3), str(u"ab")}, str(u"aaa")},
      {u"String", {i2(2), i2(65)}, str(u"AA")},
      {u"String", {i2(2), i2(321)}, str(u"AA")},
      {u"String", {i2(1), i2(128)}, str(u"\u20AC")},
      {u"String", {i2(-1), str(u"a")}, {}, 5},
      {u"String", {i2(2), str(u"")}, {}, 5},
      {u"String", {kNull, str(u"a")}, kNull},
      {u"String", {i2(2), kNull}, kNull},
      {u"StrReverse", {str(u"VBScript")}, str(u"tpircSBV")},
      {u"StrReverse", {str(u"")}, str(u"")},
      {u"StrReverse", {str(u"a\U0001F600b")}, str(u"b\U0001F600a")},
      {u"StrReverse", {kNull}, {}, 94},
  });
}

TEST(StringFunctions, CharacterCodesAndRadix) {
  check({
      {u"Asc", {str(u"Abc")}, i2(65)},
      {u"Asc", {str(u"\u20AC")}, i2(128)},  // the Windows-1252 code
      {u"Asc", {str(u"\u4E2D")}, i2(63)},
      {u"Asc", {str(u"")}, {}, 5},
      {u"Asc", {kNull}, {}, 94},
      {u"AscB", {str(u"A")}, i2(65)},
      {u"AscW", {str(u"\u20AC")}, i2(8364)},
      {u"AscW", {str(u"\uFFFF")}, i2(-1)},
      {u"Chr", {i2(65)}, str(u"A")},
      {u"Chr", {i2(128)}, str(u"\u20AC")},
      {u"Chr", {i2(0)}, str(std::u16string_view(u"\0", 1))},
      {u"Chr", {i2(256)}, {}, 5},
      {u"Chr", {i2(-1)}, {}, 5},
      {u"ChrB", {i2(65)}, str(u"A")},
      {u"ChrW", {i2(8364)}, str(u"\u20AC")},
      {u"ChrW", {i2(-1)}, str(u"\uFFFF")},
      {u"ChrW", {i4(65536)}, {}, 5},
      {u"ChrW", {i4(-32769)}, {}, 5},
      {u"Hex", {i2(255)}, str(u"FF")},
      {u"Hex", {i2(459)}, str(u"1CB")},
      {u"Hex", {i2(-1)}, str(u"FFFF")},
      {u"Hex", {i4(-1)}, str(u"FFFFFFFF")},
      {u"Hex", {Variant(true)}, str(u"FFFF")},
      {u"Hex", {Variant(10.5)}, str(u"A")},
      {u"Hex", {Variant()}, str(u"0")},
      {u"Hex", {kNull}, kNull},
      {u"Hex", {str(u"abc")}, {}, 13},
      {u"Hex", {Variant(3e10)}, {}, 6},
      {u"Oct", {i2(8)}, str(u"10")},
      {u"Oct", {i2(459)}, str(u"713")},
      {u"Oct", {i2(-1)}, str(u"177777")},
      {u"Oct", {i4(-1)}, str(u"37777777777")},
  });
}

TEST(StringFunctions, EscapeAndUnescape) {
  check({
      {u"Escape", {str(u"a b+c/\u00E9\u20AC")}, str(u"a%20b+c/%E9%u20AC")},
      {u"Escape", {str(u"@*_+-./AZaz09")}, str(u"@*_+-./AZaz09")},
      {u"Escape", {str(u"~!%")}, str(u"%7E%21%25")},
      {u"Escape", {kNull}, kNull},
      {u"Unescape", {str(u"a%20b%u20AC%e9")}, str(u"a b\u20AC\u00E9")},
      {u"Unescape", {str(u"100%")}, str(u"100%")},
      {u"Unescape", {str(u"%zz%u12%U20AC")}, str(u"%zz%u12%U20AC")},
      {u"Unescape", {kNull}, kNull},
  });
}

TEST(StringFunctions, FormatNumbers) {
  const Variant currency(Currency{123456789});  // 12345.6789
  check({
      {u"FormatNumber", {i2(20000)}, str(u"20,000.00")},
      {u"FormatNumber", {i2(20000), i2(5)}, str(u"20,000.00000")},
      {u"FormatNumber", {Variant(0.2), kMissing, i2(0)}, str(u".20")},
      {u"FormatNumber", {Variant(0.2), kMissing, i2(-1)}, str(u"0.20")},
      {u"FormatNumber", {i2(-50), kMissing, kMissing, i2(0)}, str(u"-50.00")},
      {u"FormatNumber", {i2(-50), kMissing, kMissing, i2(-1)}, str(u"(50.00)")},
      {u"FormatNumber", {i4(1000000), kMissing, kMissing, kMissing, i2(0)}, str(u"1000000.00")},
      {u"FormatNumber", {i4(1000000), kMissing, kMissing, kMissing, i2(-1)}, str(u"1,000,000.00")},
      {u"FormatNumber", {Variant(2.675), i2(2)}, str(u"2.68")},
      {u"FormatNumber", {Variant(999.995), i2(2)}, str(u"1,000.00")},
      {u"FormatNumber", {Variant(1234.5), i2(0)}, str(u"1,235")},
      {u"FormatNumber", {Variant(-0.001), i2(2)}, str(u"0.00")},
      {u"FormatNumber", {Variant(1e-7), i2(8)}, str(u"0.00000010")},
      {u"FormatNumber", {Variant(1.5e20), i2(0)}, str(u"150,000,000,000,000,000,000")},
      {u"FormatNumber", {currency, i2(2)}, str(u"12,345.68")},
      {u"FormatNumber", {str(u"1234.5")}, str(u"1,234.50")},
      {u"FormatNumber", {Variant()}, str(u"0.00")},
      {u"FormatNumber", {i2(1), i2(-2)}, {}, 5},
      {u"FormatNumber", {kNull}, {}, 13},
      {u"FormatNumber", {str(u"abc")}, {}, 13},
      {u"FormatCurrency", {i2(1000)}, str(u"$1,000.00")},
      {u"FormatCurrency", {i2(-1000)}, str(u"($1,000.00)")},
      {u"FormatCurrency", {i2(-1000), i2(2), i2(-1), i2(0)}, str(u"-$1,000.00")},
      {u"FormatCurrency", {Variant(0.5), i2(0)}, str(u"$1")},
      {u"FormatPercent", {Variant(0.5)}, str(u"50.00%")},
      {u"FormatPercent", {Variant(-0.25), i2(0)}, str(u"-25%")},
      {u"FormatPercent", {Variant(-0.25), i2(0), kMissing, i2(-1)}, str(u"(25%)")},
      {u"FormatPercent", {Variant(1234.5)}, str(u"123,450.00%")},
      {u"FormatPercent", {Variant(0.00123), i2(1)}, str(u"0.1%")},
  });
}

TEST(StringFunctions, FormatFollowsTheSeparatorsOfTheLocale) {
  const ScopedNumberLocale german(1031);
  check({
      {u"FormatNumber", {Variant(1234.5)}, str(u"1.234,50")},
      {u"FormatCurrency", {Variant(-1234.5)}, str(u"-1.234,50 \u20AC")},
      {u"FormatPercent", {Variant(0.5), i2(1)}, str(u"50,0%")},
  });
}

// Stands in for a recordset field: an object whose default member is its value.
class Field : public Object {
 public:
  explicit Field(Variant value) : value_(std::move(value)) {}
  Variant value() const { return value_; }
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Field", [](ClassInfo& c) {
      ClassBuilder<Field>(c).get<&Field::value>(u"Value").defaultMember(u"Value");
    });
    return info;
  }

 private:
  Variant value_;
};

TEST(StringFunctions, ObjectsAreSeenThroughTheirDefaultValue) {
  const Variant nullField(makeRef<Field>(kNull));
  const Variant textField(makeRef<Field>(str(u"  abc  ")));
  check({
      {u"Len", {nullField}, kNull},
      {u"Trim", {nullField}, kNull},
      {u"Mid", {nullField, i2(2)}, kNull},
      {u"InStr", {textField, nullField}, kNull},
      {u"Len", {textField}, i4(7)},
      {u"Trim", {textField}, str(u"abc")},
      {u"InStr", {textField, str(u"b")}, i4(4)},
      {u"Hex", {Variant(makeRef<Field>(i2(-1)))}, str(u"FFFF")},
      {u"FormatNumber", {nullField}, {}, 13},
  });
}

// Random text must survive Escape then Unescape, and malformed escapes must come back as they
// were rather than fail.
TEST(StringFunctions, EscapeRoundTripsRandomText) {
  std::mt19937 rng(20240601);
  // Lone surrogates included: escaping works on code units, not characters.
  std::u16string alphabet = u"ab %u0123456789ABCDEFxyz@*+/\u00E9\u20AC";
  alphabet += {char16_t{0xD83D}, char16_t{0xDE00}};
  for (int round = 0; round < 500; ++round) {
    std::u16string text;
    const int length = static_cast<int>(rng() % 24);
    for (int i = 0; i < length; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
    const Variant escaped = call(stringFunctions(), u"Escape", {Variant(text)});
    const Variant back = call(stringFunctions(), u"Unescape", {escaped});
    ASSERT_EQ(back.stringValue(), text);
    const Variant raw = call(stringFunctions(), u"Unescape", {Variant(text)});
    ASSERT_LE(raw.stringValue().size(), text.size());
  }
}

// Replace with every occurrence agrees with a plain replace-all, and InStr finds what a plain
// search finds, over random short texts.
TEST(StringFunctions, ReplaceAndInStrAgreeWithPlainSearch) {
  std::mt19937 rng(77);
  const std::u16string alphabet = u"abAB";
  auto randomText = [&](int maxLength) {
    std::u16string s;
    const int length = static_cast<int>(rng() % (maxLength + 1));
    for (int i = 0; i < length; ++i) s.push_back(alphabet[rng() % alphabet.size()]);
    return s;
  };
  for (int round = 0; round < 1000; ++round) {
    const std::u16string text = randomText(10);
    const std::u16string find = randomText(3);
    const Variant replaced =
        call(stringFunctions(), u"Replace", {Variant(text), Variant(find), Variant(u"-")});
    ASSERT_EQ(replaced.stringValue(), replaceAll(text, find, u"-"));
    if (text.empty() || find.empty()) continue;
    const Variant at = call(stringFunctions(), u"InStr", {Variant(text), Variant(find)});
    const std::size_t hit = text.find(find);
    ASSERT_EQ(at.longValue(), hit == std::u16string::npos ? 0 : static_cast<int>(hit) + 1);
  }
}

}  // namespace
}  // namespace vantorel::vbs::string_test
