#include "support/schema_script.hpp"

#include <atomic>
#include <fstream>

#include "platform/data/connection.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "support/odbc_config.hpp"

namespace vantorel::test {

void run(const std::u16string& connectionString, std::initializer_list<const char16_t*> script) {
  data::Connection connection(connectionString);
  for (const char16_t* sql : script) data::execute(connection, sql);
}

void run(const std::u16string& connectionString, const std::vector<std::u16string>& script) {
  data::Connection connection(connectionString);
  for (const std::u16string& sql : script) data::execute(connection, sql);
}

std::u16string connectionStringFor(TestDatabases& db, Dbms dbms) {
  switch (dbms) {
    case Dbms::Sqlite:
      return db.sqliteConnectionString();
    case Dbms::Postgres:
      return db.postgres().connectionString(kTestDatabase);
    case Dbms::MariaDb:
      break;
  }
  return db.mariadb().connectionString(kTestDatabase);
}

std::u16string freshDatabase(TestDatabases& db, Dbms dbms) {
  static std::atomic<int> counter{0};
  const std::u16string name = u"fresh_" + fromUtf8(std::to_string(++counter));
  switch (dbms) {
    case Dbms::Sqlite: {
      // An empty file is an empty database; a connection never makes one.
      const std::filesystem::path file = db.folder() / (toUtf8(name) + ".sqlite");
      std::ofstream(file).close();
      return data::ConnectionString()
          .add(u"Driver", fromUtf8(kSqliteDriver))
          .add(u"Database", fromUtf8(file.string()))
          .text();
    }
    case Dbms::Postgres:
      run(db.postgres().connectionString(u"postgres"), {u"CREATE DATABASE " + name});
      return db.postgres().connectionString(name);
    case Dbms::MariaDb:
      break;
  }
  run(db.mariadb().connectionString(u""), {u"CREATE DATABASE " + name});
  return db.mariadb().connectionString(name);
}

}  // namespace vantorel::test
