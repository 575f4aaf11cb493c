#include "model/charts.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_test_support.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "project/language.hpp"

namespace vantorel {
namespace {

using test::joined;
using test::menuText;
using test::phraseText;

// The charts as "ChartName:ChartSeq:ChartVar" in position order.
std::u16string chartState(AGPCharts& charts) {
  std::vector<std::u16string> parts;
  for (std::int32_t i = 0; i < charts.count(); ++i) {
    AGPChart& c = charts.at(static_cast<std::size_t>(i));
    parts.push_back(c.chartName() + u":" + fromAscii(std::to_string(c.chartSeq())) + u":" +
                    c.chartVar());
  }
  return joined(parts);
}

class ChartsTest : public test::ModelTest {};

TEST_F(ChartsTest, RenameAndDeleteCarryMenusPhrasesAndExtensions) {
  struct Case {
    std::u16string op, a, b;
    bool result;
    std::u16string charts, menus, phrases, ext;
  };
  const std::u16string allMenus =
      u"Table:Orders:1,Chart:Orders|Sales:1,Chart:Orders|Costs:1,Chart:Orders|Sales:1";
  const std::u16string allPhrases = u"C:Orders|Sales.Caption=S,C:Orders|Costs.Caption=K";
  const std::vector<Case> cases = {
      {u"change", u"Sales", u"Revenue", true, u"Revenue:1:Revenue,Costs:2:Costs,Stock:3:Stock",
       u"Table:Orders:1,Chart:Orders|Revenue:1,Chart:Orders|Costs:1,Chart:Orders|Sales:1",
       u"C:Orders|Costs.Caption=K,C:Orders|Revenue.Caption=S", u"renameChart:Orders|Sales>Revenue"},
      // The caller's spelling differs from the stored name; menus and phrases still follow.
      {u"change", u"sales", u"Revenue", true, u"Revenue:1:Revenue,Costs:2:Costs,Stock:3:Stock",
       u"Table:Orders:1,Chart:Orders|Revenue:1,Chart:Orders|Costs:1,Chart:Orders|Sales:1",
       u"C:Orders|Costs.Caption=K,C:Orders|Revenue.Caption=S", u"renameChart:Orders|Sales>Revenue"},
      {u"change", u"Sales", u"sales", true, u"sales:1:sales,Costs:2:Costs,Stock:3:Stock",
       u"Table:Orders:1,Chart:Orders|sales:1,Chart:Orders|Costs:1,Chart:Orders|Sales:1",
       u"C:Orders|Costs.Caption=K,C:Orders|sales.Caption=S", u"renameChart:Orders|Sales>sales"},
      {u"change", u"Sales", u"COSTS", false, u"Sales:1:Sales,Costs:2:Costs,Stock:3:Stock", allMenus,
       allPhrases, u""},
      {u"change", u"X", u"X", true, u"Sales:1:Sales,Costs:2:Costs,Stock:3:Stock", allMenus,
       allPhrases, u""},
      {u"change", u"X", u"Y", false, u"Sales:1:Sales,Costs:2:Costs,Stock:3:Stock", allMenus,
       allPhrases, u""},
      {u"change", u"", u"Y", false, u"Sales:1:Sales,Costs:2:Costs,Stock:3:Stock", allMenus,
       allPhrases, u""},
      {u"delete", u"Costs", u"", true, u"Sales:1:Sales,Stock:2:Stock",
       u"Table:Orders:1,Chart:Orders|Sales:1,Chart:Orders|Sales:1", u"C:Orders|Sales.Caption=S",
       u"deleteChart:Orders|Costs"},
      {u"delete", u"COSTS", u"", true, u"Sales:1:Sales,Stock:2:Stock",
       u"Table:Orders:1,Chart:Orders|Sales:1,Chart:Orders|Sales:1", u"C:Orders|Sales.Caption=S",
       u"deleteChart:Orders|Costs"},
      // The entry with a free URL is the user's text and stays.
      {u"delete", u"Sales", u"", true, u"Costs:1:Costs,Stock:2:Stock",
       u"Table:Orders:1,Chart:Orders|Costs:1,Chart:Orders|Sales:1", u"C:Orders|Costs.Caption=K",
       u"deleteChart:Orders|Sales"},
      {u"delete", u"Nope", u"", false, u"Sales:1:Sales,Costs:2:Costs,Stock:3:Stock", allMenus,
       allPhrases, u""},
      {u"delete", u"", u"", false, u"Sales:1:Sales,Costs:2:Costs,Stock:3:Stock", allMenus,
       allPhrases, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.op + u" " + c.a + u" " + c.b));
    SetUp();
    test::addMenu(u"Table", u"Orders");
    test::addMenu(u"Chart", u"Orders|Sales");
    test::addMenu(u"Chart", u"Orders|Costs");
    test::addMenu(u"Chart", u"Orders|Sales", true);
    SharedLanguage().SetChartPhrase(u"en", u"Orders", u"Sales", u"Caption", u"S");
    SharedLanguage().SetChartPhrase(u"en", u"Orders", u"Costs", u"Caption", u"K");
    auto charts = makeRef<AGPCharts>();
    for (const char16_t* name : {u"Sales", u"Costs", u"Stock"}) {
      ASSERT_TRUE(charts->add(u"Orders", name));
    }
    ext.calls.clear();
    const Variant r =
        c.op == u"change"
            ? charts->call(u"Change", {Variant(u"Orders"), Variant(c.a), Variant(c.b)})
            : charts->call(u"Delete", {Variant(u"Orders"), Variant(c.a)});
    EXPECT_EQ(toBool(r), c.result);
    EXPECT_EQ(toUtf8(chartState(*charts)), toUtf8(c.charts));
    EXPECT_EQ(toUtf8(menuText()), toUtf8(c.menus));
    EXPECT_EQ(toUtf8(phraseText()), toUtf8(c.phrases));
    EXPECT_EQ(toUtf8(joined(ext.calls)), toUtf8(c.ext));
  }
}

TEST_F(ChartsTest, AddNamesNumbersAndCaptions) {
  auto charts = makeRef<AGPCharts>();
  EXPECT_FALSE(charts->add(u"t", u""));
  EXPECT_EQ(charts->curSeq(), u"0");
  ASSERT_TRUE(charts->add(u"t", u"OrderDetails"));
  AGPChart& c = charts->at(0);
  EXPECT_EQ(toString(c.get(u"ChartCaption")), u"Order Details");
  EXPECT_EQ(charts->curName(), u"OrderDetails");
  EXPECT_EQ(charts->curSeq(), u"1");
  ASSERT_TRUE(charts->add(u"t", u"order details"));
  // Found in another case: nothing added, curName as passed.
  EXPECT_TRUE(charts->add(u"t", u"ORDERDETAILS"));
  EXPECT_EQ(charts->count(), 2);
  EXPECT_EQ(charts->curName(), u"ORDERDETAILS");
  EXPECT_EQ(charts->curSeq(), u"1");
  // A name set on the chart itself: B answers, b does not, and the key A still finds it.
  c.let(u"ChartName", Variant(u"B"));
  EXPECT_TRUE(charts->add(u"t", u"B"));
  EXPECT_FALSE(charts->add(u"t", u"b"));
  EXPECT_EQ(charts->count(), 2);
  EXPECT_EQ(charts->item(Variant(u"orderdetails")).get(), &c);
}

}  // namespace
}  // namespace vantorel
