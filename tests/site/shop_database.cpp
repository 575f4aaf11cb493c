#include "site/shop_database.hpp"

#include <fstream>

#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test::site {

namespace {

void prepareServers(TestDatabases& db) {
  data::Connection postgres(db.postgres().connectionString(u"postgres"));
  data::Connection maria(db.mariadb().connectionString(u""));
  for (const char16_t* name : {u"shop", u"kinds"}) {
    // An empty file is an empty SQLite database; a connection never makes one.
    std::ofstream(db.folder() / (toUtf8(name) + ".sqlite")).close();
    data::execute(postgres, u"CREATE DATABASE " + std::u16string(name) +
                                u" ENCODING 'UTF8' TEMPLATE template0");
    data::execute(maria, u"CREATE DATABASE " + std::u16string(name) + u" CHARACTER SET utf8mb4");
  }
}

[[maybe_unused]] const TestDatabases* const kRegistered = registerTestDatabases(prepareServers);

// Column types that differ by database: key, money, yes/no, date, file, memo.
struct Types {
  const char* autoKey;
  const char* boolean;
  const char* date;
  const char* blob;
  const char* memo;
};

Types typesOf(Dbms dbms) {
  switch (dbms) {
    case Dbms::Sqlite:
      return {"INTEGER PRIMARY KEY AUTOINCREMENT", "BOOLEAN", "DATETIME", "BLOB", "TEXT"};
    case Dbms::Postgres:
      return {"SERIAL PRIMARY KEY", "BOOLEAN", "TIMESTAMP", "BYTEA", "TEXT"};
    case Dbms::MariaDb:
      return {"INT AUTO_INCREMENT PRIMARY KEY", "TINYINT(1)", "DATETIME", "LONGBLOB", "TEXT"};
  }
  return {};
}

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
  for (std::size_t pos = s.find(from); pos != std::string::npos;
       pos = s.find(from, pos + to.size())) {
    s.replace(pos, from.size(), to);
  }
  return s;
}

}  // namespace

std::vector<ShopDatabase> databasesNamed(TestDatabases& db, const std::string& name) {
  const std::u16string sqlite =
      u"Driver=SQLite3;Database=" + fromUtf8((db.folder() / (name + ".sqlite")).string()) + u";";
  const std::u16string database = fromUtf8(name);
  return {
      {Dbms::Sqlite, "SQLite", sqlite, u"\"", u"\"", "sqlite"},
      {Dbms::Postgres, "PostgreSQL", db.postgres().connectionString(database), u"\"", u"\"",
       "postgresql"},
      {Dbms::MariaDb, "MariaDB", db.mariadb().connectionString(database), u"`", u"`", "mysql"},
  };
}

std::vector<ShopDatabase> shopDatabases(TestDatabases& db) {
  return databasesNamed(db, "shop");
}

std::string quoted(const ShopDatabase& db, const std::string& sql) {
  return replaceAll(sql, "\"", toUtf8(db.quoteOpen));
}

void resetShop(const ShopDatabase& db) {
  data::Connection c(db.connectionString);
  const Types t = typesOf(db.dbms);
  auto run = [&](const std::string& sql) { data::execute(c, fromUtf8(quoted(db, sql))); };
  for (const char* drop :
       {"DROP VIEW IF EXISTS \"Product List\"", "DROP TABLE IF EXISTS \"Order Details\"",
        "DROP TABLE IF EXISTS \"Orders\"", "DROP TABLE IF EXISTS \"Products\"",
        "DROP TABLE IF EXISTS \"Categories\"", "DROP TABLE IF EXISTS \"Suppliers\"",
        "DROP TABLE IF EXISTS \"Customers\"", "DROP TABLE IF EXISTS \"Employees\"",
        "DROP TABLE IF EXISTS \"Shippers\"", "DROP TABLE IF EXISTS \"Users\""}) {
    run(drop);
  }
  const std::string key = t.autoKey;
  run("CREATE TABLE \"Categories\" (\"CategoryID\" " + key +
      ", \"CategoryName\" VARCHAR(50) NOT NULL, \"Description\" " + t.memo + ")");
  run("CREATE TABLE \"Suppliers\" (\"SupplierID\" " + key +
      ", \"CompanyName\" VARCHAR(60), \"ContactName\" VARCHAR(40), \"Phone\" VARCHAR(24), "
      "\"Email\" VARCHAR(80))");
  run("CREATE TABLE \"Products\" (\"ProductID\" " + key +
      ", \"ProductName\" VARCHAR(60) NOT NULL, \"CategoryID\" INTEGER, \"SupplierID\" INTEGER, "
      "\"UnitPrice\" DECIMAL(12,2), \"UnitsInStock\" INTEGER, \"Discontinued\" " +
      t.boolean + ", \"Picture\" " + t.blob + ")");
  run("CREATE TABLE \"Customers\" (\"CustomerID\" VARCHAR(5) PRIMARY KEY, \"CompanyName\" "
      "VARCHAR(60), \"ContactName\" VARCHAR(40), \"City\" VARCHAR(30), \"Country\" VARCHAR(30), "
      "\"Phone\" VARCHAR(24))");
  run("CREATE TABLE \"Employees\" (\"EmployeeID\" " + key +
      ", \"FirstName\" VARCHAR(30), \"LastName\" VARCHAR(30) NOT NULL, \"HireDate\" " + t.date +
      ", \"Notes\" " + t.memo +
      ", \"Photo\" VARCHAR(255), \"PhotoType\" VARCHAR(100), "
      "\"PhotoSize\" INTEGER)");
  run("CREATE TABLE \"Shippers\" (\"ShipperID\" " + key +
      ", \"CompanyName\" VARCHAR(40), \"Phone\" VARCHAR(24), \"Logo\" VARCHAR(255))");
  run("CREATE TABLE \"Orders\" (\"OrderID\" " + key +
      ", \"CustomerID\" VARCHAR(5), \"EmployeeID\" INTEGER, \"OrderDate\" " + t.date +
      ", \"ShippedDate\" " + t.date + ", \"ShipVia\" INTEGER, \"ShipCity\" VARCHAR(30))");
  run("CREATE TABLE \"Order Details\" (\"OrderID\" INTEGER NOT NULL REFERENCES \"Orders\" "
      "(\"OrderID\"), \"ProductID\" INTEGER NOT NULL, \"UnitPrice\" DECIMAL(12,2), \"Quantity\" "
      "INTEGER, PRIMARY KEY (\"OrderID\", \"ProductID\"))");
  run("CREATE TABLE \"Users\" (\"UserID\" " + key +
      ", \"LoginName\" VARCHAR(40), \"Password\" VARCHAR(64))");
  run("CREATE VIEW \"Product List\" AS SELECT p.\"ProductName\", c.\"CategoryName\", "
      "p.\"UnitPrice\" FROM \"Products\" p JOIN \"Categories\" c ON c.\"CategoryID\" = "
      "p.\"CategoryID\"");
  const std::string yes = db.dbms == Dbms::Postgres ? "TRUE" : "1";
  const std::string no = db.dbms == Dbms::Postgres ? "FALSE" : "0";
  run("INSERT INTO \"Categories\" (\"CategoryName\", \"Description\") VALUES "
      "('Beverages', 'Soft drinks, coffees, teas'), ('Condiments', 'Sauces and spreads'), "
      "('Seafood', 'Fish')");
  run("INSERT INTO \"Suppliers\" (\"CompanyName\", \"ContactName\") VALUES ('Exotic Liquids', "
      "'Charlotte Cooper'), ('Tokyo Traders', 'Yoshi Nagase')");
  std::string products =
      "INSERT INTO \"Products\" (\"ProductName\", \"CategoryID\", "
      "\"SupplierID\", \"UnitPrice\", \"UnitsInStock\", \"Discontinued\") VALUES ";
  for (int i = 1; i <= 25; ++i) {
    if (i > 1) products += ", ";
    const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
    products += "('Product " + n + "', " + std::to_string(1 + i % 3) + ", " +
                std::to_string(1 + i % 2) + ", " + std::to_string(i) + ".50, " +
                std::to_string(i * 10) + ", " + (i % 5 == 0 ? yes : no) + ")";
  }
  run(products);
  run("INSERT INTO \"Customers\" VALUES ('ALFKI', 'Alfreds Futterkiste', 'Maria Anders', "
      "'Berlin', 'Germany', '030-0074321'), ('BONAP', 'Bon app''', 'Laurence Lebihan', "
      "'Marseille', 'France', '91.24.45.40')");
  run("INSERT INTO \"Employees\" (\"FirstName\", \"LastName\", \"HireDate\") VALUES ('Nancy', "
      "'Davolio', '1992-05-01 00:00:00'), ('Andrew', 'Fuller', '1992-08-14 00:00:00')");
  run("INSERT INTO \"Shippers\" (\"CompanyName\", \"Phone\") VALUES ('Speedy Express', "
      "'(503) 555-9831'), ('United Package', '(503) 555-3199')");
  run("INSERT INTO \"Orders\" (\"CustomerID\", \"EmployeeID\", \"OrderDate\", \"ShipVia\", "
      "\"ShipCity\") VALUES ('ALFKI', 1, '2024-03-01 10:30:00', 1, 'Berlin'), ('BONAP', 2, "
      "'2024-03-02 16:45:00', 2, 'Marseille')");
  run("INSERT INTO \"Order Details\" VALUES (1, 1, 1.50, 10), (1, 2, 2.50, 5), (2, 3, 3.50, 1)");
}

namespace {

// A value as text; bytes as hexadecimal digits.
std::string textOf(const Variant& v) {
  if (!v.isArray()) return toUtf8(data::textOf(v));
  std::string hex;
  for (const Variant& byte : v.arrayValue().elements()) {
    hex += "0123456789abcdef"[(toLong(byte) >> 4) & 15];
    hex += "0123456789abcdef"[toLong(byte) & 15];
  }
  return hex;
}

}  // namespace

std::vector<std::vector<std::string>> query(const ShopDatabase& db, const std::string& sql) {
  data::Connection c(db.connectionString);
  const data::QueryResult result = data::runQuery(c, fromUtf8(quoted(db, sql)));
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : result.rows) {
    std::vector<std::string> texts;
    for (const Variant& v : row) texts.push_back(textOf(v));
    rows.push_back(std::move(texts));
  }
  return rows;
}

std::string scalar(const ShopDatabase& db, const std::string& sql) {
  const auto rows = query(db, sql);
  return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
}

}  // namespace vantorel::test::site
