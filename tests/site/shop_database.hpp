#pragma once
// The example shop's tables in SQLite, PostgreSQL and MariaDB, made afresh with a few rows for
// every test, and the generated site set up against one of them.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/automation/variant.hpp"
#include "support/dbms.hpp"
#include "support/test_databases.hpp"

namespace vantorel::test::site {

struct ShopDatabase {
  Dbms dbms;
  const char* label;
  std::u16string connectionString;
  std::u16string quoteOpen, quoteClose;
  const char* kind;  // what the site's configuration names: "sqlite", "postgresql", "mysql"
};

// The three databases, each holding the shop's tables in the database (or file) "shop".
std::vector<ShopDatabase> shopDatabases(TestDatabases& databases);
// The three databases of that name (the SQLite file of that name and ".sqlite").
std::vector<ShopDatabase> databasesNamed(TestDatabases& databases, const std::string& name);

// Drops and creates the tables, then fills them with the example rows.
void resetShop(const ShopDatabase& db);

// Runs a query and returns its rows, each value as text ("" for Null).
std::vector<std::vector<std::string>> query(const ShopDatabase& db, const std::string& sql);
// The one value of a query, as text.
std::string scalar(const ShopDatabase& db, const std::string& sql);
// The SQL text with every `"` turned into the database's quote characters.
std::string quoted(const ShopDatabase& db, const std::string& sql);

}  // namespace vantorel::test::site
