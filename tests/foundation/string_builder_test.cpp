#include "foundation/string_builder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/properties.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {
namespace {

std::u16string text(AGPStringBuilder& b) {
  Variant v = b.toString();
  EXPECT_EQ(v.type(), VarType::String);
  return v.stringValue();
}

TEST(StringBuilder, PiecesJoinInOrder) {
  struct Case {
    const char* label;
    std::vector<Variant> pieces;
    std::u16string joined;
  };
  const Case cases[] = {
      {"nothing", {}, u""},
      {"three letters", {Variant(u"a"), Variant(u"b"), Variant(u"c")}, u"abc"},
      {"numbers as their text",
       {Variant(std::int32_t{5}), Variant(u"|"), Variant(2.5), Variant(u"|"),
        Variant(std::int16_t{-3}), Variant(u"|"), Variant(1e20)},
       u"5|2.5|-3|1E+20"},
      {"Boolean and Empty", {Variant(true), Variant(), Variant(false)}, u"TrueFalse"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    auto b = makeRef<AGPStringBuilder>();
    for (const Variant& p : tc.pieces) b->append(p);
    EXPECT_EQ(text(*b), tc.joined);
  }
}

TEST(StringBuilder, ManyPiecesAcrossTheGrowthSteps) {
  for (int n : {1000, 1001, 1002, 2001, 5000}) {
    SCOPED_TRACE(n);
    auto b = makeRef<AGPStringBuilder>();
    std::u16string expected;
    for (int i = 0; i < n; ++i) {
      const Variant piece(static_cast<std::int32_t>(i));
      b->append(piece);
      b->append(Variant(u","));
      expected += toString(piece) + u",";
    }
    EXPECT_EQ(text(*b), expected);
  }
}

TEST(StringBuilder, ToStringIsRepeatableAndAppendingContinues) {
  auto b = makeRef<AGPStringBuilder>();
  b->appendText(u"abc");
  Variant first = b->toString();
  EXPECT_EQ(text(*b), u"abc");
  b->appendText(u"def");
  EXPECT_EQ(text(*b), u"abcdef");
  EXPECT_EQ(text(*b), u"abcdef");
  // A text handed out earlier is not touched by later appends.
  EXPECT_EQ(first.stringValue(), u"abc");
  b->clear();
  EXPECT_EQ(text(*b), u"");
  b->appendText(u"x");
  EXPECT_EQ(text(*b), u"x");
}

TEST(StringBuilder, PiecesWithoutTextAreRefused) {
  auto b = makeRef<AGPStringBuilder>();
  b->appendText(u"ok");
  auto number = [](const auto& f) {
    try {
      f();
    } catch (const AutomationError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(number([&] { b->append(Variant::null()); }), vberr::kInvalidUseOfNull);
  EXPECT_EQ(number([&] { b->append(Variant(makeRef<AGProperty>())); }), vberr::kNotSupported);
  EXPECT_EQ(text(*b), u"ok");
}

TEST(StringBuilder, LateBound) {
  auto b = makeRef<AGPStringBuilder>();
  b->call(u"Append", {Variant(u"x=")});
  b->call(u"append", {Variant(std::int32_t{42})});
  EXPECT_EQ(b->call(u"ToString").stringValue(), u"x=42");
  b->call(u"Clear");
  EXPECT_EQ(b->call(u"ToString").stringValue(), u"");
}

}  // namespace
}  // namespace vantorel
