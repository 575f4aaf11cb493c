// The difference check against live databases: each kind of schema change with its count, on
// SQLite, PostgreSQL, MariaDB and an Access file.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/load_entries.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "projectfile/project_file_operations.hpp"
#include "schema/difference_check.hpp"
#include "schema_db/schema_db.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

class SchemaCheckDb : public SchemaDbTest {};

TEST_F(SchemaCheckDb, UnchangedDatabaseChecksCleanTwice) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    ASSERT_TRUE(p->DB());
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());
    EXPECT_EQ(err(), u"");
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());
    EXPECT_FALSE(p->schemaSnapshot());
    // The script member gives the same.
    EXPECT_EQ(toInteger(p->call(u"CheckDB", {})), 0);
  }
}

TEST_F(SchemaCheckDb, EachKindOfChangeCounts) {
  struct Change {
    const char* what;
    std::function<std::vector<std::u16string>(Dbms)> sql;
    std::int16_t expected;
  };
  const std::vector<Change> changes = {
      {"column added",
       [](Dbms) {
         return std::vector<std::u16string>{u"ALTER TABLE orders ADD COLUMN note VARCHAR(20)"};
       },
       3},
      {"column dropped",
       [](Dbms) { return std::vector<std::u16string>{u"ALTER TABLE orders DROP COLUMN placed"}; },
       1},
      {"column renamed",
       [](Dbms) {
         return std::vector<std::u16string>{u"ALTER TABLE notes RENAME COLUMN body TO text_body"};
       },
       3},
      {"column retyped", [](Dbms s) { return retypeNotes(s); }, 2},
      {"table added",
       [](Dbms) {
         return std::vector<std::u16string>{u"CREATE TABLE extra (a INTEGER, b VARCHAR(5))"};
       },
       3},
      {"table dropped", [](Dbms) { return std::vector<std::u16string>{u"DROP TABLE notes"}; }, 3},
      {"table renamed",
       [](Dbms) { return std::vector<std::u16string>{u"ALTER TABLE notes RENAME TO memos"}; }, 6},
      {"view added",
       [](Dbms) {
         return std::vector<std::u16string>{u"CREATE VIEW named AS SELECT id, name FROM customers"};
       },
       3},
  };
  for (const Dbms server : kAllDbms) {
    for (const Change& change : changes) {
      SCOPED_TRACE(std::string(dbmsName(server)) + ": " + change.what);
      const std::u16string cs = freshShop(server);
      const Ref<AGP> p = loadProject(cs);
      ASSERT_TRUE(p->DB());
      const std::int32_t tables = p->DB()->tables().count();
      run(cs, change.sql(server));
      EXPECT_EQ(CheckDB(*p), change.expected) << toUtf8(err());
      // The check changes no table or field of the model.
      EXPECT_EQ(p->DB()->tables().count(), tables);
    }
  }
}

TEST_F(SchemaCheckDb, EmptyAndEmptiedDatabases) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string empty = freshDatabase(databases(), server);
    if (server == Dbms::Sqlite) run(empty, {u"CREATE TABLE gone (a INTEGER)", u"DROP TABLE gone"});
    const Ref<AGP> blank = loadProject(empty);
    ASSERT_TRUE(blank->DB());
    EXPECT_EQ(CheckDB(*blank), 0) << toUtf8(err());

    // A database that lost every table is no ground to count every table as removed.
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    run(cs, {u"DROP VIEW order_totals", u"DROP TABLE orders", u"DROP TABLE notes",
             u"DROP TABLE customers"});
    EXPECT_EQ(CheckDB(*p), -1);
    EXPECT_NE(err().find(u"holds no table or view"), std::u16string::npos) << toUtf8(err());
    EXPECT_EQ(p->DB()->tables().count(), 4);
  }
}

TEST_F(SchemaCheckDb, UnreachableServerLeavesTheProjectAsItWas) {
  for (const Dbms server : {Dbms::Postgres, Dbms::MariaDb}) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    ASSERT_TRUE(p->DB());
    // The same server on a port nobody listens on.
    std::u16string away = cs;
    const std::u16string port = fromUtf8(std::to_string(
        server == Dbms::Postgres ? databases().postgres().port() : databases().mariadb().port()));
    away.replace(away.find(port), port.size(), u"1");
    p->DB()->properties().setting(kDBConnstr) = Variant(away);
    const std::filesystem::path before = databases().folder() / "before.vtp";
    const std::filesystem::path after = databases().folder() / "after.vtp";
    saveProjectFile(*p, fromUtf8(before.string()));
    ASSERT_EQ(toUtf8(err()), "");
    EXPECT_EQ(CheckDB(*p), -1);
    EXPECT_NE(err(), u"");
    saveProjectFile(*p, fromUtf8(after.string()));
    EXPECT_EQ(test::readFile(before), test::readFile(after));

    // The database renamed under the stored connection: the server answers, the database
    // is not there.
    std::u16string renamed = cs;
    const std::size_t at = renamed.find(u"fresh_");
    ASSERT_NE(at, std::u16string::npos);
    renamed.insert(at, u"gone_");
    p->DB()->properties().setting(kDBConnstr) = Variant(renamed);
    saveProjectFile(*p, fromUtf8(before.string()));
    EXPECT_EQ(CheckDB(*p), -1);
    EXPECT_NE(err(), u"");
    saveProjectFile(*p, fromUtf8(after.string()));
    EXPECT_EQ(test::readFile(before), test::readFile(after));
    EXPECT_EQ(p->DB()->tables().count(), 4);
  }
}

TEST_F(SchemaCheckDb, AccessFileChecksClean) {
  const std::filesystem::path data = std::filesystem::path(VANTOREL_TEST_DATA) / "access";
  for (const char* file : {"queryTestV2000.mdb", "testIndexPropertiesV2000.mdb"}) {
    SCOPED_TRACE(file);
    const Ref<AGP> p = makeRef<AGP>();
    p->AddProj(u"Access");
    DatabaseLoadArguments a;
    a.sDbType = u"ACCESS";
    a.sPath = fromUtf8(file);
    a.sPhyPath = fromUtf8((data / file).string());
    LoadDB(*p, a);
    projects_.push_back(p);
    ASSERT_EQ(toUtf8(err()), "");
    ASSERT_TRUE(p->DB());
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());
  }
}

}  // namespace
}  // namespace vantorel::test

namespace vantorel::test {
namespace {

TEST_F(SchemaCheckDb, TableWhoseReadIsRefusedCountsOneChangeAtMost) {
  const std::u16string cs = freshShop(Dbms::Postgres);
  const Ref<AGP> p = loadProject(cs);
  ASSERT_TRUE(p->DB());
  // A second user who may read everything but the notes.
  const std::size_t from = cs.find(u"Database=") + 9;
  const std::u16string db = cs.substr(from, cs.find(u';', from) - from);
  run(cs, {u"DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'reader') THEN "
           u"CREATE ROLE reader LOGIN PASSWORD 'reader'; END IF; END $$",
           u"GRANT SELECT ON customers, orders, order_totals TO reader",
           u"REVOKE ALL ON notes FROM reader"});
  p->DB()->properties().setting(kDBConnstr) =
      Variant(databases().postgres().connectionString(db, u"reader", u"reader"));
  // One changed table, with the server's reason; not a table whose fields were all dropped.
  EXPECT_EQ(CheckDB(*p), 1) << toUtf8(err());
  EXPECT_NE(err().find(u"permission denied"), std::u16string::npos) << toUtf8(err());
  EXPECT_EQ(p->DB()->tables().find(u"notes")->fields().count(), 2);
}

}  // namespace
}  // namespace vantorel::test
