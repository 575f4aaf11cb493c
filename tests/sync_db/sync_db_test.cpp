// A project synchronised with a database whose schema changed, on SQLite and the private
// PostgreSQL and MariaDB servers: what changed is applied, every setting of what remained is
// unchanged in the saved project file, and a database that cannot be read changes nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "project/menus.hpp"
#include "project/project_catalogue.hpp"
#include "support/db_servers.hpp"
#include "support/temp_home.hpp"
#include "support/test_databases.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

enum class Kind { Sqlite, Postgres, MariaDb };

const char* kindName(Kind kind) {
  return kind == Kind::Sqlite ? "SQLite" : kind == Kind::Postgres ? "PostgreSQL" : "MariaDB";
}

[[maybe_unused]] const TestDatabases* const kRegistered =
    registerTestDatabases([](TestDatabases&) {});

void run(const std::u16string& connectionString, const std::vector<std::u16string>& script) {
  data::Connection connection(connectionString);
  for (const std::u16string& sql : script) data::execute(connection, sql);
}

// A database of its own for each test and kind.
std::u16string createDatabase(TestDatabases& db, Kind kind) {
  static std::atomic<int> counter{0};
  const std::u16string name = u"sync" + toU16(static_cast<long long>(++counter));
  switch (kind) {
    case Kind::Sqlite:
      return replaceAll(db.sqliteConnectionString(), u"vantorel.sqlite", name + u".sqlite");
    case Kind::Postgres:
      run(db.postgres().connectionString(u"postgres"), {u"CREATE DATABASE " + name});
      return db.postgres().connectionString(name);
    case Kind::MariaDb:
      break;
  }
  run(db.mariadb().connectionString(u""), {u"CREATE DATABASE " + name});
  return db.mariadb().connectionString(name);
}

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The element of one table in a saved project file, its position numbers taken out (they move
// when an object before it goes); "" when the file has no such table.
std::string tableElement(const std::string& file, const std::string& table) {
  const std::size_t name = file.find(" TblName=\"" + table + "\"");
  if (name == std::string::npos) return {};
  const std::size_t start = file.rfind("<Table ", name);
  const std::size_t end = file.find("</Table>", name);
  return std::regex_replace(file.substr(start, end - start), std::regex(" (Tbl|Fld)Seq=\"\\d+\""),
                            "");
}

std::string fieldElement(const std::string& file, const std::string& table,
                         const std::string& field) {
  const std::string element = tableElement(file, table);
  const std::size_t start = element.find("<Field FldName=\"" + field + "\"");
  if (start == std::string::npos) return {};
  return element.substr(start, element.find("<Field ", start + 1) - start);
}

class SyncDatabase : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped()) return;
    agp_ = makeRef<AGP>();
    clearMenus();
    projectContext().reportFolder = fromUtf8((dir_.path() / "reports").string());
  }
  void TearDown() override {
    if (agp_) agp_->UnLoadDB();
    clearMenus();
  }
  static void clearMenus() {
    AGPMenus& menus = SharedMenus();
    while (menus.Count() > 0) menus.DeleteMenu(menus.Item(1)->MenuId());
  }

  // A project loaded from the database, with settings of the user's own on what will remain.
  void loadProject(const std::u16string& connectionString) {
    agp_->UnLoadDB();
    agp_->AddProj(u"Shop");
    agp_->properties().setting(kProjAutoSync) = Variant(false);
    DatabaseLoadArguments a;
    a.sDbType = u"ODBC";
    a.sConnStr = connectionString;
    agp_->LoadDB(a);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    AGPTables& tables = agp_->DB()->tables();
    ASSERT_TRUE(tables.tableExist(Variant(u"customers")));
    tables.item(Variant(u"customers"))->properties().setting(kTblCaption) = Variant(u"Clients");
    AGPFields& orders = tables.item(Variant(u"orders"))->fields();
    orders.item(Variant(u"placed"))->properties().setting(kFldCaption) = Variant(u"Placed on");
    AGProperties& lookup = orders.item(Variant(u"customer_id"))->properties();
    lookup.setting(kFldTagLnkTbl) = Variant(u"customers");
    lookup.setting(kFldTagLnkFld) = Variant(u"id");
    lookup.setting(kFldTagLnkDisplay) = Variant(u"name");
  }
  std::string save(const char* name) {
    const fs::path path = dir_.path() / name;
    agp_->Save(fromUtf8(path.string()));
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    return slurp(path);
  }

  static std::vector<std::u16string> initialSchema() {
    return {
        u"CREATE TABLE customers (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(30))",
        u"CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER, placed DATE, "
        u"total NUMERIC(10,2), note VARCHAR(20), code INTEGER)",
        u"CREATE TABLE items (id INTEGER PRIMARY KEY, qty INTEGER)",
        u"CREATE TABLE old_stuff (id INTEGER PRIMARY KEY)",
        u"CREATE VIEW order_totals AS SELECT customer_id, SUM(total) AS total FROM orders GROUP "
        u"BY customer_id",
    };
  }

  TempDir dir_;
  Ref<AGP> agp_;
};

TEST_F(SyncDatabase, SchemaChangesAreAppliedAndEverythingElseIsKept) {
  for (const Kind kind : {Kind::Sqlite, Kind::Postgres, Kind::MariaDb}) {
    SCOPED_TRACE(kindName(kind));
    const std::u16string connection = createDatabase(databases(), kind);
    run(connection, initialSchema());
    loadProject(connection);
    const std::string before = save("before.vtp");

    std::vector<std::u16string> changes = {
        u"ALTER TABLE orders ADD COLUMN shipped DATE",
        u"ALTER TABLE orders DROP COLUMN note",
        u"ALTER TABLE customers RENAME COLUMN city TO town",
        u"CREATE TABLE extra (id INTEGER PRIMARY KEY)",
        u"DROP TABLE old_stuff",
        u"ALTER TABLE items RENAME TO order_items",
        u"CREATE VIEW big_orders AS SELECT id FROM orders WHERE id > 10",
    };
    if (kind == Kind::Postgres)
      changes.push_back(u"ALTER TABLE orders ALTER code TYPE VARCHAR(20)");
    if (kind == Kind::MariaDb) changes.push_back(u"ALTER TABLE orders MODIFY code VARCHAR(20)");
    run(connection, changes);

    projectContext().lastErrorText.clear();
    SynchronizeDB(*agp_);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    const std::string after = save("after.vtp");

    // What remained keeps every setting, the user's included.
    for (const char* f : {"id", "name"}) {
      EXPECT_EQ(fieldElement(after, "customers", f), fieldElement(before, "customers", f)) << f;
    }
    for (const char* f : {"id", "customer_id", "placed"}) {
      EXPECT_EQ(fieldElement(after, "orders", f), fieldElement(before, "orders", f)) << f;
    }
    EXPECT_NE(fieldElement(after, "orders", "placed").find("FldCaption=\"Placed on\""),
              std::string::npos);
    EXPECT_NE(tableElement(after, "customers").find("TblCaption=\"Clients\""), std::string::npos);
    EXPECT_EQ(tableElement(after, "order_totals"), tableElement(before, "order_totals"));
    // What changed is applied; an unattended run pairs no rename.
    EXPECT_NE(fieldElement(after, "orders", "shipped"), "");
    EXPECT_EQ(fieldElement(after, "orders", "note"), "");
    EXPECT_NE(fieldElement(after, "customers", "town"), "");
    EXPECT_EQ(fieldElement(after, "customers", "city"), "");
    EXPECT_NE(tableElement(after, "extra"), "");
    EXPECT_NE(tableElement(after, "big_orders"), "");
    EXPECT_NE(tableElement(after, "order_items"), "");
    EXPECT_EQ(tableElement(after, "old_stuff"), "");
    EXPECT_EQ(tableElement(after, "items"), "");
    if (kind != Kind::Sqlite) {
      EXPECT_NE(fieldElement(after, "orders", "code"), fieldElement(before, "orders", "code"));
    }
    const std::string log = slurp(fs::path(toUtf8(agp_->SyncLog())));
    EXPECT_NE(log.find("ADDED   : (TABLE) extra\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("DELETED : (TABLE) old_stuff\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("ADDED   : (Field) orders->shipped\r\n"), std::string::npos) << log;

    // A second run finds nothing to do: the log holds its header only.
    SynchronizeDB(*agp_);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    EXPECT_EQ(toUtf8(agp_->SyncLog()), "");
    EXPECT_EQ(save("again.vtp"), after);
  }
}

TEST_F(SyncDatabase, ADatabaseThatCannotBeReadLeavesTheProjectFileAsItWas) {
  for (const Kind kind : {Kind::Sqlite, Kind::Postgres, Kind::MariaDb}) {
    SCOPED_TRACE(kindName(kind));
    const std::u16string connection = createDatabase(databases(), kind);
    run(connection, initialSchema());
    loadProject(connection);
    const std::string before = save("before.vtp");

    // Emptied: every table would count as removed.
    run(connection, {u"DROP VIEW order_totals", u"DROP TABLE customers", u"DROP TABLE orders",
                     u"DROP TABLE items", u"DROP TABLE old_stuff"});
    SynchronizeDB(*agp_);
    EXPECT_NE(toUtf8(projectContext().lastErrorText), "");
    EXPECT_EQ(save("emptied.vtp"), before);

    // Unreachable.
    const std::u16string closedPort =
        fromUtf8(std::regex_replace(toUtf8(connection), std::regex("Port=\\d+"), "Port=1"));
    agp_->DB()->properties().setting(kDBConnstr) = Variant(
        kind == Kind::Sqlite ? std::u16string(u"Driver=NoSuchDriver;Database=x") : closedPort);
    projectContext().lastErrorText.clear();
    SynchronizeDB(*agp_);
    EXPECT_NE(toUtf8(projectContext().lastErrorText), "");
    agp_->DB()->properties().setting(kDBConnstr) = Variant(connection);
    EXPECT_EQ(save("unreachable.vtp"), before);
  }
}

TEST_F(SyncDatabase, ALoadWithAutoSyncUpdatesWhenTheUserSaysUpdate) {
  for (const ui::Answer answer : {ui::Answer::Keep, ui::Answer::Update}) {
    SCOPED_TRACE(answer == ui::Answer::Keep ? "Keep" : "Update");
    const std::u16string connection = createDatabase(databases(), Kind::Sqlite);
    run(connection, initialSchema());
    loadProject(connection);
    agp_->properties().setting(kProjAutoSync) = Variant(true);
    const std::string before = save("before.vtp");
    run(connection, {u"CREATE TABLE extra (id INTEGER PRIMARY KEY)"});
    agp_->UnLoadDB();

    auto recorder = std::make_shared<ui::RecordingBackend>();
    recorder->queueAnswer(answer);
    ui::setBackendForTesting(recorder);
    agp_ = makeRef<AGP>();
    agp_->Load(fromUtf8((dir_.path() / "before.vtp").string()));
    ui::setBackendForTesting(nullptr);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    const std::string loaded = save("loaded.vtp");
    EXPECT_EQ(tableElement(loaded, "orders"), tableElement(before, "orders"));
    EXPECT_EQ(tableElement(loaded, "customers"), tableElement(before, "customers"));
    if (answer == ui::Answer::Keep) {
      EXPECT_EQ(tableElement(loaded, "extra"), "");
    } else {
      EXPECT_NE(tableElement(loaded, "extra"), "");
      EXPECT_NE(toUtf8(agp_->SyncLog()), "");
    }
  }
}

TEST_F(SyncDatabase, ATableThatCannotBeReadIsLeftAsItIsWithOneRecord) {
  const std::u16string connection = createDatabase(databases(), Kind::Postgres);
  run(connection, initialSchema());
  const std::u16string database = connection.substr(
      connection.find(u"Database=") + 9,
      connection.find(u';', connection.find(u"Database=")) - connection.find(u"Database=") - 9);
  run(connection, {u"CREATE USER " + database + u"_reader PASSWORD 'pw'",
                   u"GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + database + u"_reader",
                   u"REVOKE SELECT ON orders FROM " + database + u"_reader"});
  loadProject(connection);
  const std::string before = save("before.vtp");
  agp_->DB()->properties().setting(kDBConnstr) =
      Variant(databases().postgres().connectionString(database, database + u"_reader", u"pw"));
  SynchronizeDB(*agp_);
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  agp_->DB()->properties().setting(kDBConnstr) = Variant(connection);
  EXPECT_EQ(save("after.vtp"), before);
  const std::string log = slurp(fs::path(toUtf8(agp_->SyncLog())));
  EXPECT_NE(log.find("CHANGED : (TABLE) orders - "), std::string::npos) << log;
  EXPECT_EQ(log.find("DELETED"), std::string::npos) << log;
}

}  // namespace
}  // namespace vantorel::test
