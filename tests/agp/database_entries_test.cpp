// The project object's entries that work on a database already in the model: menus, table
// unloading, reports, charts, setting copies and unloading the database. The database is made
// by hand here; the loading entries are tested against live databases in tests/database_entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "agp/menu_sync.hpp"
#include "fields/field_settings.hpp"
#include "foundation/captions.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_test_support.hpp"
#include "foundation/status.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "support/shared_menus.hpp"

namespace vantorel {
namespace {

class DatabaseEntries : public test::RegistryTest {
 protected:
  void SetUp() override {
    spillStore(machineFile(), "");
    agp_ = makeRef<AGP>();
    agp_->AddProj(u"Shop");
    test::clearMenus();
  }
  void TearDown() override {
    agp_->UnLoadDB();
    test::clearMenus();
  }
  // A database as a load leaves it: tables with their fields, loaded unless named in `unloaded`.
  AGPDatabase& makeDatabase(const std::vector<std::u16string>& unloaded = {}) {
    agp_->databases().add(u"DB");
    agp_->setDB(Ref<AGPDatabase>(agp_->databases().find(u"DB")));
    addTable(u"orders", {u"id", u"customer", u"placed"});
    addTable(u"customers", {u"id", u"name"});
    addTable(u"order_view", {u"id", u"customer"});
    for (const std::u16string& name : unloaded)
      table(name).properties().setting(kTblLoaded) = Variant(false);
    return *agp_->DB();
  }
  void addTable(const std::u16string& name, const std::vector<std::u16string>& fields) {
    AGPTables& tables = agp_->DB()->tables();
    tables.add(name);
    AGPTable& t = table(name);
    t.properties().setting(kTblType) = Variant(u"TABLE");
    t.LoadTableDefault();
    t.setTblGen(true);
    t.properties().setting(kTblLoaded) = Variant(true);
    for (const std::u16string& f : fields) {
      t.fields().add(name, f);
      t.fields().item(Variant(f))->properties().setting(kFldCaption) = Variant(name + u"." + f);
    }
  }
  AGPTable& table(const std::u16string& name) { return *agp_->DB()->tables().item(Variant(name)); }
  std::u16string err() const { return projectContext().lastErrorText; }

  // "type:url:parent:order:show" of every menu entry, in list order; parents by URL.
  static std::vector<std::string> menus() {
    std::vector<std::string> out;
    for (const Ref<AGPMenu>& m : SharedMenus().items()) {
      std::string parent = "-";
      if (const Ref<AGPMenu> p = SharedMenus().GetItemByID(m->MenuParentId())) {
        parent = toUtf8(p->MenuUrl());
      }
      out.push_back(toUtf8(m->MenuType() + u":" + m->MenuUrl()) + ":" + parent + ":" +
                    std::to_string(m->MenuDisplayOrder()) + ":" + (m->MenuShow() ? "1" : "0"));
    }
    return out;
  }

  Ref<AGP> agp_;
};

const std::u16string kNoDatabase = u"Vantorel: Database not loaded!";

TEST_F(DatabaseEntries, EntriesWithoutADatabaseRefuse) {
  projectContext().lastErrorText = u"earlier";
  agp_->UnLoadTable(u"orders");
  EXPECT_EQ(err(), kNoDatabase);
  projectContext().lastErrorText.clear();
  EXPECT_FALSE(agp_->LoadReport(u"r", u"orders"));
  EXPECT_EQ(err(), kNoDatabase);
  EXPECT_FALSE(agp_->LoadChart(u"c", u"orders"));
  EXPECT_EQ(err(), kNoDatabase);
  EXPECT_FALSE(agp_->CopyChart(u"c", u"d", u"orders"));
  EXPECT_EQ(err(), kNoDatabase);
  // The copies tell the host nothing happened, but leave no message.
  projectContext().lastErrorText = u"kept";
  EXPECT_FALSE(agp_->CopyTableSettings(u"orders", u"customers"));
  EXPECT_FALSE(agp_->CopyFieldSettings(u"orders", u"id", u"customers", u"id"));
  EXPECT_EQ(err(), u"kept");
}

TEST_F(DatabaseEntries, SyncMenusLinksLoadedTablesAndTheirCharts) {
  makeDatabase({u"order_view"});
  AGPTable& orders = table(u"orders");
  for (const char16_t* chart : {u"Sales", u"Hidden", u"Third"})
    orders.charts().add(u"orders", chart);
  orders.charts().item(Variant(u"Sales"))->properties().setting(kShowChart) = Variant(true);
  orders.charts().item(Variant(u"Third"))->properties().setting(kShowChart) = Variant(true);
  table(u"customers").properties().setting(kTblList) = Variant(false);
  // A free entry, a link in another letter case and links to what the model lacks.
  AGMenuFields free = AGPMenus::addDefaults();
  free.MenuText = u"Home";
  free.MenuUrl = u"default.asp";
  free.MenuType = u"Other";
  SharedMenus().AddMenu(free);
  AGMenuFields other = free;
  other.MenuType = u"Table";
  other.MenuUrl = u"ORDERS";
  SharedMenus().AddMenu(other);
  other.MenuUrl = u"gone";
  SharedMenus().AddMenu(other);
  other.MenuType = u"Chart";
  other.MenuUrl = u"gone|c";
  SharedMenus().AddMenu(other);
  other.MenuUrl = u"customers|deleted chart";
  SharedMenus().AddMenu(other);

  SyncMenus(*agp_);
  EXPECT_EQ(menus(), (std::vector<std::string>{
                         "Other:default.asp:-:-1:1",
                         "Table:ORDERS:-:-1:1",
                         "Chart:customers|deleted chart:-:-1:1",
                         "Table:orders:-:-1:1",
                         "Chart:orders|Sales:orders:100:1",
                         "Chart:orders|Hidden:orders:200:0",
                         "Chart:orders|Third:orders:300:1",
                         "Table:customers:-:-1:0",
                     }));

  // A second run changes nothing; a missing chart link is added with its own position.
  SharedMenus().DeleteMenu(SharedMenus().GetItemByTableName(u"Chart", u"orders|Hidden")->MenuId());
  SyncMenus(*agp_);
  EXPECT_EQ(menus().back(), "Chart:orders|Hidden:orders:200:0");
  EXPECT_EQ(menus().size(), 8U);

  // A deleted table takes its links, charts included, with it.
  agp_->DB()->tables().remove(u"orders");
  SyncMenus(*agp_);
  EXPECT_EQ(menus(), (std::vector<std::string>{"Other:default.asp:-:-1:1",
                                               "Chart:customers|deleted chart:-:-1:1",
                                               "Table:customers:-:-1:0"}));
}

TEST_F(DatabaseEntries, UnLoadTableKeepsTheTableWithoutChartsAndFields) {
  makeDatabase({u"order_view"});
  AGPTable& orders = table(u"orders");
  orders.charts().add(u"orders", u"Sales");
  orders.charts().add(u"orders", u"Count");
  orders.properties().setting(kTblCaption) = Variant(u"All orders");
  SyncMenus(*agp_);

  struct Case {
    const char16_t* name;
    std::u16string error;
  } refusals[] = {
      {u"ORDERS", u"Vantorel: Table ORDERS not found!"},
      {u"nothing", u"Vantorel: Table nothing not found!"},
      {u"order_view", u"Vantorel: Table order_view not loaded!"},
  };
  for (const Case& c : refusals) {
    agp_->UnLoadTable(c.name);
    EXPECT_EQ(err(), c.error);
  }
  EXPECT_EQ(orders.fields().count(), 3);

  projectContext().lastErrorText = u"earlier";
  agp_->UnLoadTable(u"orders");
  EXPECT_EQ(err(), u"");
  EXPECT_EQ(projectContext().statusText, u"Vantorel - Unloading orders...");
  EXPECT_EQ(orders.fields().count(), 0);
  EXPECT_EQ(orders.charts().count(), 0);
  EXPECT_FALSE(toBool(orders.properties().setting(kTblLoaded)));
  EXPECT_FALSE(orders.tblGen());
  EXPECT_EQ(toString(orders.properties().setting(kTblCaption)), u"All orders");
  // The charts' links went with them; the table's own link stays, hidden.
  EXPECT_EQ(menus(), (std::vector<std::string>{"Table:orders:-:-1:0", "Table:customers:-:-1:1"}));
  agp_->UnLoadTable(u"orders");
  EXPECT_EQ(err(), u"Vantorel: Table orders not loaded!");
}

TEST_F(DatabaseEntries, LoadReportCopiesTheSourceFieldsWithEditingOff) {
  makeDatabase({u"order_view"});
  AGPTable& orders = table(u"orders");
  orders.properties().setting(kTblSecurity) = Variant(u"owner");
  orders.properties().setting(kTblUserIDFld) = Variant(u"customer");
  orders.fields().item(Variant(u"placed"))->properties().setting(kFldValidate) = Variant(u"date");

  struct Case {
    const char16_t* report;
    const char16_t* source;
    std::u16string error;
  } refusals[] = {
      {u"orders", u"order_view", u"Vantorel: Table/View orders already exists!"},
      {u"orders", u"orders", u"Vantorel: Table/View orders already exists!"},
      {u"r", u"order_view", u"Vantorel: Table/View order_view not exist or loaded!"},
      {u"r", u"Orders", u"Vantorel: Table/View Orders not exist or loaded!"},
      {u"r", u"", u"Vantorel: Table/View  not exist or loaded!"},
      // Refused by the collection, which ignores letter case: no longer a silent refusal.
      {u"Customers", u"orders", u"Vantorel: Table/View Customers already exists!"},
  };
  for (const Case& c : refusals) {
    EXPECT_FALSE(agp_->LoadReport(c.report, c.source)) << toUtf8(c.report);
    EXPECT_EQ(err(), c.error);
    EXPECT_EQ(Status().dialogHandle(), 0);
  }
  EXPECT_EQ(agp_->DB()->tables().count(), 3);

  ASSERT_TRUE(agp_->LoadReport(u"Sales report", u"orders"));
  EXPECT_EQ(err(), u"");
  AGPTable& report = table(u"Sales report");
  AGProperties& bag = report.properties();
  EXPECT_EQ(toString(bag.setting(kTblType)), u"REPORT");
  EXPECT_EQ(toString(bag.setting(kTblRptSrc)), u"orders");
  EXPECT_TRUE(toBool(bag.setting(kTblLoaded)));
  EXPECT_TRUE(report.tblGen());
  EXPECT_EQ(toString(bag.setting(kTblSecurity)), u"owner");
  EXPECT_EQ(toString(bag.setting(kTblUserIDFld)), u"customer");
  ASSERT_EQ(report.fields().count(), 3);
  for (std::size_t i = 0; i < 3; ++i) {
    AGPField& field = report.fields().at(i);
    AGPField& source = orders.fields().at(i);
    EXPECT_EQ(field.FldName(), source.FldName());
    EXPECT_EQ(toString(field.properties().setting(kFldCaption)),
              toString(source.properties().setting(kFldCaption)));
    for (const FieldSetting off :
         {kFldAdd, kFldView, kFldEdit, kFldSearch, kFldBasicSearch, kFldRegister}) {
      EXPECT_FALSE(toBool(field.properties().setting(off)));
    }
  }
  EXPECT_EQ(toString(report.fields().item(Variant(u"placed"))->properties().setting(kFldValidate)),
            u"date");
  EXPECT_EQ(menus().back(), "Table:Sales report:-:-1:1");
}

TEST_F(DatabaseEntries, LoadChartAndCopyChart) {
  makeDatabase({u"order_view"});
  struct Case {
    const char16_t* chart;
    const char16_t* table;
    std::u16string error;
  } loads[] = {
      {u"Sales", u"nothing", u"Vantorel: Chart source nothing not exist!"},
      {u"", u"orders", u"Vantorel: Add Chart  failed!"},
      {u"Sales", u"ORDERS", u""},
      {u"sales", u"orders", u"Vantorel: Chart sales already exists!"},
      // A table that is only registered takes charts too.
      {u"Views", u"order_view", u""},
  };
  for (const Case& c : loads) {
    EXPECT_EQ(agp_->LoadChart(c.chart, c.table), c.error.empty()) << toUtf8(c.chart);
    EXPECT_EQ(err(), c.error);
  }
  AGPChart& sales = *table(u"orders").charts().item(Variant(u"Sales"));
  sales.properties().setting(kShowChart) = Variant(true);
  sales.SetV(u"ChartXFldName", u"placed");
  sales.setChartCaption(u"Sales by day");
  for (const char16_t* name : {u"Target", u"Floor"}) {
    sales.trendlines().add(name);
    sales.trendlines()
        .item(Variant(name))
        ->properties()
        .item(u"TrendColor")
        ->setValue(Variant(std::u16string(name) + u"Red"));
  }

  const Case copies[] = {
      {u"Sales", u"nothing", u"Vantorel: Chart source nothing not exist!"},
      {u"Missing", u"orders", u"Vantorel: Chart Missing does not exist!"},
      {u"Sales", u"orders", u"Vantorel: Chart Sales already exists!"},
      {u"", u"orders", u"Vantorel: Chart  does not exist!"},
  };
  for (const Case& c : copies) {
    EXPECT_FALSE(agp_->CopyChart(c.chart, u"Sales", c.table));
    EXPECT_EQ(err(), c.error);
  }
  ASSERT_TRUE(agp_->CopyChart(u"sales", u"Sales copy", u"orders"));
  EXPECT_EQ(err(), u"");
  AGPChart& copy = *table(u"orders").charts().item(Variant(u"Sales copy"));
  EXPECT_EQ(copy.GetV(u"ChartXFldName"), u"placed");
  EXPECT_EQ(copy.chartCaption(), NameToCaption(u"Sales copy"));
  EXPECT_EQ(copy.chartName(), u"Sales copy");
  EXPECT_EQ(copy.chartSeq(), 2);
  ASSERT_EQ(copy.trendlines().count(), 2);
  EXPECT_EQ(copy.trendlines().seq(1)->trendName(), u"Target");
  EXPECT_EQ(toString(copy.trendlines().seq(2)->properties().item(u"TrendColor")->value()),
            u"FloorRed");
  // The first chart's link was made while it was hidden, and keeps that.
  EXPECT_EQ(menus(), (std::vector<std::string>{
                         "Table:orders:-:-1:1", "Chart:orders|Sales:orders:100:0",
                         "Table:customers:-:-1:1", "Chart:orders|Sales copy:orders:200:1"}));
}

TEST_F(DatabaseEntries, SettingCopiesCarryTheSynchronisedRowsOfSharedNames) {
  makeDatabase();
  AGPTable& orders = table(u"orders");
  AGPTable& view = table(u"order_view");
  orders.properties().setting(kTblRecPerPage) = Variant(std::int16_t{42});
  orders.fields().item(Variant(u"customer"))->properties().setting(kFldValidate) = Variant(u"x");
  const std::u16string viewCustomerVar =
      toString(view.fields().item(Variant(u"customer"))->properties().setting(kFldVar));

  struct Case {
    const char16_t* source;
    const char16_t* target;
    bool result;
  } tables[] = {
      {u"orders", u"", false},          {u"", u"orders", false},
      {u"nothing", u"orders", false},   {u"orders", u"nothing", false},
      {u"ORDERS", u"order_view", true},
  };
  for (const Case& c : tables) {
    EXPECT_EQ(agp_->CopyTableSettings(c.source, c.target), c.result) << toUtf8(c.source);
  }
  EXPECT_EQ(toInteger(view.properties().setting(kTblRecPerPage)), 42);
  EXPECT_EQ(view.tblName(), u"order_view");
  AGPField& customer = *view.fields().item(Variant(u"customer"));
  EXPECT_EQ(toString(customer.properties().setting(kFldValidate)), u"x");
  EXPECT_EQ(toString(customer.properties().setting(kFldCaption)), u"orders.customer");
  // Identity rows are never copied.
  EXPECT_EQ(customer.FldName(), u"customer");
  EXPECT_EQ(toInteger(customer.properties().setting(kFldSeq)), 2);
  EXPECT_EQ(toString(customer.properties().setting(kFldVar)), viewCustomerVar);

  struct FieldCase {
    const char16_t* sourceField;
    const char16_t* targetField;
    bool result;
  } fields[] = {
      {u"nothing", u"name", false},
      {u"placed", u"nothing", false},
      {u"", u"name", false},
      {u"PLACED", u"name", true},
  };
  for (const FieldCase& c : fields) {
    EXPECT_EQ(agp_->CopyFieldSettings(u"orders", c.sourceField, u"customers", c.targetField),
              c.result);
  }
  AGPField& name = *table(u"customers").fields().item(Variant(u"name"));
  EXPECT_EQ(toString(name.properties().setting(kFldCaption)), u"orders.placed");
  EXPECT_EQ(name.FldName(), u"name");
}

TEST_F(DatabaseEntries, UnLoadDBLeavesNoDatabaseMenusOrLogin) {
  // Without a database nothing is touched.
  AGMenuFields free = AGPMenus::addDefaults();
  free.MenuText = u"Home";
  free.MenuUrl = u"default.asp";
  free.MenuType = u"Other";
  SharedMenus().AddMenu(free);
  projectContext().lastErrorText = u"earlier";
  agp_->UnLoadDB();
  EXPECT_EQ(SharedMenus().Count(), 1);
  EXPECT_EQ(err(), u"earlier");

  makeDatabase();
  SyncMenus(*agp_);
  agp_->properties().setting(kProjSecTbl) = Variant(u"customers");
  agp_->properties().setting(kProjSecLoginIDFld) = Variant(u"name");
  agp_->properties().setting(kProjSecPasswdFld) = Variant(u"id");
  agp_->properties().setting(kProjName) = Variant(u"Kept");
  projectContext().statusText = u"before";
  agp_->UnLoadDB();
  EXPECT_FALSE(agp_->DB());
  EXPECT_EQ(agp_->DBCnt(), 0);
  EXPECT_EQ(agp_->CurrentDbKey(), u"");
  EXPECT_EQ(SharedMenus().Count(), 0);
  EXPECT_EQ(err(), u"");
  for (const ProjectSetting row : {kProjSecTbl, kProjSecLoginIDFld, kProjSecPasswdFld}) {
    EXPECT_EQ(toString(agp_->properties().setting(row)), u"");
  }
  EXPECT_EQ(toString(agp_->properties().setting(kProjName)), u"Kept");
  // Three tables are below the threshold of 20: the caption stays.
  EXPECT_EQ(projectContext().statusText, u"before");

  makeDatabase();
  for (int i = 0; i < 20; ++i) agp_->DB()->tables().add(u"t" + toU16(i));
  agp_->UnLoadDB();
  EXPECT_EQ(projectContext().statusText, u"Vantorel - Unloading Database...");
}

}  // namespace
}  // namespace vantorel
