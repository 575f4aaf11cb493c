// A custom view's text never changes the database: not when it is loaded, not when a project
// holding it is checked. Each text is tried on every server, and the rows are counted after.
#include <gtest/gtest.h>

#include <string>

#include "fields/field_settings.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "schema_db/schema_db.hpp"

namespace vantorel::test {
namespace {

constexpr int kRows = 100;

// The servers on which a text is one harmless query, and so loads.
enum : unsigned { kNone = 0, kOnSqlite = 1, kOnPostgres = 2, kOnMariaDb = 4 };

unsigned bit(Dbms server) {
  switch (server) {
    case Dbms::Sqlite:
      return kOnSqlite;
    case Dbms::Postgres:
      return kOnPostgres;
    case Dbms::MariaDb:
      break;
  }
  return kOnMariaDb;
}

struct Case {
  const char16_t* sql;
  unsigned loadsOn;
};

const Case kCases[] = {
    // Not a query at all.
    {u"DELETE FROM keep", kNone},
    {u"DROP TABLE keep", kNone},
    {u"INSERT INTO keep VALUES (1000)", kNone},
    {u"UPDATE keep SET id = id + 1000", kNone},
    {u"CREATE TABLE made (a INTEGER)", kNone},
    {u"ALTER TABLE keep ADD extra INTEGER", kNone},
    {u"TRUNCATE TABLE keep", kNone},
    {u"(DELETE FROM keep)", kNone},
    {u"/* SELECT */ DELETE FROM keep", kNone},
    {u"COMMIT", kNone},
    // More than one statement.
    {u"WITH d AS (SELECT 1) DELETE FROM keep WHERE id <= 10; COMMIT; DELETE FROM keep WHERE id > "
     u"90",
     kNone},
    {u"SELECT 1 AS a; DELETE FROM keep", kNone},
    {u"SELECT 1 AS a;; DROP TABLE keep", kNone},
    {u"SELECT ';' AS a; DELETE FROM keep", kNone},
    {u"SELECT 1 AS a /* ; */ ; DROP TABLE keep", kNone},
    {u"SELECT 1 AS a -- ;\n; DELETE FROM keep", kNone},
    {u"SELECT 'a\\'; DELETE FROM keep; -- ' AS b", kNone},
    {u"SELECT E'\\'' AS a; DELETE FROM keep; SELECT '", kNone},
    {u"SELECT $$;$$ AS a; DELETE FROM keep", kNone},
    // MySQL reads "--1" as minus minus one and runs what "/*!" holds; SQLite's driver refuses
    // a ";" even in a comment.
    {u"SELECT 1 AS a --1; DELETE FROM keep\n", kOnPostgres},
    {u"SELECT 1 AS a /*!; DELETE FROM keep */", kOnPostgres},
    // One statement that would change data if it ran.
    {u"WITH d AS (SELECT 1) DELETE FROM keep WHERE id <= 10", kNone},
    {u"WITH d AS (SELECT 1) UPDATE keep SET id = id + 1000", kNone},
    {u"WITH d AS (SELECT 1) INSERT INTO keep VALUES (1000)", kNone},
    {u"WITH d AS (DELETE FROM keep RETURNING id) SELECT * FROM d", kOnPostgres},
    {u"SELECT * INTO made FROM keep", kNone},
    // Harmless ones still load, a closing ";" and quoted ";" included.
    {u"SELECT id FROM keep;", kOnSqlite | kOnPostgres | kOnMariaDb},
    {u"SELECT id, ';' AS semi FROM keep -- done\n", kOnSqlite | kOnPostgres | kOnMariaDb},
    {u"SELECT $$;$$ AS a", kOnPostgres},
};

class CustomViewSafetyDb : public SchemaDbTest {
 protected:
  void makeKeep(const std::u16string& cs) {
    std::u16string insert = u"INSERT INTO keep VALUES (1)";
    for (int id = 2; id <= kRows; ++id) insert += u", (" + fromUtf8(std::to_string(id)) + u")";
    run(cs, {u"CREATE TABLE keep (id INTEGER PRIMARY KEY)", insert});
  }

  // The rows of keep, and no table made by a text.
  void expectUntouched(const std::u16string& cs, const Case& c) {
    data::Connection connection(cs);
    const data::QueryResult rows =
        data::runQuery(connection, u"SELECT count(*) AS n, max(id) AS top FROM keep");
    EXPECT_EQ(toLong(rows.value(0, u"n")), kRows) << toUtf8(c.sql);
    EXPECT_EQ(toLong(rows.value(0, u"top")), kRows) << toUtf8(c.sql);
    EXPECT_THROW(data::runQuery(connection, u"SELECT * FROM made"), data::DataError)
        << toUtf8(c.sql);
    EXPECT_EQ(data::runQuery(connection, u"SELECT * FROM keep WHERE id = 1").columns.size(), 1u)
        << toUtf8(c.sql);
  }
};

TEST_F(CustomViewSafetyDb, LoadingATextChangesNothing) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshDatabase(databases(), server);
    makeKeep(cs);
    const Ref<AGP> p = loadProject(cs);
    for (const Case& c : kCases) {
      LoadCustomView(*p, u"cv", c.sql, false);
      AGPTable* view = p->DB()->tables().find(u"cv");
      const bool loaded = view && view->fields().count() > 0;
      EXPECT_EQ(loaded, (c.loadsOn & bit(server)) != 0) << toUtf8(c.sql) << ": " << toUtf8(err());
      if (view) p->DB()->tables().remove(u"cv");
      expectUntouched(cs, c);
    }
  }
}

// A project file can hold any text; its check (as AutoSync runs it) describes it the same way.
TEST_F(CustomViewSafetyDb, CheckingAStoredTextChangesNothing) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshDatabase(databases(), server);
    makeKeep(cs);
    const Ref<AGP> p = loadProject(cs);
    LoadCustomView(*p, u"cv", u"SELECT id FROM keep", false);
    ASSERT_EQ(toUtf8(err()), "");
    CheckNotes notes;
    AGPTable& view = *p->DB()->tables().find(u"cv");
    for (const Case& c : kCases) {
      view.properties().setting(kTblCustomSQL) = Variant(std::u16string(c.sql));
      CheckCustomView(*p, u"cv", notes);
      expectUntouched(cs, c);
    }
  }
}

TEST_F(CustomViewSafetyDb, ARefusalSaysWhereTheTextGoesWrong) {
  const std::u16string cs = freshDatabase(databases(), Dbms::Sqlite);
  makeKeep(cs);
  const Ref<AGP> p = loadProject(cs);
  LoadCustomView(*p, u"cv", u"SELECT id\nFROM keep; DELETE FROM keep", false);
  EXPECT_NE(err().find(u"must be one statement: a \";\" ends it at line 2, column 10"),
            std::u16string::npos)
      << toUtf8(err());
  LoadCustomView(*p, u"cv", std::u16string(u"SELECT 1 AS a\0 DELETE", 21), false);
  EXPECT_NE(err().find(u"holds a NUL character at line 1, column 14"), std::u16string::npos)
      << toUtf8(err());
  EXPECT_EQ(p->DB()->tables().find(u"cv"), nullptr);
}

}  // namespace
}  // namespace vantorel::test
