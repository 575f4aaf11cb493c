#include "schema_db/schema_db.hpp"

#include <fstream>

#include "database/load_entries.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "project/menus.hpp"
#include "support/odbc_config.hpp"

namespace vantorel::test {

namespace {

void clearMenus() {
  AGPMenus& menus = SharedMenus();
  while (menus.Count() > 0) menus.DeleteMenu(menus.Item(1)->MenuId());
}

[[maybe_unused]] const TestDatabases* const kRegistered =
    registerTestDatabases([](TestDatabases&) {});

}  // namespace

const char* serverName(Server server) {
  switch (server) {
    case Server::Sqlite:
      return "SQLite";
    case Server::Postgres:
      return "PostgreSQL";
    case Server::MariaDb:
      break;
  }
  return "MariaDB";
}

void SchemaDbTest::SetUp() {
  DatabaseTest::SetUp();
  clearMenus();
  ProjectContext& context = projectContext();
  context.lastErrorText.clear();
}

void SchemaDbTest::TearDown() {
  for (const Ref<AGP>& p : projects_) p->UnLoadDB();
  projects_.clear();
  clearMenus();
}

std::u16string SchemaDbTest::freshDatabase(Server server) {
  static int counter = 0;
  const std::string name = "schema_" + std::to_string(++counter);
  TestDatabases& db = databases();
  switch (server) {
    case Server::Sqlite:
      // An empty file is an empty database; a connection never makes one.
      std::ofstream(db.folder() / (name + ".sqlite")).close();
      return data::ConnectionString()
          .add(u"Driver", fromUtf8(kSqliteDriver))
          .add(u"Database", fromUtf8((db.folder() / (name + ".sqlite")).string()))
          .text();
    case Server::Postgres:
      run(db.postgres().connectionString(u"postgres"), {u"CREATE DATABASE " + fromUtf8(name)});
      return db.postgres().connectionString(fromUtf8(name));
    case Server::MariaDb:
      break;
  }
  run(db.mariadb().connectionString(u""), {u"CREATE DATABASE " + fromUtf8(name)});
  return db.mariadb().connectionString(fromUtf8(name));
}

void SchemaDbTest::run(const std::u16string& connectionString,
                       const std::vector<std::u16string>& statements) {
  data::Connection connection(connectionString);
  for (const std::u16string& sql : statements) data::execute(connection, sql);
}

void SchemaDbTest::makeShop(Server, const std::u16string& connectionString) {
  run(connectionString,
      {u"CREATE TABLE customers (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)",
       u"CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER NOT NULL, placed DATE, "
       u"total NUMERIC(10,2))",
       u"CREATE TABLE notes (id INTEGER PRIMARY KEY, body VARCHAR(40))",
       u"CREATE VIEW order_totals AS SELECT customer_id, SUM(total) AS total FROM orders GROUP BY "
       u"customer_id"});
}

std::vector<std::u16string> SchemaDbTest::retypeNotes(Server server) {
  switch (server) {
    case Server::Sqlite:
      return {u"CREATE TABLE notes_new (id INTEGER PRIMARY KEY, body VARCHAR(80))",
              u"DROP TABLE notes", u"ALTER TABLE notes_new RENAME TO notes"};
    case Server::Postgres:
      return {u"ALTER TABLE notes ALTER COLUMN body TYPE VARCHAR(80)"};
    case Server::MariaDb:
      break;
  }
  return {u"ALTER TABLE notes MODIFY COLUMN body VARCHAR(80)"};
}

Ref<AGP> SchemaDbTest::loadProject(const std::u16string& connectionString) {
  Ref<AGP> project = makeRef<AGP>();
  project->AddProj(u"Shop");
  DatabaseLoadArguments a;
  a.sDbType = u"DB";
  a.sConnStr = connectionString;
  LoadDB(*project, a);
  EXPECT_EQ(toUtf8(err()), "");
  projects_.push_back(project);
  return project;
}

std::u16string SchemaDbTest::err() const {
  return projectContext().lastErrorText;
}

}  // namespace vantorel::test
