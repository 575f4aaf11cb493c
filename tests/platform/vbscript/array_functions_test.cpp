#include <gtest/gtest.h>

#include <random>

#include "string_test_support.hpp"

namespace vantorel::vbs::string_test {
namespace {

void check(const std::vector<Case>& cases) {
  runCases(arrayFunctions(), cases);
}

Variant days() {
  return strings(
      {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"});
}

Variant emptyArray() {
  return strings({});
}

// A(0 To 2, 1 To 5).
Variant grid() {
  return Variant(Ref<SafeArray>(new SafeArray({ArrayBound{0, 3}, ArrayBound{1, 5}})));
}

// What `Dim a()` holds before ReDim: an array without dimensions.
Variant uninitialised() {
  return Variant(Ref<SafeArray>(new SafeArray({})));
}

TEST(ArrayFunctions, ArrayAndBounds) {
  std::vector<Variant> mixed{i2(1), str(u"a"), kNull};
  check({
      {u"Array", {}, emptyArray()},
      {u"Array", {i2(1), str(u"a"), kNull}, Variant(SafeArray::fromValues(mixed))},
      {u"UBound", {emptyArray()}, i4(-1)},
      {u"LBound", {emptyArray()}, i4(0)},
      {u"UBound", {days()}, i4(6)},
      {u"UBound", {grid(), i2(1)}, i4(2)},
      {u"UBound", {grid(), i2(2)}, i4(5)},
      {u"LBound", {grid(), i2(2)}, i4(1)},
      {u"UBound", {grid(), kMissing}, i4(2)},
      {u"UBound", {grid(), i2(3)}, {}, 9},
      {u"LBound", {grid(), i2(0)}, {}, 9},
      {u"UBound", {uninitialised()}, {}, 9},
      {u"UBound", {str(u"abc")}, {}, 13},
      {u"LBound", {kNull}, {}, 13},
      {u"UBound", {grid(), kNull}, {}, 94},
  });
}

TEST(ArrayFunctions, ArrayTakesAnyNumberOfValues) {
  std::vector<Variant> values(300, i2(7));
  const Variant many = call(arrayFunctions(), u"Array", values);
  EXPECT_EQ(call(arrayFunctions(), u"UBound", {many}).longValue(), 299);
}

TEST(ArrayFunctions, Split) {
  check({
      {u"Split", {str(u"a b c")}, strings({u"a", u"b", u"c"})},
      {u"Split", {str(u"")}, emptyArray()},
      {u"Split", {str(u""), str(u",")}, emptyArray()},
      {u"Split", {str(u"a,b,,c"), str(u",")}, strings({u"a", u"b", u"", u"c"})},
      {u"Split", {str(u",a,"), str(u",")}, strings({u"", u"a", u""})},
      {u"Split", {str(u"a b c"), str(u" "), i2(2)}, strings({u"a", u"b c"})},
      {u"Split", {str(u"a b c"), str(u" "), i2(1)}, strings({u"a b c"})},
      {u"Split", {str(u"a b c"), str(u" "), i2(9)}, strings({u"a", u"b", u"c"})},
      {u"Split", {str(u"a b"), str(u" "), i2(0)}, emptyArray()},
      {u"Split", {str(u"abc"), str(u"")}, strings({u"abc"})},
      {u"Split", {str(u"a--b--c"), str(u"--")}, strings({u"a", u"b", u"c"})},
      {u"Split",
       {str(u"SundayMondayTUESDAY"), str(u"day"), i2(-1), i2(1)},
       strings({u"Sun", u"Mon", u"TUES", u""})},
      {u"Split",
       {str(u"SundayMondayTUESDAY"), str(u"day"), i2(-1), i2(0)},
       strings({u"Sun", u"Mon", u"TUESDAY"})},
      {u"Split", {i2(101), i2(0)}, strings({u"1", u"1"})},
      {u"Split", {str(u"a b"), str(u" "), i2(-2)}, {}, 5},
      {u"Split", {str(u"a b"), str(u" "), i2(-1), i2(3)}, {}, 5},
      {u"Split", {kNull}, {}, 94},
  });
}

TEST(ArrayFunctions, JoinAndFilter) {
  std::vector<Variant> mixed{i2(1), Variant(true), Variant()};
  const Variant mixedArray(SafeArray::fromValues(mixed));
  std::vector<Variant> withNull{str(u"a"), kNull};
  check({
      {u"Join", {strings({u"a", u"b"})}, str(u"a b")},
      {u"Join", {strings({u"a", u"b"}), str(u",")}, str(u"a,b")},
      {u"Join", {strings({u"a", u"b"}), str(u"")}, str(u"ab")},
      {u"Join", {emptyArray()}, str(u"")},
      {u"Join", {mixedArray, str(u"|")}, str(u"1|True|")},
      {u"Join", {Variant(SafeArray::fromValues(withNull))}, {}, 94},
      {u"Join", {str(u"abc")}, {}, 13},
      {u"Join", {kNull}, {}, 94},
      {u"Join", {grid()}, {}, 5},
      {u"Filter", {days(), str(u"S")}, strings({u"Sunday", u"Saturday"})},
      {u"Filter",
       {days(), str(u"S"), Variant(false)},
       strings({u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday"})},
      {u"Filter",
       {days(), str(u"S"), Variant(true), i2(1)},
       strings({u"Sunday", u"Tuesday", u"Wednesday", u"Thursday", u"Saturday"})},
      {u"Filter", {days(), str(u"zzz")}, emptyArray()},
      {u"Filter", {mixedArray, str(u"1")}, strings({u"1"})},
      {u"Filter", {str(u"abc"), str(u"a")}, {}, 13},
      {u"Filter", {kNull, str(u"a")}, {}, 94},
      {u"Filter", {days(), kNull}, {}, 94},
  });
}

// Joining what Split produced gives the text back, whatever the delimiter and the text.
TEST(ArrayFunctions, SplitThenJoinRoundTrips) {
  std::mt19937 rng(4242);
  const std::u16string alphabet = u"ab,;";
  auto randomText = [&](int minLength, int maxLength) {
    std::u16string s;
    const int length = minLength + static_cast<int>(rng() % (maxLength - minLength + 1));
    for (int i = 0; i < length; ++i) s.push_back(alphabet[rng() % alphabet.size()]);
    return s;
  };
  for (int round = 0; round < 1000; ++round) {
    const std::u16string text = randomText(1, 12);
    const std::u16string delimiter = randomText(1, 2);
    const Variant parts = call(arrayFunctions(), u"Split", {Variant(text), Variant(delimiter)});
    const Variant joined = call(arrayFunctions(), u"Join", {parts, Variant(delimiter)});
    ASSERT_EQ(joined.stringValue(), text);
  }
}

}  // namespace
}  // namespace vantorel::vbs::string_test
