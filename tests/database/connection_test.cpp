#include <gtest/gtest.h>

#include "database/backends.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/data_sources.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

using data::Connection;
using data::DataError;

class DataConnection : public DatabaseTest {};

TEST_F(DataConnection, ProviderPropertiesNameTheDbmsAndItsQuoting) {
  struct Case {
    Dbms dbms;
    std::u16string dbmsName;
    std::u16string quote;
    std::u16string catalog;
  } cases[] = {
      {Dbms::Sqlite, u"SQLite", u"\"", u""},
      {Dbms::Postgres, u"PostgreSQL", u"\"", u"vantorel"},
      {Dbms::MariaDb, u"MariaDB", u"`", u"vantorel"},
  };
  const auto all = backends(databases());
  for (const Case& c : cases) {
    const Backend& b = backend(all, c.dbms);
    for (const std::u16string& text :
         {b.connectionString, data::dsnConnectionString(b.dsn, u"test", u"test")}) {
      Connection connection(text);
      const data::ProviderProperties& p = connection.properties();
      EXPECT_TRUE(connection.isOpen()) << b.label;
      EXPECT_EQ(p.dbmsName, c.dbmsName) << b.label;
      EXPECT_EQ(p.identifierQuote, c.quote) << b.label;
      if (c.dbms != Dbms::Sqlite) {
        EXPECT_EQ(p.currentCatalog, c.catalog) << b.label;
      }
      EXPECT_FALSE(p.dbmsVersion.empty()) << b.label;
      EXPECT_FALSE(p.driverName.empty()) << b.label;
      EXPECT_FALSE(p.driverVersion.empty()) << b.label;
      EXPECT_TRUE(p.odbcVersion.starts_with(u"03.")) << toUtf8(p.odbcVersion);
      EXPECT_FALSE(p.driverManagerVersion.empty()) << b.label;
      EXPECT_EQ(connection.isMySqlKind(), c.dbms == Dbms::MariaDb) << b.label;
    }
  }
}

TEST_F(DataConnection, QuotedNamesDoubleTheQuoteCharacter) {
  const auto all = backends(databases());
  Connection pg(backend(all, Dbms::Postgres).connectionString);
  Connection maria(backend(all, Dbms::MariaDb).connectionString);
  EXPECT_EQ(pg.quoteName(u"Order \"Details\""), u"\"Order \"\"Details\"\"\"");
  EXPECT_EQ(pg.quoteName(u"sales", u"orders"), u"\"sales\".\"orders\"");
  EXPECT_EQ(pg.quoteName(u"", u"orders"), u"\"orders\"");
  EXPECT_EQ(maria.quoteName(u"a`b"), u"`a``b`");
}

TEST_F(DataConnection, RefusedLoginsAreToldApartFromOtherFailures) {
  TestDatabases& db = databases();
  struct Case {
    const char* label;
    std::u16string connectionString;
    bool loginRefused;
    std::u16string sqlState;
  } cases[] = {
      {"PostgreSQL wrong password",
       db.postgres().connectionString(kTestDatabase, u"test", u"wrong"), true, u"08001"},
      {"MariaDB wrong password", db.mariadb().connectionString(kTestDatabase, u"test", u"wrong"),
       true, u"28000"},
      {"unknown data source", data::dsnConnectionString(u"no_such_dsn", u"test", u"test"), false,
       u"IM002"},
      {"PostgreSQL unknown database", db.postgres().connectionString(u"no_such_db"), false,
       u"08001"},
      {"MariaDB unknown database", db.mariadb().connectionString(u"no_such_db"), false, u""},
  };
  for (const Case& c : cases) {
    try {
      Connection connection(c.connectionString);
      ADD_FAILURE() << c.label << ": opened";
    } catch (const DataError& e) {
      EXPECT_EQ(e.loginRefused(), c.loginRefused) << c.label << ": " << e.what();
      EXPECT_EQ(e.number(), c.loginRefused ? data::kLoginRefused : data::kProviderFailed)
          << c.label;
      ASSERT_FALSE(e.records().empty()) << c.label;
      if (!c.sqlState.empty()) {
        EXPECT_TRUE(e.hasSqlState(c.sqlState)) << c.label << ": " << e.what();
      }
      // The description carries each record's line.
      EXPECT_NE(e.description().find(e.records().front().message), std::u16string::npos) << c.label;
      EXPECT_NE(e.description().find(u"SQLSTATE " + e.records().front().sqlState),
                std::u16string::npos);
    }
  }
}

TEST_F(DataConnection, APasswordHoldingSeparatorsWorksThroughBraceQuoting) {
  TestDatabases& db = databases();
  for (const std::u16string& text :
       {db.postgres().connectionString(kTestDatabase, u"semi", kBracedPassword),
        db.mariadb().connectionString(kTestDatabase, u"semi", kBracedPassword)}) {
    EXPECT_NE(text.find(u"PWD={se;mi}}{=x}"), std::u16string::npos) << toUtf8(text);
    Connection connection(text);
    EXPECT_EQ(connection.properties().userName, u"semi");
  }
}

TEST_F(DataConnection, DataSourcesAreReadFromThePrivateOdbcIni) {
  struct Case {
    std::u16string dsn;
    data::DataSourceInfo expected;
  } cases[] = {
      {kPostgresDsn,
       {.driver = u"PostgreSQL Unicode",
        .database = u"vantorel",
        .servername = u"127.0.0.1",
        .uid = u"test",
        .password = u"test",
        .port = fromUtf8(std::to_string(databases().postgres().port()))}},
      {kMariaDbDsn,
       {.driver = u"MariaDB Unicode",
        .database = u"vantorel",
        .server = u"127.0.0.1",
        .uid = u"test",
        .password = u"test",
        .port = fromUtf8(std::to_string(databases().mariadb().port()))}},
      {u"no_such_dsn", {}},
  };
  for (const Case& c : cases) {
    const data::DataSourceInfo info = data::readDataSource(c.dsn);
    EXPECT_EQ(info.driver, c.expected.driver) << toUtf8(c.dsn);
    EXPECT_EQ(info.database, c.expected.database) << toUtf8(c.dsn);
    EXPECT_EQ(info.server, c.expected.server) << toUtf8(c.dsn);
    EXPECT_EQ(info.servername, c.expected.servername) << toUtf8(c.dsn);
    EXPECT_EQ(info.uid, c.expected.uid) << toUtf8(c.dsn);
    EXPECT_EQ(info.password, c.expected.password) << toUtf8(c.dsn);
    EXPECT_EQ(info.port, c.expected.port) << toUtf8(c.dsn);
    EXPECT_EQ(info.trustedConnection, u"") << toUtf8(c.dsn);
    EXPECT_EQ(data::dataSourceExists(c.dsn), !c.expected.driver.empty()) << toUtf8(c.dsn);
  }
}

}  // namespace
}  // namespace vantorel::test
