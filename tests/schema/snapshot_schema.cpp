// Keys of one and two columns, a unique index of one column and one of two, required columns,
// auto-numbered keys, defaults, a view, long text, enum and set columns, names that differ only
// in letter case, and (PostgreSQL) a table one user may not read.
#include "schema/snapshot_schema.hpp"

namespace vantorel::test {

namespace {

void prepare(TestDatabases& db) {
  run(db.sqliteConnectionString(),
      {u"CREATE TABLE customers (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(40) NOT "
       u"NULL, email VARCHAR(80) UNIQUE, born DATE, note TEXT DEFAULT 'none')",
       u"CREATE TABLE \"order lines\" (order_id INTEGER NOT NULL, line INTEGER NOT NULL, "
       u"qty INTEGER NOT NULL DEFAULT 1, price NUMERIC(10,2), a INTEGER, b INTEGER, "
       u"PRIMARY KEY (order_id, line), UNIQUE (a, b))",
       u"CREATE VIEW big_lines AS SELECT order_id, line, qty FROM \"order lines\" WHERE qty > 9"});

  run(db.postgres().connectionString(u"postgres"), {u"CREATE DATABASE vantorel"});
  run(db.postgres().connectionString(kTestDatabase),
      {u"CREATE TABLE customers (id serial PRIMARY KEY, name varchar(40) NOT NULL, "
       u"email varchar(80) UNIQUE, born date, note text DEFAULT 'none', "
       u"essay varchar(9000), tags integer[], pos point, score numeric(6,2) DEFAULT 0)",
       u"CREATE TABLE \"order lines\" (order_id integer NOT NULL, line integer NOT NULL, "
       u"qty smallint NOT NULL DEFAULT 1, a integer, b integer, PRIMARY KEY (order_id, line), "
       u"UNIQUE (a, b))",
       u"CREATE TABLE cased (\"Name\" text, name text, id integer PRIMARY KEY)",
       u"CREATE VIEW big_lines AS SELECT order_id, line, qty FROM \"order lines\" WHERE qty > 9",
       u"CREATE ROLE reader LOGIN PASSWORD 'reader-pw'",
       u"GRANT SELECT ON ALL TABLES IN SCHEMA public TO reader",
       u"CREATE TABLE secret (id integer PRIMARY KEY, pin text)"});

  run(db.mariadb().connectionString(u""),
      {u"CREATE DATABASE vantorel",
       u"CREATE TABLE vantorel.customers (id int NOT NULL AUTO_INCREMENT PRIMARY KEY, "
       u"name varchar(40) NOT NULL, email varchar(80) UNIQUE, born date, note text, "
       u"yes_no enum('N','Y') NOT NULL DEFAULT 'N', opts set('x','y'))",
       u"CREATE TABLE vantorel.`order lines` (order_id int NOT NULL, line int NOT NULL, "
       u"qty int NOT NULL DEFAULT 1, a int, b int, PRIMARY KEY (order_id, line), "
       u"UNIQUE KEY ab (a, b))",
       u"CREATE VIEW vantorel.big_lines AS SELECT order_id, line, qty FROM vantorel.`order lines` "
       u"WHERE qty > 9"});
}

[[maybe_unused]] const TestDatabases* const kRegistered = registerTestDatabases(prepare);

}  // namespace

}  // namespace vantorel::test
