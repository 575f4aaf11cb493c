// The schemas of the data tests, made once when the servers have started.
#include "database/backends.hpp"

namespace vantorel::test {

namespace {

void prepare(TestDatabases& db) {
  run(db.sqliteConnectionString(),
      {u"CREATE TABLE orders (id INTEGER PRIMARY KEY AUTOINCREMENT, customer VARCHAR(40) NOT NULL "
       u"DEFAULT 'none', total NUMERIC(10,2))",
       u"CREATE TABLE order_items (order_no INTEGER NOT NULL, line_no INTEGER NOT NULL, "
       u"a INTEGER, b INTEGER, code CHAR(4) UNIQUE, PRIMARY KEY (order_no, line_no), "
       u"UNIQUE (a, b))",
       // Matches "order_items" as a catalogue pattern; must never be listed for it.
       u"CREATE TABLE orderXitems (z INTEGER)",
       u"CREATE VIEW order_view AS SELECT id, customer FROM orders"});

  run(db.postgres().connectionString(u"postgres"), {u"CREATE DATABASE vantorel"});
  run(db.postgres().connectionString(kTestDatabase),
      {u"CREATE SCHEMA sales",
       u"CREATE TABLE public.orders (id serial PRIMARY KEY, customer varchar(40) NOT NULL "
       u"DEFAULT 'none', placed date DEFAULT CURRENT_DATE, total numeric(10,2), note text)",
       u"CREATE TABLE sales.orders (order_no integer NOT NULL, line_no integer NOT NULL, "
       u"amount double precision, PRIMARY KEY (order_no, line_no))",
       u"CREATE TABLE \"Order Details\" (id integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY, "
       u"code char(4) UNIQUE, a integer, b integer, UNIQUE (a, b))",
       u"CREATE INDEX orders_customer_idx ON public.orders (customer)",
       u"CREATE VIEW order_view AS SELECT id, customer FROM public.orders",
       u"CREATE ROLE semi LOGIN PASSWORD 'se;mi}{=x'"});

  run(db.mariadb().connectionString(u""),
      {u"CREATE DATABASE vantorel", u"CREATE DATABASE other",
       u"CREATE TABLE vantorel.orders (id int unsigned NOT NULL AUTO_INCREMENT PRIMARY KEY, "
       u"customer varchar(40) NOT NULL DEFAULT 'none', status enum('new','done') DEFAULT 'new', "
       u"total decimal(10,2), code char(4) UNIQUE)",
       u"CREATE TABLE vantorel.order_lines (order_no int NOT NULL, line_no int NOT NULL, a int, "
       u"b int, PRIMARY KEY (order_no, line_no), UNIQUE KEY ab (a, b))",
       u"CREATE VIEW vantorel.order_view AS SELECT id, customer FROM vantorel.orders",
       u"CREATE TABLE other.orders (x int)", u"CREATE TABLE other.only_there (y int)",
       u"CREATE USER 'semi'@'%' IDENTIFIED BY 'se;mi}{=x'",
       u"GRANT ALL ON vantorel.* TO 'semi'@'%'"});
}

[[maybe_unused]] const TestDatabases* const kRegistered = registerTestDatabases(prepare);

}  // namespace

std::vector<Backend> backends(TestDatabases& db) {
  return {
      {Dbms::Sqlite, "SQLite", db.sqliteConnectionString(), kSqliteDsn},
      {Dbms::Postgres, "PostgreSQL", db.postgres().connectionString(kTestDatabase), kPostgresDsn},
      {Dbms::MariaDb, "MariaDB", db.mariadb().connectionString(kTestDatabase), kMariaDbDsn},
  };
}

const Backend& backend(const std::vector<Backend>& all, Dbms dbms) {
  for (const Backend& b : all) {
    if (b.dbms == dbms) return b;
  }
  return all.front();
}

}  // namespace vantorel::test
