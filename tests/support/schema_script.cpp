#include "support/schema_script.hpp"

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"

namespace vantorel::test {

void run(const std::u16string& connectionString, std::initializer_list<const char16_t*> script) {
  data::Connection connection(connectionString);
  for (const char16_t* sql : script) data::execute(connection, sql);
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

}  // namespace vantorel::test
