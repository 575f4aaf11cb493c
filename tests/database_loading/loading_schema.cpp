// The loading tests' schemas, made once when the servers have started: a table named with a
// blank and tables named by reserved words, keys of one and two columns, unique indexes of one
// and two columns, a view, the defaults and types each database has its own rules for; names
// that clash in letter case or across schemas and databases, and a user whose password holds
// ";".
#include "database_loading/loading_schema.hpp"
#include "database/ado_database_loader.hpp"

#include <gtest/gtest.h>

#include "database/table_schema_loader.hpp"
#include "foundation/project_context.hpp"
#include "foundation/variant_description.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/data/schema_rowsets.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {

namespace {

void prepare(TestDatabases& db) {
  run(db.sqliteConnectionString(),
      {u"CREATE TABLE \"Order Details\" (order_id INTEGER NOT NULL, product_id INTEGER NOT NULL, "
       u"qty INTEGER NOT NULL DEFAULT 1, note VARCHAR(20) DEFAULT 'none', "
       u"PRIMARY KEY (order_id, product_id))",
       u"CREATE TABLE \"select\" (\"from\" INTEGER PRIMARY KEY AUTOINCREMENT, code CHAR(4) UNIQUE, "
       u"a INTEGER, b INTEGER, UNIQUE (a, b))",
       u"CREATE INDEX select_a ON \"select\" (a)",
       u"CREATE VIEW order_view AS SELECT order_id, qty FROM \"Order Details\""});

  run(db.postgres().connectionString(u"postgres"), {u"CREATE DATABASE vantorel"});
  run(db.postgres().connectionString(kTestDatabase),
      {u"CREATE SCHEMA sales", u"CREATE SEQUENCE public.counter",
       u"CREATE TABLE public.\"Order Details\" (order_id integer NOT NULL, product_id integer NOT "
       u"NULL, qty smallint NOT NULL DEFAULT 1, note varchar(20) DEFAULT 'it''s::x', "
       u"PRIMARY KEY (order_id, product_id))",
       u"CREATE TABLE public.\"select\" (\"from\" serial PRIMARY KEY, \"Name\" text, name text)",
       u"CREATE TABLE public.orders (id serial PRIMARY KEY, code char(4) UNIQUE, a integer, "
       u"b integer, customer varchar(40) NOT NULL DEFAULT 'none', "
       u"counted integer DEFAULT nextval('public.counter'), placed date DEFAULT CURRENT_DATE, "
       u"price numeric(10,2) DEFAULT 0, missing varchar(5) DEFAULT NULL, blank text DEFAULT '', "
       u"tags integer[], pos point, ip inet, seg lseg, flags bit(3), amount double precision, "
       u"UNIQUE (a, b))",
       u"CREATE INDEX orders_customer ON public.orders (customer)",
       u"CREATE TABLE sales.orders (id integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY, "
       u"total numeric(8,2) DEFAULT '1.5'::numeric)",
       u"CREATE VIEW public.order_view AS SELECT id, customer FROM public.orders",
       u"CREATE TABLE public.\"it's\" (x integer DEFAULT 7)",
       // The same name in a schema listed before the current one, and in another letter case.
       u"CREATE SCHEMA archive", u"CREATE TABLE archive.orders (id integer)",
       u"CREATE TABLE public.\"Clash\" (a integer)", u"CREATE TABLE public.clash (b integer)",
       u"CREATE ROLE semi LOGIN PASSWORD 'se;mi}x'",
       u"GRANT SELECT ON ALL TABLES IN SCHEMA public TO semi"});

  run(db.mariadb().connectionString(u""),
      {u"CREATE DATABASE vantorel",
       u"CREATE TABLE vantorel.`Order Details` (order_id int NOT NULL, product_id int NOT NULL, "
       u"qty int NOT NULL DEFAULT 1, note varchar(20) DEFAULT 'none', "
       u"PRIMARY KEY (order_id, product_id))",
       u"CREATE TABLE vantorel.`select` (`from` int unsigned NOT NULL AUTO_INCREMENT PRIMARY KEY, "
       u"yes_no enum('N','Y') NOT NULL DEFAULT 'N', bit01 enum('1','0'), "
       u"kind enum('a,b','c)d','it''s','say \"hi\"'), opts set('x','y'), "
       u"code char(4) UNIQUE, a int, b int, qty int unsigned NOT NULL, UNIQUE KEY ab (a, b))",
       u"CREATE VIEW vantorel.order_view AS SELECT `from`, code FROM vantorel.`select`",
       u"CREATE TABLE vantorel.`it``s` (x enum('a','b'))", u"CREATE TABLE vantorel.`Clash` (a int)",
       u"CREATE TABLE vantorel.clash (b int)", u"CREATE DATABASE other",
       u"CREATE TABLE other.`Order Details` (x int)", u"CREATE TABLE other.only_other (x int)",
       u"CREATE USER 'semi'@'%' IDENTIFIED BY 'se;mi}x'",
       u"GRANT SELECT, SHOW VIEW ON vantorel.* TO 'semi'@'%'"});
}

[[maybe_unused]] const TestDatabases* const kRegistered = registerTestDatabases(prepare);

}  // namespace

// "table.field.setting=Type:value" for every setting of every table and field, in load order.
std::vector<std::string> modelSettings(AGPDatabase& db) {
  std::vector<std::string> lines;
  const auto add = [&](const AGProperties& bag, const std::string& prefix) {
    bag.forEachSetting([&](SettingSlot, const SettingRecord& record, const Variant& value) {
      lines.push_back(prefix + toUtf8(record.name) + "=" + describe(value));
    });
  };
  for (std::int16_t i = 1; i <= db.tables().count(); ++i) {
    Ref<AGPTable> table = db.tables().seq(i);
    const std::string name = toUtf8(table->tblName());
    add(table->properties(), name + ".");
    for (std::size_t j = 0; j < static_cast<std::size_t>(table->fields().count()); ++j) {
      AGPField& field = table->fields().at(j);
      add(field.properties(), name + "." + toUtf8(field.FldName()) + ".");
    }
  }
  return lines;
}

namespace {

std::vector<std::string> loadSettings(const std::u16string& connectionString, bool inBulk) {
  ProjectContext& context = projectContext();
  context.lastErrorText.clear();
  Ref<AGPDatabase> db = makeRef<AGPDatabase>();
  DatabaseLoad load;
  load.catalogueInBulk = inBulk;
  EXPECT_EQ(reportLoad(load, loadAdoDatabase(load, *db,
                                             {u"DB", u"", u"", u"", connectionString, u"", u""})),
            0);
  EXPECT_EQ(toUtf8(context.lastErrorText), "");
  return modelSettings(*db);
}

}  // namespace

void expectBulkLoadAsPerTable(const std::u16string& connectionString) {
  const std::vector<std::string> perTable = loadSettings(connectionString, false);
  const std::vector<std::string> inBulk = loadSettings(connectionString, true);
  ASSERT_EQ(inBulk.size(), perTable.size());
  EXPECT_GT(perTable.size(), 1000u);
  for (std::size_t i = 0; i < perTable.size(); ++i) EXPECT_EQ(inBulk[i], perTable[i]);
}

Ref<AGPTable> loadTable(TestDatabases& databases, const TableToLoad& what) {
  data::Connection connection(connectionStringFor(databases, what.dbms));
  ProjectContext& context = projectContext();
  context.currentDbmsName = connection.properties().dbmsName;
  DatabaseLoad load;
  load.dynamicLoad = what.dynamic;
  Ref<AGPTable> table = makeRef<AGPTable>();
  table->setTblName(what.name);
  data::TableRow row;
  row.schema = what.schema;
  row.name = what.name;
  row.type = what.type;
  Load_ADO(load, *table, connection, row, what.loadAll);
  return table;
}

}  // namespace vantorel::test
