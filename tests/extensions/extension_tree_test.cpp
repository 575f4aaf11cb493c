// The extension list and each extension's settings tree: keys, sequence numbers, the current
// entry and the refusals.
#include <gtest/gtest.h>

#include "extensions/extensions.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

class ExtensionTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    projectContext().extensions = nullptr;
    projectContext().lastErrorText.clear();
  }
};

TEST_F(ExtensionTreeTest, ExtensionListNumbersAndRefuses) {
  AGPExtensions& list = SharedExtensions();
  EXPECT_FALSE(list.add(u""));
  for (const char16_t* name : {u"A", u"B", u"C"}) EXPECT_TRUE(list.add(name));
  EXPECT_EQ(list.seq(1)->name(), u"A");
  EXPECT_EQ(list.seq(3)->name(), u"C");
  // A name held already, in any case, only becomes current.
  EXPECT_TRUE(list.add(u"b"));
  EXPECT_EQ(list.count(), 3);
  EXPECT_EQ(list.curName(), u"b");
  EXPECT_EQ(list.curSeq(), u"2");
  // A new extension is not enabled and names nothing.
  EXPECT_FALSE(list.find(u"A")->enabled());
  EXPECT_EQ(list.find(u"A")->xmlFile(), u"");

  EXPECT_TRUE(list.remove(Variant(u"B")));
  EXPECT_FALSE(list.remove(Variant(u"B")));
  EXPECT_FALSE(list.remove(Variant(u"")));
  EXPECT_EQ(list.find(u"A")->seq(), 1);
  EXPECT_EQ(list.find(u"C")->seq(), 2);
  EXPECT_EQ(list.seq(2)->name(), u"C");
  EXPECT_EQ(list.item(Variant(u"nothing")), nullptr);
  EXPECT_EQ(list.curName(), u"b");
  EXPECT_EQ(list.item(Variant(u"c"))->name(), u"C");
  EXPECT_EQ(list.curName(), u"C");
}

TEST_F(ExtensionTreeTest, ProjectLevelIsMadeOnFirstUseWithOneDatabase) {
  SharedExtensions().add(u"Cal");
  AGPExtension& ext = *SharedExtensions().find(u"Cal");
  EXPECT_FALSE(ext.isExtended());
  EXPECT_EQ(ext.proj().dbCnt(), 0);
  EXPECT_TRUE(ext.isExtended());
  EXPECT_EQ(ext.proj().db().dbName(), u"DB");
  EXPECT_EQ(ext.proj().dbCnt(), 1);

  // The database list refuses a second entry with its own message, and adds the first without
  // touching what another operation left.
  auto dbs = makeRef<AGPExtDbs>();
  projectContext().lastErrorText = u"earlier";
  dbs->call(u"Add", {Variant(u"one")});
  EXPECT_EQ(projectContext().lastErrorText, u"earlier");
  EXPECT_FALSE(dbs->add(u"two"));
  EXPECT_EQ(projectContext().lastErrorText, u"earlier");
  dbs->call(u"Add", {Variant(u"two")});
  EXPECT_EQ(projectContext().lastErrorText, u"support 1 db only!");
  EXPECT_EQ(dbs->count(), 1);
  EXPECT_THROW(dbs->item(Variant(u"two")), AutomationError);
  EXPECT_THROW(dbs->remove(Variant(u"two")), AutomationError);
}

TEST_F(ExtensionTreeTest, EntryListsRenameNumberAndSelect) {
  auto tables = makeRef<AGPExtTables>();
  for (const char16_t* name : {u"Orders", u"Customers", u"Items"}) EXPECT_TRUE(tables->add(name));
  struct Case {
    const char16_t* from;
    const char16_t* to;
    bool result;
  };
  const Case cases[] = {
      {u"Orders", u"orders", true},       // a change of case only
      {u"orders", u"Customers", false},   // onto another entry
      {u"orders", u"orders", true},       // nothing to do
      {u"Nothing", u"Other", false},      // no such entry
      {u"", u"x", false},
      {u"orders", u"Sales", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tables->change(c.from, c.to), c.result) << toUtf8(c.from) << " -> " << toUtf8(c.to);
  }
  AGPExtTable* sales = tables->find(u"Sales");
  ASSERT_NE(sales, nullptr);
  EXPECT_EQ(sales->name(), u"Sales");
  EXPECT_EQ(sales->seq(), 1);
  EXPECT_FALSE(tables->add(u"sales"));
  // Item by number is a position, by text a key.
  EXPECT_EQ(tables->item(Variant(std::int16_t{2}))->name(), u"Customers");
  EXPECT_EQ(tables->item(Variant(u"2")), nullptr);

  EXPECT_TRUE(tables->remove(Variant(u"Sales")));
  EXPECT_EQ(tables->find(u"Customers")->seq(), 1);
  EXPECT_EQ(tables->find(u"Items")->seq(), 2);

  // Charts select by their exact name; tables and fields by key.
  auto charts = makeRef<AGPExtCharts>();
  charts->add(u"Chart1");
  charts->add(u"Chart2");
  charts->setSeq(2);
  charts->setItemExact(Variant(u"chart1"));
  EXPECT_EQ(charts->curName(), u"Chart2");
  charts->setItemExact(Variant(u"Chart1"));
  EXPECT_EQ(charts->curName(), u"Chart1");
  tables->setItem(Variant(u"items"));
  EXPECT_EQ(tables->curName(), u"Items");
  // A chart rename makes its number current too; a table rename does not.
  EXPECT_TRUE(charts->change(u"Chart2", u"Pie"));
  EXPECT_EQ(charts->curSeq(), 2);
}

TEST_F(ExtensionTreeTest, MembersReachTheTreeByName) {
  SharedExtensions().add(u"Cal");
  Ref<AGPExtension> ext = SharedExtensions().item(Variant(u"Cal"));
  Variant proj = ext->get(u"PROJ");
  Variant db = proj.objectValue()->get(u"DB");
  Variant tables = db.objectValue()->get(u"Tables");
  EXPECT_TRUE(toBool(tables.objectValue()->call(u"Add", {Variant(u"Orders")})));
  EXPECT_EQ(toLong(tables.objectValue()->call(u"Count")), 1);
  EXPECT_TRUE(toBool(ext->get(u"IsExtended")));
  EXPECT_EQ(toString(ext->get(u"Key")), u"Cal");
}

}  // namespace
}  // namespace vantorel
