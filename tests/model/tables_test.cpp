#include "model/tables.hpp"

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

std::u16string num(std::int32_t n) {
  return fromAscii(std::to_string(n));
}

// The tables as "TblName:TblSeq" in position order.
std::u16string tableState(AGPTables& tables) {
  std::vector<std::u16string> parts;
  for (std::int32_t i = 0; i < tables.count(); ++i) {
    AGPTable& t = tables.at(static_cast<std::size_t>(i));
    parts.push_back(t.tblName() + u":" + num(t.tblSeq()));
  }
  return joined(parts);
}

class TablesTest : public test::ModelTest {
 protected:
  // Customers, Orders (charts Sales and Costs, fields id and qty) and Items, with menus and
  // phrases that refer to Orders.
  Ref<AGPTables> build() {
    test::addMenu(u"Table", u"Orders");
    test::addMenu(u"Table", u"orders");
    test::addMenu(u"Chart", u"Orders|Sales");
    test::addMenu(u"Chart", u"Orders|Costs|x");
    test::addMenu(u"Chart", u"OrdersX|Sales");
    test::addMenu(u"Table", u"Orders", true);
    AGPLanguage& lang = SharedLanguage();
    lang.SetTablePhrase(u"en", u"Orders", u"Caption", u"O");
    lang.SetTablePhrase(u"en", u"Customers", u"Caption", u"C");
    lang.SetChartPhrase(u"en", u"Orders", u"Sales", u"Caption", u"S");
    lang.SetFieldPhrase(u"en", u"Orders", u"qty", u"Caption", u"Q");
    auto tables = makeRef<AGPTables>();
    for (const char16_t* name : {u"Customers", u"Orders", u"Items"}) {
      EXPECT_TRUE(tables->add(name));
    }
    AGPTable& orders = *tables->find(u"Orders");
    orders.charts().add(u"Orders", u"Sales");
    orders.charts().add(u"Orders", u"Costs");
    orders.fields().add(u"Orders", u"id");
    orders.fields().add(u"Orders", u"qty");
    ext.calls.clear();
    return tables;
  }
};

TEST_F(TablesTest, RenameAndDeleteCascades) {
  struct Case {
    std::u16string op, a, b;
    bool result;
    std::u16string tables, menus, phrases, ext;
  };
  const std::u16string menus0 =
      u"Table:Orders:1,Table:orders:1,Chart:Orders|Sales:1,Chart:Orders|Costs|x:1,"
      u"Chart:OrdersX|Sales:1,Table:Orders:1";
  const std::u16string phrases0 =
      u"T:Orders.Caption=O,T:Customers.Caption=C,C:Orders|Sales.Caption=S,"
      u"F:Orders.qty.Caption=Q";
  const std::u16string tables0 = u"Customers:1,Orders:2,Items:3";
  const std::u16string renamed =
      u"Table:Purchases:1,Table:orders:1,Chart:Purchases|Sales:1,Chart:Purchases|Costs|x:1,"
      u"Chart:OrdersX|Sales:1,Table:Orders:1";
  const std::u16string renamedPhrases =
      u"T:Customers.Caption=C,T:Purchases.Caption=O,C:Purchases|Sales.Caption=S,"
      u"F:Purchases.qty.Caption=Q";
  const std::u16string deletedMenus =
      u"Table:orders:1,Chart:Orders|Costs|x:1,Chart:OrdersX|Sales:1,Table:Orders:1";
  const std::u16string deletedExt =
      u"deleteChart:Orders|Costs,deleteChart:Orders|Sales,deleteTable:Orders,"
      u"deleteField:Orders.qty,deleteField:Orders.id";
  const std::vector<Case> cases = {
      {u"change", u"Orders", u"Purchases", true, u"Customers:1,Purchases:2,Items:3", renamed,
       renamedPhrases, u"renameTable:Orders>Purchases,scripts:Orders>Purchases"},
      {u"change", u"ORDERS", u"Purchases", true, u"Customers:1,Purchases:2,Items:3", renamed,
       renamedPhrases, u"renameTable:Orders>Purchases,scripts:Orders>Purchases"},
      {u"change", u"Orders", u"ORDERS", true, u"Customers:1,ORDERS:2,Items:3",
       u"Table:ORDERS:1,Table:orders:1,Chart:ORDERS|Sales:1,Chart:ORDERS|Costs|x:1,"
       u"Chart:OrdersX|Sales:1,Table:Orders:1",
       u"T:Customers.Caption=C,T:ORDERS.Caption=O,C:ORDERS|Sales.Caption=S,"
       u"F:ORDERS.qty.Caption=Q",
       u"renameTable:Orders>ORDERS,scripts:Orders>ORDERS"},
      {u"change", u"Orders", u"customers", false, tables0, menus0, phrases0, u""},
      {u"change", u"Nope", u"Nope", true, tables0, menus0, phrases0, u""},
      {u"change", u"Nope", u"Other", false, tables0, menus0, phrases0, u""},
      {u"change", u"Orders", u"", false, tables0, menus0, phrases0, u""},
      {u"delete", u"Orders", u"", true, u"Customers:1,Items:2", deletedMenus,
       u"T:Customers.Caption=C", deletedExt},
      {u"delete", u"ORDERS", u"", true, u"Customers:1,Items:2", deletedMenus,
       u"T:Customers.Caption=C", deletedExt},
      {u"delete", u"Customers", u"", true, u"Orders:1,Items:2", menus0,
       u"T:Orders.Caption=O,C:Orders|Sales.Caption=S,F:Orders.qty.Caption=Q",
       u"deleteTable:Customers"},
      {u"delete", u"Nope", u"", false, tables0, menus0, phrases0, u""},
      {u"delete", u"", u"", false, tables0, menus0, phrases0, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.op + u" " + c.a + u" " + c.b));
    SetUp();
    Ref<AGPTables> tables = build();
    const Variant r = c.op == u"change" ? tables->call(u"Change", {Variant(c.a), Variant(c.b)})
                                        : tables->call(u"Delete", {Variant(c.a)});
    EXPECT_EQ(toBool(r), c.result);
    EXPECT_EQ(toUtf8(tableState(*tables)), toUtf8(c.tables));
    EXPECT_EQ(toUtf8(menuText()), toUtf8(c.menus));
    EXPECT_EQ(toUtf8(phraseText()), toUtf8(c.phrases));
    EXPECT_EQ(toUtf8(joined(ext.calls)), toUtf8(c.ext));
    if (c.op == u"change" && c.result && c.a != c.b) {
      AGPTable& t = *tables->find(c.b);
      EXPECT_EQ(toString(t.get(u"TblVar")), c.b);
      EXPECT_EQ(tables->curName(), c.b);
      EXPECT_EQ(tables->curSeq(), 2);
    } else {
      EXPECT_EQ(tables->curName(), u"Items");  // a deleted table may stay current
    }
  }
}

TEST_F(TablesTest, PositionsKeysAndSequenceNumbers) {
  auto tables = makeRef<AGPTables>();
  for (const char16_t* name : {u"A", u"B", u"2", u"D", u"E"}) ASSERT_TRUE(tables->add(name));
  ASSERT_TRUE(tables->remove(u"A"));
  ASSERT_TRUE(tables->remove(u"d"));
  ASSERT_TRUE(tables->add(u"F"));
  EXPECT_EQ(toUtf8(tableState(*tables)), "B:1,2:2,E:3,F:4");
  // Numbers a host set: sequence and position now differ.
  tables->find(u"B")->setTblSeq(2);
  tables->find(u"2")->setTblSeq(1);
  struct Case {
    const char16_t* op;
    Variant index;
    const char16_t* found;  // "-" when the member returns nothing
    const char16_t* current;
  };
  const std::vector<Case> cases = {
      {u"Seq", Variant(std::int16_t{2}), u"B", u"F"},
      {u"Item", Variant(std::int32_t{2}), u"2", u"2"},
      {u"SetSeq", Variant(std::int16_t{2}), u"-", u"B"},
      {u"SetItem", Variant(std::int32_t{2}), u"-", u"2"},
      {u"Item", Variant(4.0), u"F", u"F"},
      {u"SetItem", Variant(u"e"), u"-", u"E"},
      {u"SetSeq", Variant(std::int16_t{9}), u"-", u"E"},
      {u"SetItem", Variant(std::int32_t{3}), u"-", u"E"},
      {u"Item", Variant(std::int32_t{5}), u"", u"E"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(std::u16string(c.op) + u" " + toString(c.index)));
    const Variant r = tables->call(c.op, {c.index});
    const std::u16string found = r.isNothing()  ? u""
                                 : r.isObject() ? toString(r.objectValue()->get(u"TblName"))
                                                : u"-";
    EXPECT_EQ(toUtf8(found), toUtf8(c.found));
    EXPECT_EQ(toUtf8(tables->curName()), toUtf8(c.current));
  }
}

TEST_F(TablesTest, TblGenShowsAndHidesTheTablesEntries) {
  const std::vector<std::pair<std::u16string, std::u16string>> entries = {
      {u"Table", u"Orders"}, {u"Table", u"orders"}, {u"Chart", u"Orders|Sales"},
      {u"Chart", u"Orders"}, {u"Chart", u""},       {u"Chart", u"OrdersX|Sales"},
  };
  for (const auto& [type, url] : entries) test::addMenu(type, url, url.empty());
  auto tables = makeRef<AGPTables>();
  ASSERT_TRUE(tables->add(u"Orders"));
  tables->at(0).let(u"TblGen", Variant(false));
  EXPECT_FALSE(toBool(tables->at(0).get(u"TblGen")));
  EXPECT_EQ(toUtf8(menuText()),
            "Table:Orders:0,Table:orders:1,Chart:Orders|Sales:0,Chart:Orders:0,Chart::1,"
            "Chart:OrdersX|Sales:1");
}

TEST_F(TablesTest, ReleaseDeletesChartsThenFieldsHighestFirstUnderTheCurrentName) {
  auto table = makeRef<AGPTable>();
  EXPECT_EQ(table->tblSeq(), 0);
  EXPECT_FALSE(table->tblGen());
  table->setTblName(u"Customers");
  for (const char16_t* c : {u"c1", u"c2", u"c3"}) table->charts().add(u"Customers", c);
  for (const char16_t* f : {u"f1", u"f2", u"f3", u"f4", u"f5"}) {
    table->fields().add(u"Customers", f);
  }
  table->let(u"Key", Variant(u"Clients"));
  ext.calls.clear();
  table = nullptr;
  EXPECT_EQ(toUtf8(joined(ext.calls)),
            "deleteChart:Clients|c3,deleteChart:Clients|c2,deleteChart:Clients|c1,"
            "deleteField:Clients.f5,deleteField:Clients.f4,deleteField:Clients.f3,"
            "deleteField:Clients.f2,deleteField:Clients.f1");
}

TEST_F(TablesTest, GapsAndRepeatsInSequenceNumbersSkipNothing) {
  auto table = makeRef<AGPTable>();
  table->setTblName(u"T");
  for (const char16_t* c : {u"a", u"b", u"c", u"d"}) table->charts().add(u"T", c);
  // Numbers a script set: a gap, a repeat and one that is no number at all.
  table->charts().at(0).let(u"ChartSeq", Variant(std::int16_t{7}));
  table->charts().at(1).let(u"ChartSeq", Variant(std::int16_t{7}));
  table->charts().at(3).properties().setting(kChartSeq) = Variant(u"x");
  ASSERT_TRUE(table->charts().remove(u"T", Variant(u"c")));
  table->charts().deleteAll(u"T");
  EXPECT_EQ(table->charts().count(), 0);
  EXPECT_EQ(toUtf8(joined(ext.calls)),
            "deleteChart:T|c,deleteChart:T|a,deleteChart:T|b,deleteChart:T|d");

  auto tables = makeRef<AGPTables>();
  for (const char16_t* name : {u"A", u"B", u"C", u"D"}) tables->add(name);
  tables->at(1).let(u"TblSeq", Variant(std::int16_t{9}));
  tables->at(2).let(u"TblSeq", Variant(std::int16_t{1}));
  ext.calls.clear();
  std::vector<std::u16string> order;
  tables->removeAll([&](AGPTable& t) { order.push_back(t.tblName()); }, [] {});
  EXPECT_EQ(tables->count(), 0);
  EXPECT_EQ(toUtf8(joined(order)), "B,D,C,A");
}

}  // namespace
}  // namespace vantorel
