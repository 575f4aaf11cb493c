#include "model/trends.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

// "#2" is the number 2, anything else text.
Variant arg(const std::u16string& a) {
  if (!a.empty() && a[0] == u'#') {
    return Variant(static_cast<std::int32_t>(std::stoi(toUtf8(a.substr(1)))));
  }
  return Variant(a);
}

// The trendlines as "TrendName:TrendSeq" in collection order, then "|curName:curSeq".
std::u16string state(AGPTrends& trends) {
  std::vector<std::u16string> parts;
  for (std::int32_t i = 0; i < trends.count(); ++i) {
    AGPTrend& t = trends.at(static_cast<std::size_t>(i));
    parts.push_back(t.trendName() + u":" + fromAscii(std::to_string(t.trendSeq())));
  }
  return test::joined(parts) + u"|" + trends.curName() + u":" + trends.curSeq();
}

// Every call goes through the member table, as scripts make it.
std::u16string run(AGPTrends& trends, const std::u16string& op, const std::u16string& a,
                   const std::u16string& b) {
  try {
    Variant r;
    if (op == u"Change") {
      r = trends.call(op, {arg(a), arg(b)});
    } else {
      r = trends.call(op, {arg(a)});
    }
    if (r.type() == VarType::Boolean) return r.boolValue() ? u"T" : u"F";
    if (r.isNothing()) return u"Nothing";
    return toString(r.objectValue()->get(u"TrendName"));
  } catch (const AutomationError& e) {
    return u"err:" + fromAscii(std::to_string(e.number()));
  }
}

TEST(TrendsTest, AddChangeDeleteAndLookups) {
  struct Step {
    std::u16string op, a, b, result, state;
  };
  const std::vector<Step> steps = {
      {u"Add", u"", u"", u"F", u"|:0"},
      {u"Add", u"Target", u"", u"T", u"Target:1|Target:1"},
      {u"Add", u"TARGET", u"", u"T", u"Target:1|TARGET:1"},  // found; curName as passed
      {u"Add", u"B", u"", u"T", u"Target:1,B:2|B:2"},
      {u"Add", u"C", u"", u"T", u"Target:1,B:2,C:3|C:3"},
      {u"Delete", u"#2", u"", u"F", u"Target:1,B:2,C:3|C:3"},  // a number is a name
      {u"Delete", u"b", u"", u"T", u"Target:1,C:2|C:3"},
      {u"Delete", u"", u"", u"F", u"Target:1,C:2|C:3"},
      {u"Item", u"#2", u"", u"C", u"Target:1,C:2|C:2"},
      {u"Item", u"2", u"", u"Nothing", u"Target:1,C:2|C:2"},
      {u"Item", u"#0", u"", u"Nothing", u"Target:1,C:2|C:2"},
      {u"Item", u"#3", u"", u"Nothing", u"Target:1,C:2|C:2"},
      {u"Seq", u"#1", u"", u"Target", u"Target:1,C:2|C:2"},
      {u"Seq", u"#5", u"", u"Nothing", u"Target:1,C:2|C:2"},
      {u"Change", u"Target", u"Goal", u"T", u"Goal:1,C:2|Goal:1"},
      {u"Item", u"Target", u"", u"Nothing", u"Goal:1,C:2|Goal:1"},
      {u"Change", u"Goal", u"c", u"err:457", u"Goal:1,C:2|Goal:1"},
      {u"Change", u"goal", u"GOAL", u"T", u"GOAL:1,C:2|GOAL:1"},
      {u"Change", u"X", u"Y", u"F", u"GOAL:1,C:2|GOAL:1"},
      {u"Change", u"", u"Y", u"F", u"GOAL:1,C:2|GOAL:1"},
      {u"Add", u"Target", u"", u"T", u"GOAL:1,C:2,Target:3|Target:3"},
      {u"TrendExist", u"c", u"", u"T", u"GOAL:1,C:2,Target:3|Target:3"},
      {u"TrendExist", u"#3", u"", u"F", u"GOAL:1,C:2,Target:3|Target:3"},
  };
  auto trends = makeRef<AGPTrends>();
  for (const Step& s : steps) {
    SCOPED_TRACE(toUtf8(s.op + u" " + s.a + u" " + s.b));
    EXPECT_EQ(toUtf8(run(*trends, s.op, s.a, s.b)), toUtf8(s.result));
    EXPECT_EQ(toUtf8(state(*trends)), toUtf8(s.state));
  }
  // A name set on the trendline itself: Add renames from it, finds no such key and adds nothing.
  trends->at(0).setTrendName(u"Aim");
  EXPECT_FALSE(trends->add(u"Aim"));
  EXPECT_EQ(trends->count(), 3);
  EXPECT_EQ(toUtf8(run(*trends, u"Item", u"goal", u"")), "Aim");
}

}  // namespace
}  // namespace vantorel
