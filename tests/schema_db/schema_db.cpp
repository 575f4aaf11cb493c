#include "schema_db/schema_db.hpp"

#include "database/load_entries.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/text/unicode.hpp"
#include "support/shared_menus.hpp"

namespace vantorel::test {

namespace {

[[maybe_unused]] const TestDatabases* const kRegistered =
    registerTestDatabases([](TestDatabases&) {});

}  // namespace

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

std::u16string SchemaDbTest::freshShop(Dbms server) {
  const std::u16string connectionString = freshDatabase(databases(), server);
  run(connectionString,
      {u"CREATE TABLE customers (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)",
       u"CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER NOT NULL, placed DATE, "
       u"total NUMERIC(10,2))",
       u"CREATE TABLE notes (id INTEGER PRIMARY KEY, body VARCHAR(40))",
       u"CREATE VIEW order_totals AS SELECT customer_id, SUM(total) AS total FROM orders GROUP BY "
       u"customer_id"});
  return connectionString;
}

std::vector<std::u16string> SchemaDbTest::retypeNotes(Dbms server) {
  switch (server) {
    case Dbms::Sqlite:
      return {u"CREATE TABLE notes_new (id INTEGER PRIMARY KEY, body VARCHAR(80))",
              u"DROP TABLE notes", u"ALTER TABLE notes_new RENAME TO notes"};
    case Dbms::Postgres:
      return {u"ALTER TABLE notes ALTER COLUMN body TYPE VARCHAR(80)"};
    case Dbms::MariaDb:
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
