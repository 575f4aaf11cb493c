// A connection to SQLite whose file is missing fails with the file's name instead of making an
// empty database there, whether the string names the file or a data source does.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/data/connection.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/sqlite_file.hpp"
#include "platform/text/unicode.hpp"
#include "support/test_databases.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

class SqliteFile : public DatabaseTest {};

TEST_F(SqliteFile, TheFileIsFoundInTheStringOrItsDataSource) {
  const std::u16string file = fromUtf8(databases().sqliteFile().string());
  struct Case {
    std::u16string connectionString;
    std::u16string file;
  } cases[] = {
      {u"Driver=SQLite3;Database=/data/shop.sqlite", u"/data/shop.sqlite"},
      {u"driver={SQLite3 ODBC Driver}; DATABASE = {/data/a;b.sqlite};", u"/data/a;b.sqlite"},
      {u"DSN=vantorel_sqlite", file},
      {u"DSN=vantorel_sqlite;Database=/elsewhere.sqlite", u"/elsewhere.sqlite"},
      {u"Driver=SQLite3;Database=:memory:", u""},
      {u"Driver=SQLite3;Database=file:shop.sqlite?mode=ro", u""},
      {u"DSN=vantorel_pg", u""},
      {u"Driver=PostgreSQL Unicode;Database=vantorel", u""},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf8(data::sqliteDatabaseFile(c.connectionString)), toUtf8(c.file))
        << toUtf8(c.connectionString);
  }
}

TEST_F(SqliteFile, AMissingFileIsNotMade) {
  const fs::path missing = databases().folder() / "missing.sqlite";
  for (const std::u16string& text :
       {u"Driver=SQLite3;Database=" + fromUtf8(missing.string()),
        u"DSN=vantorel_sqlite;Database=" + fromUtf8(missing.string())}) {
    try {
      data::Connection connection(text);
      ADD_FAILURE() << "connected to " << toUtf8(text);
    } catch (const data::DataError& e) {
      EXPECT_EQ(toUtf8(e.description()),
                "The SQLite database file \"" + missing.string() + "\" does not exist");
    }
    EXPECT_FALSE(fs::exists(missing));
  }
}

}  // namespace
}  // namespace vantorel::test
