#include "database_entries/shop_schema.hpp"

#include <initializer_list>

#include "support/schema_script.hpp"

namespace vantorel::test {

namespace {

// The same tables in each database's own words.
const std::initializer_list<const char16_t*> kRows = {
    u"INSERT INTO customers VALUES (1, 'Ada'), (2, 'Brian')",
    u"INSERT INTO orders VALUES (10, 1, '2026-01-05', 12.50), (11, 1, '2026-02-01', 3.00), "
    u"(12, 2, '2026-02-03', 99.95)",
};

void prepare(TestDatabases& db) {
  const std::initializer_list<const char16_t*> tables = {
      u"CREATE TABLE customers (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL)",
      u"CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER NOT NULL REFERENCES "
      u"customers (id), placed DATE, total NUMERIC(10,2))",
      u"CREATE VIEW order_totals AS SELECT customer_id, SUM(total) AS total FROM orders GROUP BY "
      u"customer_id",
  };
  run(db.sqliteConnectionString(), tables);
  run(db.sqliteConnectionString(), kRows);

  run(db.postgres().connectionString(u"postgres"), {u"CREATE DATABASE vantorel"});
  run(db.postgres().connectionString(kTestDatabase), tables);
  run(db.postgres().connectionString(kTestDatabase), kRows);
  run(db.postgres().connectionString(kTestDatabase),
      {u"CREATE ROLE semi LOGIN PASSWORD 'se;mi}{=x'",
       u"GRANT SELECT ON ALL TABLES IN SCHEMA public TO semi"});

  run(db.mariadb().connectionString(u""), {u"CREATE DATABASE vantorel"});
  run(db.mariadb().connectionString(kTestDatabase), tables);
  run(db.mariadb().connectionString(kTestDatabase), kRows);
  run(db.mariadb().connectionString(u""), {u"CREATE USER 'semi'@'%' IDENTIFIED BY 'se;mi}{=x'",
                                           u"GRANT SELECT ON vantorel.* TO 'semi'@'%'"});
}

[[maybe_unused]] const TestDatabases* const kRegistered = registerTestDatabases(prepare);

}  // namespace

DatabaseLoadArguments loadArgumentsFor(TestDatabases& databases, Dbms kind, bool dsn,
                                       const std::u16string& type) {
  DatabaseLoadArguments a;
  a.sDbType = type;
  if (dsn) {
    a.sDbName = kind == Dbms::Sqlite     ? kSqliteDsn
                : kind == Dbms::Postgres ? kPostgresDsn
                                         : kMariaDbDsn;
    if (kind != Dbms::Sqlite) {
      a.sUID = kTestUser;
      a.sPwd = kTestPassword;
    }
  } else {
    a.sConnStr = connectionStringFor(databases, kind);
  }
  return a;
}

}  // namespace vantorel::test
