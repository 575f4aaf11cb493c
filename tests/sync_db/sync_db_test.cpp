// A project synchronised with a database whose schema changed, on SQLite and the private
// PostgreSQL and MariaDB servers: what changed is applied, every setting of what remained is
// unchanged in the saved project file, and a database that cannot be read changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
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
#include "projectfile/project_file_operations.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "support/db_servers.hpp"
#include "support/project_elements.hpp"
#include "support/schema_script.hpp"
#include "support/shared_menus.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_databases.hpp"
#include "support/test_files.hpp"
#include "sync/custom_sync.hpp"
#include "sync/sync_driver.hpp"
#include "sync/sync_run.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

[[maybe_unused]] const TestDatabases* const kRegistered =
    registerTestDatabases([](TestDatabases&) {});

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
  // A database of the test's own with the initial schema, loaded into the project.
  std::u16string loadFreshDatabase(Dbms kind) {
    const std::u16string connection = freshDatabase(databases(), kind);
    run(connection, initialSchema());
    loadProject(connection);
    return connection;
  }
  // A project loaded from the database, with settings of the user's own on what will remain.
  // Custom views need the type "DB": with "ODBC" their queries go to a named data source.
  void loadProject(const std::u16string& connectionString, const char16_t* type = u"ODBC") {
    agp_->UnLoadDB();
    agp_->AddProj(u"Shop");
    agp_->properties().setting(kProjAutoSync) = Variant(false);
    DatabaseLoadArguments a;
    a.sDbType = type;
    a.sConnStr = connectionString;
    LoadDB(*agp_, a);
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
  // A project over a new database of that kind, with the custom view "recent" over the query.
  std::u16string projectWithCustomView(Dbms kind, const char16_t* query) {
    const std::u16string connection = freshDatabase(databases(), kind);
    run(connection, initialSchema());
    loadProject(connection, u"DB");
    LoadCustomView(*agp_, u"recent", query, false);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    return connection;
  }
  std::string save(const char* name) {
    const fs::path path = dir_.path() / name;
    saveProjectFile(*agp_, fromUtf8(path.string()));
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    return readFile(path);
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
  for (const Dbms kind : kAllDbms) {
    SCOPED_TRACE(dbmsName(kind));
    const std::u16string connection = loadFreshDatabase(kind);
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
    if (kind == Dbms::Postgres)
      changes.push_back(u"ALTER TABLE orders ALTER code TYPE VARCHAR(20)");
    if (kind == Dbms::MariaDb) changes.push_back(u"ALTER TABLE orders MODIFY code VARCHAR(20)");
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
    if (kind != Dbms::Sqlite) {
      EXPECT_NE(fieldElement(after, "orders", "code"), fieldElement(before, "orders", "code"));
    }
    const std::string log = readFile(fs::path(toUtf8(agp_->SyncLog())));
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
  for (const Dbms kind : kAllDbms) {
    SCOPED_TRACE(dbmsName(kind));
    const std::u16string connection = loadFreshDatabase(kind);
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
        kind == Dbms::Sqlite ? std::u16string(u"Driver=NoSuchDriver;Database=x") : closedPort);
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
    const std::u16string connection = freshDatabase(databases(), Dbms::Sqlite);
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
    loadProjectFile(*agp_, fromUtf8((dir_.path() / "before.vtp").string()));
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
  const std::u16string connection = freshDatabase(databases(), Dbms::Postgres);
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
  const std::string log = readFile(fs::path(toUtf8(agp_->SyncLog())));
  EXPECT_NE(log.find("CHANGED : (TABLE) orders - "), std::string::npos) << log;
  EXPECT_EQ(log.find("DELETED"), std::string::npos) << log;
}

// A name changed in letter case only, on each server: the check counts it once, not as an added
// and a removed object, and the synchronisation gives the stored object the live spelling
// without a question, keeps every setting it had, and writes the rename record that the lookups
// naming it follow; a custom view and a report showing a renamed column do the same. SQLite refuses
// a table rename in letter case only, so there the table goes by way of another name.
TEST_F(SyncDatabase, CaseOnlyRenamesKeepEverySetting) {
  struct Case {
    Dbms kind;
    const char* what;
    std::vector<std::u16string> rename;
    std::string table, field;  // the object before, with field "" for the table itself
    std::string newName;
  } cases[] = {
      {Dbms::Postgres,
       "table",
       {u"ALTER TABLE customers RENAME TO \"Customers\""},
       "customers",
       "",
       "Customers"},
      {Dbms::Postgres,
       "column",
       {u"ALTER TABLE orders RENAME COLUMN placed TO \"Placed\""},
       "orders",
       "placed",
       "Placed"},
      {Dbms::MariaDb,
       "table",
       {u"RENAME TABLE customers TO Customers"},
       "customers",
       "",
       "Customers"},
      {Dbms::MariaDb,
       "column",
       {u"ALTER TABLE orders RENAME COLUMN placed TO Placed"},
       "orders",
       "placed",
       "Placed"},
      {Dbms::Sqlite,
       "table",
       {u"ALTER TABLE customers RENAME TO c_tmp", u"ALTER TABLE c_tmp RENAME TO Customers"},
       "customers",
       "",
       "Customers"},
      {Dbms::Sqlite,
       "column",
       {u"ALTER TABLE orders RENAME COLUMN placed TO Placed"},
       "orders",
       "placed",
       "Placed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(dbmsName(c.kind)) + " " + c.what);
    const std::u16string connection = freshDatabase(databases(), c.kind);
    run(connection, initialSchema());
    loadProject(connection, u"DB");
    // A custom view and a report over the orders follow a column's new spelling too.
    LoadCustomView(*agp_, u"recent", u"SELECT * FROM orders", false);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    ASSERT_TRUE(agp_->LoadReport(u"by_day", u"orders"));
    const std::string before = save("before.vtp");
    run(connection, c.rename);
    // One change for each object that shows the name: the table, or the orders and the custom
    // view over them (the report reads the stored orders, which have not changed yet).
    projectContext().lastErrorText.clear();
    EXPECT_EQ(CheckDB(*agp_), c.field.empty() ? 1 : 2) << toUtf8(projectContext().lastErrorText);

    auto recorder = std::make_shared<ui::RecordingBackend>();
    ui::setBackendForTesting(recorder);
    SynchronizeDB(*agp_);
    ui::setBackendForTesting(nullptr);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    EXPECT_TRUE(recorder->events(ui::RecordingBackend::Event::Kind::Asked).empty());
    EXPECT_EQ(CheckDB(*agp_), 0) << toUtf8(projectContext().lastErrorText);
    const std::string after = save("after.vtp");

    // The file is the one before with the old name in the new spelling wherever it names the
    // object: its own name and script name, the lookup that names it, and the sources of the
    // custom view's and the report's fields, and a table's own report source.
    // The report takes its source's updatable flag at every synchronisation.
    const std::string oldName = c.field.empty() ? c.table : c.field;
    const std::string expected = std::regex_replace(
        before,
        std::regex(
            " ((Tbl|Fld)(Name|Var)|TblRptSrc|FldTagLnk(Tbl|Fld|Display)|FldSource(Table|Field)|"
            "FldSourceName=\"[^\".]*\\.)(=\")?" +
            oldName + "\""),
        " $1$6" + c.newName + "\"");
    auto kept = [](const std::string& element) {
      if (element.find(" TblType=\"REPORT\"") == std::string::npos) return element;
      return std::regex_replace(element, std::regex(" TblUpdatable=\"\\d\""), "");
    };
    const std::string table = c.field.empty() ? c.newName : c.table;
    for (const char* other : {"customers", "Customers", "orders", "items", "old_stuff",
                              "order_totals", "recent", "by_day"}) {
      EXPECT_EQ(kept(tableElement(after, other)), kept(tableElement(expected, other))) << other;
    }
    EXPECT_NE(tableElement(after, table), "");
    const std::string log = readFile(fs::path(toUtf8(agp_->SyncLog())));
    std::vector<std::string> records;
    if (c.field.empty()) {
      records.push_back("CHANGED : (TABLE) " + c.table + " - Rename " + c.table + " to " +
                        c.newName + "\r\n");
    } else {
      for (const char* owner : {"orders", "recent", "by_day"}) {
        records.push_back("CHANGED : (Field) " + std::string(owner) + "->" + c.field +
                          " - Rename " + c.field + " to " + c.newName + "\r\n");
      }
    }
    for (const std::string& record : records) {
      EXPECT_NE(log.find(record), std::string::npos) << record << log;
    }
  }
}

std::vector<std::string> records(const std::vector<SyncLogEntry>& entries) {
  std::vector<std::string> out;
  for (const SyncLogEntry& e : entries) {
    out.push_back(toUtf8(e.action + u"|" + e.kind + u"|" + e.table + u"|" + e.field + u"|" +
                         e.message + u"|" + e.oldValue + u"|" + e.newValue));
  }
  return out;
}

// A custom view synchronised alone: a column its query gains gives exactly one record, "Add
// field", and a column whose type changed one record naming both type codes.
TEST_F(SyncDatabase, ACustomViewsChangedColumnsGiveOneRecordEach) {
  for (const Dbms kind : kAllDbms) {
    SCOPED_TRACE(dbmsName(kind));
    const std::u16string connection = projectWithCustomView(kind, u"SELECT * FROM orders");
    run(connection, {u"ALTER TABLE orders ADD COLUMN shipped DATE"});
    SyncRun added(*agp_, *agp_->DB(), Ref<AGPSchema>(), u"");
    SyncCustom(added, u"recent");
    EXPECT_EQ(records(added.log.entries()),
              std::vector<std::string>{"A|Field|recent|shipped|Add field||"});
    if (kind == Dbms::Sqlite) continue;  // SQLite cannot change a column's type

    AGPFields& fields = agp_->DB()->tables().item(Variant(u"recent"))->fields();
    const std::int16_t before = fields.item(Variant(u"code"))->FldType();
    run(connection, {kind == Dbms::Postgres ? u"ALTER TABLE orders ALTER code TYPE VARCHAR(20)"
                                            : u"ALTER TABLE orders MODIFY code VARCHAR(20)"});
    SyncRun retyped(*agp_, *agp_->DB(), Ref<AGPSchema>(), u"");
    SyncCustom(retyped, u"recent");
    const std::int16_t after = fields.item(Variant(u"code"))->FldType();
    EXPECT_NE(after, before);
    EXPECT_EQ(
        records(retyped.log.entries()),
        std::vector<std::string>{"C|Field|recent|code|Change type from " + std::to_string(before) +
                                 " to " + std::to_string(after) + "||"});
  }
}

// A custom view whose query fails keeps its fields: the check counts nothing for it, and the
// run writes one record that says so, marked as no difference, with the provider's message on
// the record's one line of the log however many lines the message has.
TEST_F(SyncDatabase, ACustomViewWhoseQueryFailsIsOneLineOfTheLog) {
  for (const Dbms kind : kAllDbms) {
    SCOPED_TRACE(dbmsName(kind));
    projectWithCustomView(kind, u"SELECT id, total FROM orders");
    AGPTable& view = *agp_->DB()->tables().item(Variant(u"recent"));
    view.properties().setting(kTblCustomSQL) = Variant(u"SELECT nothing FROM orders");
    EXPECT_EQ(CheckDB(*agp_), 0) << toUtf8(projectContext().lastErrorText);

    const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
    const Expected<> read = loadLiveSchema(*snapshot, *agp_->DB(), u"");
    ASSERT_TRUE(read) << toUtf8(read.failure().text);
    const SyncOutcome outcome = RunSyncPasses(*agp_, snapshot);
    ASSERT_EQ(outcome.changes.size(), 1u);
    EXPECT_TRUE(outcome.changes[0].failure);
    const std::string error = toUtf8(settingAsText(view.properties().setting(kTblCustomError)));
    EXPECT_NE(error, "");
    // psqlODBC's message runs over two lines.
    if (kind == Dbms::Postgres) {
      EXPECT_NE(error.find('\n'), std::string::npos) << error;
    }
    EXPECT_EQ(view.fields().count(), 2);
    const std::string log = readFile(fs::path(toUtf8(agp_->SyncLog())));
    const std::string joined = std::regex_replace(error, std::regex("[ \t]*[\r\n]+[ \t]*"), " ");
    EXPECT_NE(log.find("\r\nCHANGED : (CUSTOMVIEW) recent - " + joined + "\r\n"), std::string::npos)
        << log;
  }
}

// A custom view whose query gives one column more and one fewer after a change of its table:
// the new column becomes a field with the settings a new custom view would give it, the
// vanished one goes, and the others keep what the user set.
TEST_F(SyncDatabase, ACustomViewFollowsItsQuerysColumns) {
  for (const Dbms kind : kAllDbms) {
    SCOPED_TRACE(dbmsName(kind));
    const std::u16string connection = projectWithCustomView(kind, u"SELECT * FROM orders");
    AGPFields& fields = agp_->DB()->tables().item(Variant(u"recent"))->fields();
    fields.item(Variant(u"placed"))->properties().setting(kFldCaption) = Variant(u"Ordered on");
    fields.item(Variant(u"total"))->properties().setting(kFldCaption) = Variant(u"Amount");
    const std::string before = save("before.vtp");

    run(connection,
        {u"ALTER TABLE orders ADD COLUMN shipped DATE", u"ALTER TABLE orders DROP COLUMN note"});
    SynchronizeDB(*agp_);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    EXPECT_EQ(CheckDB(*agp_), 0) << toUtf8(projectContext().lastErrorText);
    LoadCustomView(*agp_, u"fresh", u"SELECT * FROM orders", false);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    const std::string after = save("after.vtp");

    for (const char* f : {"id", "customer_id", "placed", "total", "code"}) {
      EXPECT_EQ(fieldElement(after, "recent", f), fieldElement(before, "recent", f)) << f;
    }
    EXPECT_EQ(fieldElement(after, "recent", "note"), "");
    EXPECT_NE(fieldElement(after, "recent", "shipped"), "");
    EXPECT_EQ(fieldElement(after, "recent", "shipped"), fieldElement(after, "fresh", "shipped"));
    const std::string log = readFile(fs::path(toUtf8(agp_->SyncLog())));
    for (const char* record :
         {"ADDED   : (Field) recent->shipped\r\n", "DELETED : (Field) recent->note\r\n"}) {
      EXPECT_NE(log.find(record), std::string::npos) << record << log;
    }
  }
}

}  // namespace
}  // namespace vantorel::test
