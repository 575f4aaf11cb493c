#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/objects/reg_exp.hpp"
#include "platform/vbscript/objects/script_objects.hpp"

#include "object_test_support.hpp"
#include "support/raised_error.hpp"

namespace vantorel::vbs {
namespace {

using namespace object_test;

std::string narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      out += "\\u" + std::to_string(static_cast<unsigned>(c));
    }
  }
  return out;
}

enum Flags : unsigned { kNone = 0, kGlobal = 1, kIgnoreCase = 2, kMultiline = 4 };

Ref<RegExp> makeRegExp(std::u16string_view pattern, unsigned flags) {
  auto re = makeRef<RegExp>();
  re->setPattern(std::u16string(pattern));
  re->setGlobal(flags & kGlobal);
  re->setIgnoreCase(flags & kIgnoreCase);
  re->setMultiline(flags & kMultiline);
  return re;
}

// "index:value" for each match, joined by '|'.
std::string describe(Matches& matches) {
  std::string out;
  for (std::int32_t i = 0; i < matches.count(); ++i) {
    const Ref<Match> m = matches.item(i);
    if (i) out += '|';
    out += std::to_string(m->firstIndex()) + ":" + narrow(m->value());
    EXPECT_EQ(m->length(), static_cast<std::int32_t>(m->value().size()));
  }
  return out;
}

TEST(RegExp, ExecuteFindsMatchesAsJScriptDoes) {
  struct Row {
    std::u16string pattern;
    unsigned flags;
    std::u16string input;
    std::string expected;
  };
  const Row rows[] = {
      {u"fox", kGlobal, u"The fox and fox", "4:fox|12:fox"},
      {u"fox", kNone, u"The fox and fox", "4:fox"},
      {u"FOX", kIgnoreCase, u"a Fox", "2:Fox"},
      // An empty match moves the next search on by one.
      {u"a*", kGlobal, u"baaa", "0:|1:aaa|4:"},
      {u"x*", kGlobal, u"ab", "0:|1:|2:"},
      // With Multiline, ^ follows and $ precedes both \n and \r.
      {u"^", kGlobal | kMultiline, u"a\nb\r\nc", "0:|2:|4:|5:"},
      {u"$", kGlobal | kMultiline, u"a\nb\r\nc", "1:|3:|4:|6:"},
      {u"^\\w", kGlobal | kMultiline, u"ab\ncd", "0:a|3:c"},
      {u"^b", kGlobal, u"a\nb", ""},
      {u"b$", kGlobal, u"ab\n", ""},
      {u"b$", kGlobal, u"ab", "1:b"},
      // Only \n ends a line for '.'.
      {u".", kGlobal, u"\r\n", "0:\\u13"},
      // \d, \w, \s and \b are ASCII only.
      {u"\\d+", kGlobal, u"a12b\u06634", "1:12|5:4"},
      {u"\\w+", kGlobal, u"h\u00e9llo", "0:h|2:llo"},
      {u"\\s", kGlobal, u"a\u00a0b c\v", "3: |5:\\u11"},
      {u"\\bfoo\\b", kGlobal, u"foo foobar foo", "0:foo|11:foo"},
      // Case folding beyond ASCII, in literals, ranges and negated classes.
      {u"\u00c9T\u00c9", kIgnoreCase, u"\u00e9t\u00e9", "0:\\u233t\\u233"},
      {u"[\u00e0-\u00fe]+", kIgnoreCase, u"\u00c0\u00c9x", "0:\\u192\\u201"},
      {u"[^\u00e9]", kIgnoreCase | kGlobal, u"\u00c9a", "1:a"},
      {u"\\u00e9", kIgnoreCase, u"\u00c9", "0:\\u201"},
      {u"\u00e9", kNone, u"\u00c9", ""},
      // Escapes of the script dialect.
      {u"\\x41\\u0042\\cC\\101", kNone, u"AB\u0003A", "0:AB\\u3A"},
      {u"\\v\\f\\t", kNone, u"\v\f\t", "0:\\u11\\u12\\u9"},
      {u"[\\b]", kNone, u"a\bb", "1:\\u8"},
      {u"\\0", kNone, std::u16string(u"a\0b", 3), "1:\\u0"},
      {u"\\x4", kNone, u"x4", "0:x4"},
      {u"\\c1", kNone, u"c1", "0:c1"},
      {u"\\A\\z\\Q\\E", kNone, u"AzQE", "0:AzQE"},
      {u"\\8", kNone, u"8", "0:8"},
      // Digits refer to a group only when that many groups open before them.
      {u"(a)\\1", kNone, u"xaa", "1:aa"},
      {u"\\1(a)", kNone, u"\u0001a", "0:\\u1a"},
      {u"(a)\\11", kNone, u"aa1", "0:aa1"},
      {u"\\12", kNone, u"\n", "0:\\u10"},
      // Quantifiers, literal braces, classes.
      {u"a{2,3}", kGlobal, u"aaaaaaa", "0:aaa|3:aaa"},
      {u"a{2,}", kNone, u"aaaa", "0:aaaa"},
      {u"a{,2}", kNone, u"a{,2}", "0:a{,2}"},
      {u"x{", kNone, u"x{", "0:x{"},
      {u"<.+?>", kGlobal, u"<a><b>", "0:<a>|3:<b>"},
      {u"Windows (?=95|98)", kNone, u"Windows 98", "0:Windows "},
      {u"Windows (?!95|98)", kNone, u"Windows 98 Windows 7", "11:Windows "},
      {u"[]a", kNone, u"a", ""},
      {u"[^]", kNone, u"\n", "0:\\u10"},
      {u"[\\d-z]+", kNone, u"1-z", "0:1-z"},
      {u"[a-]+", kNone, u"-a-", "0:-a-"},
      {u"[[:alpha:]]", kNone, u"a:]", "1::]"},
      {u"a]}", kNone, u"a]}", "0:a]}"},
      {u"a|b|", kGlobal, u"ab", "0:a|1:b|2:"},
      {u"(a|ab)(c|bcd)(d*)", kNone, u"abcd", "0:abcd"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(narrow(row.pattern));
    auto re = makeRegExp(row.pattern, row.flags);
    auto matches = re->execute(row.input);
    EXPECT_EQ(describe(*matches), row.expected);
    EXPECT_EQ(re->test(row.input), !row.expected.empty());
  }
}

TEST(RegExp, ReplaceExpandsDollarTokens) {
  struct Row {
    std::u16string pattern;
    unsigned flags;
    std::u16string input;
    std::u16string replacement;
    std::u16string expected;
  };
  const Row rows[] = {
      {u"(\\S+)(\\s+)(\\S+)", kNone, u"The quick brown", u"$3$2$1", u"quick The brown"},
      {u"o", kGlobal, u"foo", u"0", u"f00"},
      {u"o", kNone, u"foo", u"0", u"f0o"},
      {u"x*", kGlobal, u"abc", u"-", u"-a-b-c-"},
      {u"b", kNone, u"b", u"a$&c$$d", u"abc$d"},
      {u"b", kNone, u"abc", u"[$`|$']", u"a[a|c]c"},
      {u"(a)", kNone, u"a", u"$2$1$0$", u"$2a$0$"},
      {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", kNone, u"abcdefghij", u"$10-$11-$01", u"j-a1-a"},
      {u"(a)|(b)", kGlobal, u"ab", u"[$1$2]", u"[a][b]"},
      {u"a", kGlobal, u"banana", u"", u"bnn"},
      {u"^", kGlobal | kMultiline, u"a\nb", u"> ", u"> a\n> b"},
      {u"FOX", kIgnoreCase, u"The fox", u"cat", u"The cat"},
      {u"z", kGlobal, u"abc", u"$&$&", u"abc"},
      {u"", kGlobal, u"ab", u"-", u"-a-b-"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(narrow(row.pattern) + " / " + narrow(row.replacement));
    auto re = makeRegExp(row.pattern, row.flags);
    EXPECT_EQ(narrow(re->replace(row.input, Variant(row.replacement))), narrow(row.expected));
  }
}

// An object whose default method builds the replacement, as a GetRef reference does.
class Replacer final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Replacer", [](ClassInfo& c) {
      ClassBuilder<Replacer>(c).rawMethod(u"Call", &Replacer::call).defaultMember(u"Call");
    });
    return info;
  }
  static Variant call(Object& self, CallArgs args) {
    std::u16string out = u"<";
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (i) out += u",";
      out += args[i].isEmpty() ? std::u16string(u"E") : toString(args[i]);
    }
    static_cast<Replacer&>(self).calls++;
    return Variant(out + u">");
  }
  int calls = 0;
};

TEST(RegExp, ReplaceCallsAFunctionObjectPerMatch) {
  auto re = makeRegExp(u"(a)|(b)", kGlobal);
  auto replacer = makeRef<Replacer>();
  EXPECT_EQ(narrow(re->replace(u"xab", Variant(replacer))), "x<a,a,E,1,xab><b,E,b,2,xab>");
  EXPECT_EQ(replacer->calls, 2);
}

TEST(RegExp, MatchesCollectionAndSubMatches) {
  auto re = makeRegExp(u"(\\w)(x)?(\\d)", kGlobal);
  Ref<Matches> matches = re->execute(u"a1 bx2 c3");
  ASSERT_EQ(matches->count(), 3);
  EXPECT_EQ(matches->typeName(), u"IMatchCollection2");

  // Item is the default member; Value is the Match's.
  Variant second =
      invoke(*matches, kDispIdValue, kInvokeGet | kInvokeMethod, {Variant(std::int32_t{1})});
  ASSERT_TRUE(second.isObject());
  Object& m = *second.objectValue();
  EXPECT_EQ(m.typeName(), u"IMatch2");
  EXPECT_EQ(toString(invoke(m, kDispIdValue, kInvokeGet, {})), u"bx2");
  EXPECT_EQ(toLong(m.get(u"FirstIndex")), 3);
  EXPECT_EQ(toLong(m.get(u"Length")), 3);

  Variant subs = m.get(u"SubMatches");
  ASSERT_TRUE(subs.isObject());
  Object& s = *subs.objectValue();
  EXPECT_EQ(s.typeName(), u"ISubMatches");
  EXPECT_EQ(toLong(s.get(u"Count")), 3);
  EXPECT_EQ(toString(invoke(s, kDispIdValue, kInvokeGet, {Variant(std::int32_t{0})})), u"b");
  EXPECT_EQ(toString(s.get(u"Item", {Variant(std::int32_t{1})})), u"x");
  EXPECT_EQ(toString(s.get(u"Item", {Variant(std::int32_t{2})})), u"2");
  EXPECT_EQ(m.get(u"SubMatches").objectValue(), &s);
  // A group that took no part is Empty.
  EXPECT_TRUE(matches->item(0)->subMatches()->item(1).isEmpty());

  std::vector<std::u16string> walked;
  Ref<Enumerator> e = matches->newEnum();
  for (Variant v; e->next(v);)
    walked.push_back(toString(invoke(*v.objectValue(), kDispIdValue, kInvokeGet, {})));
  EXPECT_EQ(walked, (std::vector<std::u16string>{u"a1", u"bx2", u"c3"}));

  Ref<Enumerator> se = s.newEnum();
  int n = 0;
  for (Variant v; se->next(v);) ++n;
  EXPECT_EQ(n, 3);

  EXPECT_EQ(test::errorOf([&] { matches->item(3); }), vberr::kInvalidProcedureCall);
  EXPECT_EQ(test::errorOf([&] { matches->item(-1); }), vberr::kInvalidProcedureCall);
  EXPECT_EQ(test::errorOf([&] { s.get(u"Item", {Variant(std::int32_t{3})}); }),
            vberr::kInvalidProcedureCall);
  EXPECT_EQ(re->execute(u"none")->count(), 0);
}

TEST(RegExp, BadPatternsRaiseWhenUsed) {
  const std::pair<std::u16string, std::int32_t> rows[] = {
      {u"(", 5020},     {u"a(b", 5020},  {u"(?=a", 5020},   {u"[a", 5019},       {u"[\\", 5019},
      {u"[z-a]", 5021}, {u"*a", 5018},   {u"a**", 5018},    {u"a{2}{3}", 5018},  {u"|*", 5018},
      {u"^*", 5018},    {u"\\b+", 5018}, {u"(*)", 5018},    {u"(?<x>a)", 5017},  {u"(?i)a", 5017},
      {u"a)", 5017},    {u"\\", 5017},   {u"a{3,2}", 5017}, {u"a{70000}", 5017},
  };
  for (const auto& [pattern, number] : rows) {
    SCOPED_TRACE(narrow(pattern));
    auto re = makeRegExp(u"ok", kNone);
    re->setPattern(pattern);  // accepted as it is set
    EXPECT_EQ(test::errorOf([&] { re->test(u"x"); }), number);
    EXPECT_EQ(test::errorOf([&] { re->execute(u"x"); }), number);
    EXPECT_EQ(test::errorOf([&] { re->replace(u"x", Variant(u"y")); }), number);
    re->setPattern(u"x");
    EXPECT_TRUE(re->test(u"x"));
  }
}

TEST(RegExp, FlagsChangeTheCompiledPattern) {
  auto re = makeRegExp(u"^b", kNone);
  EXPECT_FALSE(re->test(u"a\nB"));
  re->setMultiline(true);
  EXPECT_FALSE(re->test(u"a\nB"));
  re->setIgnoreCase(true);
  EXPECT_TRUE(re->test(u"a\nB"));
  re->setPattern(u"^c");
  EXPECT_FALSE(re->test(u"a\nB"));

  // Properties read back through the member table.
  Object& o = *re;
  o.let(u"Global", Variant(true));
  EXPECT_TRUE(toBool(o.get(u"global")));
  EXPECT_EQ(toString(o.get(u"Pattern")), u"^c");
  EXPECT_EQ(o.typeName(), u"IRegExp2");
  EXPECT_TRUE(toBool(o.call(u"Test", {Variant(u"x\nC")})));
}

TEST(RegExp, LongTextsAndDeepRepeats) {
  std::u16string text;
  for (int i = 0; i < 100000; ++i) text += u"ab ";
  auto re = makeRegExp(u"b", kGlobal);
  const std::u16string out = re->replace(text, Variant(u"cc"));
  EXPECT_EQ(out.size(), text.size() + 100000);
  EXPECT_EQ(out.substr(0, 8), u"acc acc ");
  EXPECT_EQ(makeRegExp(u"\\w+", kGlobal)->execute(text)->count(), 100000);
  // A repeated group over a long run must not exhaust the matcher's stack.
  EXPECT_TRUE(makeRegExp(u"^(a|b|\\s)*$", kNone)->test(text));
}

TEST(RegExp, RegisteredWithTheClassFactory) {
  ClassFactory& factory = ClassFactory::instance();
  registerScriptObjects(factory);
  EXPECT_EQ(factory.create(u"vbscript.regexp")->typeName(), u"IRegExp2");
  EXPECT_EQ(factory.create(u"Scripting.Dictionary")->typeName(), u"Dictionary");
  EXPECT_EQ(createRegExp()->typeName(), u"IRegExp2");
}

// Random patterns compile or raise one of the regular expression errors; nothing else.
TEST(RegExp, FuzzedPatternsFailCleanly) {
  const std::u16string alphabet = u"ab()[]{}*+?|\\^$.-,0123dwsbuxcvB:=!\u00e9";
  std::mt19937 rng(20240601);
  int compiled = 0;
  for (int round = 0; round < 3000; ++round) {
    std::u16string pattern;
    const int length = static_cast<int>(rng() % 16);
    for (int i = 0; i < length; ++i) pattern += alphabet[rng() % alphabet.size()];
    auto re = makeRegExp(pattern, static_cast<unsigned>(rng() % 8));
    try {
      re->execute(u"ab(c)[d]{1}\u00c9 12\n\r\\x");
      re->replace(u"aab\u00e9b", Variant(u"[$1$&]"));
      ++compiled;
    } catch (const AutomationError& e) {
      EXPECT_GE(e.number(), 5017) << narrow(pattern);
      EXPECT_LE(e.number(), 5021) << narrow(pattern);
    }
  }
  EXPECT_GT(compiled, 300);
}

}  // namespace
}  // namespace vantorel::vbs
