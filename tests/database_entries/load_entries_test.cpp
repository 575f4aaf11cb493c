// AGP.LoadDB and AGP.LoadTable end to end, from the project object to the menus, against a
// SQLite file, private PostgreSQL and MariaDB servers and an Access file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
#include "database_entries/shop_schema.hpp"
#include "extensions/extensions.hpp"
#include "extensions/setting_access.hpp"
#include "foundation/c_registry.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/status.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "support/db_servers.hpp"
#include "support/shared_menus.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test {
namespace {

const std::filesystem::path kAccessFiles = std::filesystem::path(VANTOREL_TEST_DATA) / "access";

std::u16string accessFile(const char* name) {
  return fromUtf8((kAccessFiles / name).string());
}

class LoadEntries : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    agp_ = makeRef<AGP>();
    agp_->AddProj(u"Shop");
    clearMenus();
    projectContext().lastErrorText.clear();
  }
  void TearDown() override {
    agp_->UnLoadDB();
    clearMenus();
  }
  std::u16string err() const { return projectContext().lastErrorText; }
  AGPTable* table(const std::u16string& name) {
    AGPTables& tables = agp_->DB()->tables();
    return tables.tableExist(Variant(name)) ? tables.item(Variant(name)).get() : nullptr;
  }
  bool loaded(const std::u16string& name) {
    AGPTable* t = table(name);
    return t && toBool(t->properties().setting(kTblLoaded));
  }
  // The URLs of the "Table" links, in list order.
  static std::vector<std::u16string> tableLinks() {
    std::vector<std::u16string> out;
    for (const Ref<AGPMenu>& m : SharedMenus().items()) {
      if (m->MenuType() == u"Table") out.push_back(m->MenuUrl());
    }
    return out;
  }

  Ref<AGP> agp_;
};

const std::vector<std::u16string> kShopLinks = {u"customers", u"order_totals", u"orders"};

std::vector<std::u16string> sorted(std::vector<std::u16string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST_F(LoadEntries, EachKindLoadsOnceWithItsKeyAndMenus) {
  struct Case {
    Dbms kind;
    bool dsn;
    std::u16string type;
    std::u16string key;
    std::u16string storedType;
  } cases[] = {
      // The type in any letter case takes the path of its upper-case form all the way.
      {Dbms::Sqlite, true, u"Odbc", kSqliteDsn, u"ODBC"},
      {Dbms::Sqlite, false, u"ado", u"DB", u"ado"},
      {Dbms::Postgres, true, u"odbc", kPostgresDsn, u"ODBC"},
      {Dbms::Postgres, false, u"DB", u"DB", u"DB"},
      {Dbms::MariaDb, true, u"ODBC", kMariaDbDsn, u"ODBC"},
      {Dbms::MariaDb, false, u"Ado", u"DB", u"Ado"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(dbmsName(c.kind)) + " " + toUtf8(c.type));
    projectContext().lastErrorText = u"earlier";
    LoadDB(*agp_, loadArgumentsFor(databases(), c.kind, c.dsn, c.type));
    ASSERT_EQ(err(), u"");
    ASSERT_TRUE(agp_->DB());
    EXPECT_EQ(agp_->CurrentDbKey(), c.key);
    EXPECT_EQ(agp_->DBCnt(), 1);
    EXPECT_EQ(toString(agp_->DB()->properties().setting(kDBType)), c.storedType);
    EXPECT_EQ(projectContext().currentDbmsName,
              toString(agp_->DB()->properties().setting(kDBDBMSName)));
    EXPECT_EQ(projectContext().statusText, u"Vantorel - Loading Database...");
    EXPECT_EQ(Status().dialogHandle(), 0);
    for (const std::u16string& name : kShopLinks) EXPECT_TRUE(loaded(name)) << toUtf8(name);
    EXPECT_EQ(table(u"orders")->fields().count(), 4);
    EXPECT_EQ(sorted(tableLinks()), kShopLinks);

    // A second database is refused and the first stays.
    const Ref<AGPDatabase> first = agp_->DB();
    LoadDB(*agp_, loadArgumentsFor(databases(), Dbms::Sqlite, true, u"ODBC"));
    EXPECT_EQ(err(), u"database already loaded!");
    EXPECT_EQ(agp_->DB(), first);

    agp_->UnLoadDB();
    EXPECT_FALSE(agp_->DB());
    EXPECT_EQ(SharedMenus().Count(), 0);
  }
}

TEST_F(LoadEntries, AccessFilesAreKeyedByTheirFileName) {
  const std::u16string path = accessFile("queryTestV2000.mdb");
  std::u16string backslashed = path;
  backslashed[backslashed.rfind(u'/')] = u'\\';
  for (const std::u16string& phyPath : {path, backslashed}) {
    DatabaseLoadArguments a;
    a.sDbType = u"access";
    a.sPath = u"db/queryTestV2000.mdb";
    a.sPhyPath = phyPath;
    // What an earlier database left behind.
    projectContext().currentDbmsName = u"PostgreSQL";
    LoadDB(*agp_, a);
    ASSERT_EQ(err(), u"") << toUtf8(phyPath);
    EXPECT_EQ(agp_->CurrentDbKey(), u"queryTestV2000.mdb");
    EXPECT_EQ(toString(agp_->DB()->properties().setting(kDBType)), u"ACCESS");
    EXPECT_EQ(toString(agp_->DB()->properties().setting(kDBPhyPath)), phyPath);
    EXPECT_EQ(projectContext().currentDbmsName, u"ACCESS");
    EXPECT_TRUE(loaded(u"Table1"));
    EXPECT_TRUE(loaded(u"SelectQuery"));
    EXPECT_EQ(tableLinks().size(), static_cast<std::size_t>(agp_->DB()->tables().count()));
    agp_->UnLoadDB();
  }
}

TEST_F(LoadEntries, FailedLoadsLeaveNoDatabaseAndALaterLoadWorks) {
  DatabaseLoadArguments wrongPassword =
      loadArgumentsFor(databases(), Dbms::Postgres, true, u"ODBC");
  wrongPassword.sPwd = u"wrong";
  DatabaseLoadArguments unreachable;
  unreachable.sDbType = u"DB";
  unreachable.sConnStr = databases().postgres().connectionString(kTestDatabase);
  const std::u16string port = toU16(databases().postgres().port());
  unreachable.sConnStr.replace(unreachable.sConnStr.find(port), port.size(),
                               toU16(freeLocalPort()));
  DatabaseLoadArguments missingFile;
  missingFile.sDbType = u"ACCESS";
  missingFile.sPhyPath = accessFile("missing.mdb");
  DatabaseLoadArguments noFileName = missingFile;
  noFileName.sPhyPath = fromUtf8(kAccessFiles.string()) + u"/";
  DatabaseLoadArguments emptyConnection;
  emptyConnection.sDbType = u"DB";
  DatabaseLoadArguments unknownSource =
      loadArgumentsFor(databases(), Dbms::Postgres, true, u"ODBC");
  unknownSource.sDbName = u"no_such_dsn";
  DatabaseLoadArguments noSourceName = unknownSource;
  noSourceName.sDbName = u"";

  struct Case {
    const char* label;
    DatabaseLoadArguments arguments;
    std::u16string errorStart;
  } cases[] = {
      {"wrong password", wrongPassword,
       u"Vantorel: Unable to connect to Data Source! User ID / Password not valid!"},
      {"unreachable server", unreachable, u"Vantorel: "},
      {"missing file", missingFile, u"\r\nError # "},
      {"no file name", noFileName, u"invalid database path!"},
      // Nothing named opens nothing, not the driver manager's default data source.
      {"empty connection string", emptyConnection, u"invalid connection string specified!"},
      {"empty data source name", noSourceName, u"invalid DBName specified!"},
      // The driver manager's own lines, not a login refused.
      {"unknown data source", unknownSource,
       u"Vantorel: \r\nError #1:\r\n   ADO Error   #-2147467259\r\n   Description  SQLSTATE "
       u"IM002"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // Every failure replaces what an earlier call left.
    projectContext().lastErrorText = u"earlier";
    LoadDB(*agp_, c.arguments);
    EXPECT_EQ(err().rfind(c.errorStart, 0), 0U) << toUtf8(err());
    EXPECT_FALSE(err().empty());
    EXPECT_FALSE(agp_->DB());
    EXPECT_EQ(agp_->DBCnt(), 0);
    EXPECT_EQ(agp_->CurrentDbKey(), u"");
    EXPECT_EQ(Status().dialogHandle(), 0);
    EXPECT_EQ(SharedMenus().Count(), 0);
  }
  LoadDB(*agp_, loadArgumentsFor(databases(), Dbms::Postgres, true, u"ODBC"));
  EXPECT_EQ(err(), u"");
  EXPECT_TRUE(agp_->DB());
}

// A table read after its database became unreachable says why, whatever an earlier call left,
// and the table it would have added goes again.
TEST_F(LoadEntries, LoadTableThatCannotConnectSaysWhy) {
  agp_->properties().setting(kProjDynamicLoadDB) = Variant(true);
  LoadDB(*agp_, loadArgumentsFor(databases(), Dbms::Postgres, true, u"ODBC"));
  ASSERT_EQ(err(), u"");
  agp_->DB()->properties().setting(kDBPwd) = Variant(u"wrong");
  const std::int32_t count = agp_->DB()->tables().count();
  for (const char16_t* name : {u"orders", u"nothing"}) {
    SCOPED_TRACE(toUtf8(name));
    projectContext().lastErrorText = u"earlier";
    LoadTable(*agp_, name);
    EXPECT_EQ(err(), u"Vantorel: Unable to connect to Data Source! User ID / Password not valid!");
    EXPECT_FALSE(loaded(name));
    EXPECT_EQ(agp_->DB()->tables().count(), count);
  }
  agp_->properties().setting(kProjDynamicLoadDB) = Variant(false);
}

TEST_F(LoadEntries, ADatabaseLeftInTheCollectionIsRefusedWithTheDisplayClosed) {
  agp_->databases().add(u"left over");
  LoadDB(*agp_, loadArgumentsFor(databases(), Dbms::Sqlite, true, u"ODBC"));
  EXPECT_EQ(err(), u"support 1 db only!");
  EXPECT_FALSE(agp_->DB());
  EXPECT_EQ(agp_->CurrentDbKey(), u"");
  EXPECT_EQ(Status().dialogHandle(), 0);
  agp_->databases().remove(Variant(u"left over"));
}

// The project's SQLQuote setting at the load chooses the database's quote characters with its
// kind.
TEST_F(LoadEntries, TheProjectsQuoteSettingChoosesTheDatabasesQuotes) {
  struct Case {
    Dbms kind;
    const char16_t* setting;
    const char16_t* open;
    const char16_t* close;
  } cases[] = {
      {Dbms::Sqlite, u"", u"", u""},       {Dbms::Postgres, u"", u"\"", u"\""},
      {Dbms::MariaDb, u"", u"`", u"`"},    {Dbms::MariaDb, u"Square Bracket", u"[", u"]"},
      {Dbms::Postgres, u"None", u"", u""}, {Dbms::Sqlite, u"Single Quote", u"'", u"'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(dbmsName(c.kind)) + " " + toUtf8(c.setting));
    agp_->properties().setting(kProjSQLQuote) = Variant(std::u16string(c.setting));
    LoadDB(*agp_, loadArgumentsFor(databases(), c.kind, false, u"DB"));
    ASSERT_EQ(err(), u"");
    AGProperties& bag = agp_->DB()->properties();
    EXPECT_EQ(toString(bag.setting(kDBQuoteS)), c.open);
    EXPECT_EQ(toString(bag.setting(kDBQuoteE)), c.close);
    agp_->UnLoadDB();
  }
}

TEST_F(LoadEntries, DynamicLoadThenLoadTableAndUnload) {
  for (const Dbms kind : {Dbms::Sqlite, Dbms::Postgres, Dbms::MariaDb}) {
    SCOPED_TRACE(dbmsName(kind));
    agp_->properties().setting(kProjDynamicLoadDB) = Variant(true);
    LoadDB(*agp_, loadArgumentsFor(databases(), kind, false, u"DB"));
    ASSERT_EQ(err(), u"");
    for (const std::u16string& name : kShopLinks) {
      ASSERT_TRUE(table(name)) << toUtf8(name);
      EXPECT_FALSE(loaded(name));
      EXPECT_EQ(table(name)->fields().count(), 0);
    }
    EXPECT_TRUE(tableLinks().empty());

    // A report needs a loaded source.
    EXPECT_FALSE(agp_->LoadReport(u"Order report", u"orders"));
    EXPECT_EQ(err(), u"Vantorel: Table/View orders not exist or loaded!");

    LoadTable(*agp_, u"orders");
    ASSERT_EQ(err(), u"");
    EXPECT_TRUE(loaded(u"orders"));
    EXPECT_EQ(table(u"orders")->fields().count(), 4);
    EXPECT_EQ(tableLinks(), std::vector<std::u16string>{u"orders"});
    EXPECT_TRUE(agp_->LoadReport(u"Order report", u"orders"));

    struct Refusal {
      const char16_t* name;
      std::u16string error;
    } refusals[] = {
        {u"orders", u"Vantorel: Table orders already loaded!"},
        {u"ORDERS", u"Vantorel: Table ORDERS cannot be added!"},
        // Not in the database: the table it added goes again.
        {u"nothing", u"Vantorel: Table nothing not found!"},
    };
    const std::int32_t count = agp_->DB()->tables().count();
    for (const Refusal& r : refusals) {
      LoadTable(*agp_, r.name);
      EXPECT_EQ(err(), r.error);
      EXPECT_EQ(agp_->DB()->tables().count(), count);
    }

    // Unloaded and loaded again, the table keeps its own settings and reads its fields anew.
    AGPTable& orders = *table(u"orders");
    orders.properties().setting(kTblCaption) = Variant(u"All orders");
    ASSERT_TRUE(agp_->LoadChart(u"Totals", u"orders"));
    agp_->UnLoadTable(u"orders");
    EXPECT_EQ(err(), u"");
    EXPECT_EQ(orders.fields().count(), 0);
    EXPECT_EQ(orders.charts().count(), 0);
    EXPECT_FALSE(SharedMenus().MenuHasTable(u"Chart", u"orders|Totals"));
    LoadTable(*agp_, u"orders");
    EXPECT_EQ(err(), u"");
    EXPECT_EQ(orders.fields().count(), 4);
    EXPECT_EQ(toString(orders.properties().setting(kTblCaption)), u"All orders");
    // What the database says is read anew.
    EXPECT_EQ(toString(orders.properties().setting(kTblType)), u"TABLE");
    EXPECT_TRUE(loaded(u"orders"));

    agp_->UnLoadDB();
    agp_->properties().setting(kProjDynamicLoadDB) = Variant(false);
  }
}

TEST_F(LoadEntries, AccessTablesLoadOneByOne) {
  agp_->properties().setting(kProjDynamicLoadDB) = Variant(true);
  DatabaseLoadArguments a;
  a.sDbType = u"ACCESS";
  a.sPhyPath = accessFile("queryTestV2000.mdb");
  LoadDB(*agp_, a);
  ASSERT_EQ(err(), u"");
  EXPECT_FALSE(loaded(u"Table1"));
  LoadTable(*agp_, u"Table1");
  EXPECT_EQ(err(), u"");
  EXPECT_TRUE(loaded(u"Table1"));
  EXPECT_GT(table(u"Table1")->fields().count(), 0);
  LoadTable(*agp_, u"NoSuchTable");
  EXPECT_EQ(err(), u"Vantorel: Table NoSuchTable not found!");
  EXPECT_FALSE(table(u"NoSuchTable"));
}

TEST_F(LoadEntries, ChartsCopiedAfterALoadKeepTheirTrendlinesAndMenus) {
  LoadDB(*agp_, loadArgumentsFor(databases(), Dbms::Sqlite, false, u"DB"));
  ASSERT_EQ(err(), u"");
  ASSERT_TRUE(agp_->LoadChart(u"Sales", u"orders"));
  AGPChart& sales = *table(u"orders")->charts().item(Variant(u"Sales"));
  sales.trendlines().add(u"Target");
  sales.trendlines().add(u"Floor");
  ASSERT_TRUE(agp_->CopyChart(u"Sales", u"Sales 2", u"orders"));
  AGPChart& copy = *table(u"orders")->charts().item(Variant(u"Sales 2"));
  EXPECT_EQ(copy.trendlines().count(), 2);
  EXPECT_TRUE(SharedMenus().MenuHasTable(u"Chart", u"orders|Sales 2"));
  // Unloading the database takes every menu entry with it; a new load makes them again.
  agp_->UnLoadDB();
  EXPECT_EQ(SharedMenus().Count(), 0);
  LoadDB(*agp_, loadArgumentsFor(databases(), Dbms::Sqlite, false, u"DB"));
  EXPECT_EQ(sorted(tableLinks()), kShopLinks);
}

// An extension installed for the user is registered by a load and gives every loaded table and
// each new chart its entry; a copied chart takes the old one's values; unloading drops it.
TEST_F(LoadEntries, InstalledExtensionsFollowLoadsChartsAndUnload) {
  TempDir folder;
  std::ofstream(folder.path() / "notes.xml")
      << "<Project><Database><Table><attribute name=\"Note\" default=\"none\"/>"
         "<Chart><attribute name=\"Colour\" default=\"red\"/></Chart></Table></Database>"
         "</Project>";
  ProjectContext& context = projectContext();
  context.extensionsFolder = fromUtf8(folder.path().string());
  const std::u16string key = context.extensionsKey + u"\\Notes";
  // The user's settings are the whole test program's: the projects that the host program makes
  // in later tests must not register an extension whose archive is not there.
  const struct Uninstall {
    std::u16string key;
    ~Uninstall() {
      cRegistry registry;
      registry.ClassKey(kHkeyCurrentUser);
      registry.SectionKey(key);
      if (registry.KeyExists()) registry.DeleteKey();
    }
  } uninstall{key};
  const std::int32_t text = 1;  // a string value
  SetRegValue(Variant(u"HKCU"), Variant(key), Variant(u"Name"), text, Variant(u"Notes"));
  SetRegValue(Variant(u"HKCU"), Variant(key), Variant(u"Template"), text, Variant(u"notes.zip"));
  SetRegValue(Variant(u"HKCU"), Variant(key), Variant(u"XmlFile"), text, Variant(u"notes.xml"));

  LoadDB(*agp_, loadArgumentsFor(databases(), Dbms::Sqlite, false, u"DB"));
  ASSERT_EQ(err(), u"");
  ASSERT_NE(SharedExtensions().find(u"Notes"), nullptr);
  EXPECT_EQ(toString(GetExtTblAtt(*agp_, u"Notes", u"orders", u"Note")), u"none");
  ASSERT_TRUE(agp_->LoadChart(u"Sales", u"orders"));
  EXPECT_EQ(toString(GetExtChartAtt(*agp_, u"Notes", u"orders", u"Sales", u"Colour")), u"red");
  ASSERT_TRUE(SetExtChartAtt(*agp_, u"Notes", u"orders", u"Sales", u"Colour", Variant(u"blue")));
  ASSERT_TRUE(agp_->CopyChart(u"Sales", u"Sales 2", u"orders"));
  EXPECT_EQ(toString(GetExtChartAtt(*agp_, u"Notes", u"orders", u"Sales 2", u"Colour")), u"blue");
  agp_->UnLoadDB();
  EXPECT_EQ(SharedExtensions().find(u"Notes"), nullptr);
}

}  // namespace
}  // namespace vantorel::test
