#include "platform/data/sqlite_file.hpp"

#include <vector>

#include "platform/data/connection_string.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/data_sources.hpp"
#include "platform/fs/files.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::data {

std::u16string sqliteDatabaseFile(std::u16string_view connectionString) {
  std::u16string driver;
  std::u16string dsn;
  std::u16string database;
  bool databaseGiven = false;
  for (ConnectionPair& pair : connectionStringPairs(connectionString)) {
    if (pair.key == u"driver") {
      driver = std::move(pair.value);
    } else if (pair.key == u"dsn") {
      dsn = std::move(pair.value);
    } else if (pair.key == u"database") {
      database = std::move(pair.value);
      databaseGiven = true;
    }
  }
  // A driver named in the string is the one used; else the data source's.
  if (driver.empty() && !dsn.empty()) {
    driver = dataSourceValue(dsn, u"Driver");
    if (!databaseGiven) database = dataSourceValue(dsn, u"Database");
  }
  if (!containsNoCase(driver, u"sqlite")) return {};
  if (database == u":memory:" || startsWithNoCase(database, u"file:")) return {};
  return database;
}

void requireSqliteDatabaseFile(std::u16string_view connectionString) {
  const std::u16string file = sqliteDatabaseFile(connectionString);
  if (file.empty() || fs::fileExists(file)) return;
  throw DataError({}, u"The SQLite database file \"" + file + u"\" does not exist");
}

}  // namespace vantorel::data
