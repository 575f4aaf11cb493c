// What the data layer tells of a connection: a data source's stored login, a connection the
// server ended part-way, and names outside ASCII on every driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "database/backends.hpp"
#include "database/load_steps.hpp"
#include "database/table_description.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/query.hpp"
#include "platform/data/schema_rowsets.hpp"
#include "platform/text/unicode.hpp"
#include "support/odbc_config.hpp"

namespace vantorel::test {
namespace {

using data::Connection;
using data::DataError;

class ConnectionFailures : public DatabaseTest {};

TEST_F(ConnectionFailures, ADataSourcesStoredLoginServesWhenNoneIsGiven) {
  for (const Backend& b : backends(databases())) {
    const std::u16string text = data::dsnConnectionString(b.dsn, u"", u"");
    EXPECT_EQ(text, u"dsn=" + b.dsn);
    Connection connection(text);
    EXPECT_TRUE(connection.isOpen()) << b.label;
    if (b.dbms != Dbms::Sqlite) {
      EXPECT_EQ(connection.properties().userName, u"test") << b.label;
    }
  }
}

TEST_F(ConnectionFailures, NothingNamedOpensNothing) {
  for (const char16_t* text : {u"", u"  "}) {
    try {
      Connection connection(text);
      ADD_FAILURE() << "opened";
    } catch (const DataError& e) {
      EXPECT_FALSE(e.loginRefused());
      EXPECT_EQ(e.description(), u"No data source or connection string was given!");
    }
  }
}

// The statement that ends the session with the id `id` (`idQuery` gives a session its own).
struct Ender {
  Dbms dbms;
  const char16_t* idQuery;
  std::u16string (*end)(const std::u16string& id);
};

const Ender kEnders[] = {
    {Dbms::Postgres, u"SELECT pg_backend_pid() AS id",
     [](const std::u16string& id) { return u"SELECT pg_terminate_backend(" + id + u")"; }},
    {Dbms::MariaDb, u"SELECT CONNECTION_ID() AS id",
     [](const std::u16string& id) { return u"KILL CONNECTION " + id; }},
};

void endSession(const Backend& b, const Ender& ender, Connection& victim) {
  const std::u16string id = toString(data::runQuery(victim, ender.idQuery).value(0, u"id"));
  Connection killer(b.connectionString);
  data::execute(killer, ender.end(id));
}

TEST_F(ConnectionFailures, ASessionTheServerEndedIsLostForEveryLaterCall) {
  const auto all = backends(databases());
  for (const Ender& ender : kEnders) {
    const Backend& b = backend(all, ender.dbms);
    SCOPED_TRACE(b.label);
    Connection connection(b.connectionString);
    // A statement that fails on a live connection is no lost connection.
    try {
      data::runQuery(connection, u"SELECT * FROM no_such_table");
      ADD_FAILURE() << "ran";
    } catch (const DataError& e) {
      EXPECT_FALSE(e.connectionLost()) << toUtf8(e.description());
    }
    endSession(b, ender, connection);
    const std::int16_t kind = ender.dbms == Dbms::Postgres ? kDbmsPostgreSql : kDbmsMySql;
    const data::TableRow orders{u"", u"", u"orders", u"TABLE", u""};
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"query", [&] { data::runQuery(connection, u"SELECT 1 AS one"); }},
        {"tables", [&] { data::listTables(connection, {}); }},
        {"primary key", [&] { data::listPrimaryKeys(connection, {}, u"orders"); }},
        {"indexes", [&] { data::listIndexes(connection, {}, u"orders"); }},
        // The loaders' probe and their skipped steps pass it on instead of taking it for a
        // table that cannot be read or a fact that is missing.
        {"description", [&] { describeAdoTable(connection, orders, kind, {}); }},
        {"skipped step",
         [&] { attemptStep([&] { data::listColumns(connection, {}, u"orders"); }); }},
    };
    for (const auto& [label, call] : calls) {
      try {
        call();
        ADD_FAILURE() << label << ": no failure";
      } catch (const DataError& e) {
        EXPECT_TRUE(e.connectionLost()) << label << ": " << toUtf8(e.description());
        EXPECT_FALSE(e.records().empty()) << label;
      }
    }
  }
}

TEST_F(ConnectionFailures, NamesOutsideAsciiAreReadOnEveryDriver) {
  TestDatabases& db = databases();
  // An empty file is an empty SQLite database; a connection never makes one.
  std::ofstream(db.folder() / "Küche.sqlite").close();
  const std::u16string sqlite =
      data::ConnectionString()
          .add(u"Driver", fromUtf8(kSqliteDriver))
          .add(u"Database", fromUtf8((db.folder() / "Küche.sqlite").string()))
          .text();
  for (const std::u16string& server :
       {db.postgres().connectionString(u"postgres"), db.mariadb().connectionString(u"")}) {
    Connection connection(server);
    data::execute(connection, u"CREATE DATABASE umlaut");
  }
  struct Server {
    const char* label;
    std::u16string connectionString;
    std::int16_t kind;
  } servers[] = {
      {"SQLite", sqlite, kDbmsOther},
      {"PostgreSQL", db.postgres().connectionString(u"umlaut"), kDbmsPostgreSql},
      {"MariaDB", db.mariadb().connectionString(u"umlaut"), kDbmsMySql},
  };
  for (const auto& [label, text, kind] : servers) {
    SCOPED_TRACE(label);
    Connection connection(text);
    const std::u16string table = connection.quoteName(u"Künstler");
    data::execute(connection, u"CREATE TABLE " + table + u" (id INTEGER PRIMARY KEY, " +
                                  connection.quoteName(u"Größe") + u" VARCHAR(20))");
    data::execute(connection, u"INSERT INTO " + table + u" VALUES (1, 'groß')");

    std::vector<std::u16string> names;
    for (const data::TableRow& row : data::listTables(connection, {}, {u"TABLE"})) {
      names.push_back(row.name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), u"Künstler"), names.end());
    std::vector<std::u16string> columns;
    for (const data::ColumnRow& row : data::listColumns(connection, {}, u"Künstler")) {
      columns.push_back(row.name);
    }
    EXPECT_EQ(columns, (std::vector<std::u16string>{u"id", u"Größe"}));
    const data::QueryResult result = data::runQuery(connection, u"SELECT * FROM " + table);
    EXPECT_EQ(result.columns, (std::vector<std::u16string>{u"id", u"Größe"}));
    EXPECT_EQ(toString(result.value(0, u"Größe")), u"groß");
    const data::TableRow row{u"", u"", u"Künstler", u"TABLE", u""};
    const TableDescription d = describeAdoTable(connection, row, kind, {});
    EXPECT_FALSE(d.readError) << toUtf8(d.readError.value_or(u""));
    ASSERT_EQ(d.columns.size(), 2U);
    EXPECT_EQ(d.columns[1].column.name, u"Größe");
    EXPECT_TRUE(d.columns[0].primaryKey);
  }
}

}  // namespace
}  // namespace vantorel::test
