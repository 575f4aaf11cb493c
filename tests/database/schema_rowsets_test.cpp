#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "database/backends.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/schema_rowsets.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

using data::Connection;
using data::SchemaScope;

class SchemaRowsets : public DatabaseTest {};

std::vector<std::string> sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST_F(SchemaRowsets, TablesAndViewsOfTheCurrentDatabase) {
  struct Case {
    Dbms dbms;
    SchemaScope scope;
    std::vector<std::u16string> types;
    std::optional<std::u16string> table;
    std::vector<std::string> expected;  // schema|name|type
  } cases[] = {
      // The SQLite driver lists its own sqlite_sequence as a table.
      {Dbms::Sqlite,
       {},
       {u"TABLE", u"VIEW"},
       {},
       {"|orderXitems|TABLE", "|order_items|TABLE", "|order_view|VIEW", "|orders|TABLE",
        "|sqlite_sequence|TABLE"}},
      // "_" in a name is no wildcard: orderXitems stays out.
      {Dbms::Sqlite, {}, {}, u"order_items", {"|order_items|TABLE"}},
      {Dbms::Postgres,
       {},
       {u"TABLE", u"VIEW"},
       {},
       {"public|Order Details|TABLE", "public|order_view|VIEW", "public|orders|TABLE",
        "sales|orders|TABLE"}},
      {Dbms::Postgres, {.schema = u"sales"}, {u"TABLE", u"VIEW"}, {}, {"sales|orders|TABLE"}},
      {Dbms::Postgres, {}, {u"VIEW"}, {}, {"public|order_view|VIEW"}},
      // The second database's tables, "orders" among them, stay out unless asked for.
      {Dbms::MariaDb,
       {},
       {u"TABLE", u"VIEW"},
       {},
       {"|order_lines|TABLE", "|order_view|VIEW", "|orders|TABLE"}},
      {Dbms::MariaDb,
       {.catalog = u"other"},
       {u"TABLE", u"VIEW"},
       {},
       {"|only_there|TABLE", "|orders|TABLE"}},
  };
  const auto all = backends(databases());
  for (const Case& c : cases) {
    const Backend& b = backend(all, c.dbms);
    Connection connection(b.connectionString);
    std::vector<std::string> found;
    for (const data::TableRow& row : data::listTables(connection, c.scope, c.types, c.table)) {
      found.push_back(toUtf8(row.schema) + "|" + toUtf8(row.name) + "|" + toUtf8(row.type));
    }
    EXPECT_EQ(sorted(found), sorted(c.expected)) << b.label;
  }
}

TEST_F(SchemaRowsets, ColumnsWithTypesDefaultsAndNullability) {
  struct Column {
    std::string name;
    SQLSMALLINT dataType;
    std::string typeName;
    std::int32_t size;
    bool required;
    std::optional<std::string> defaultValue;
  };
  struct Case {
    Dbms dbms;
    SchemaScope scope;
    std::u16string table;
    std::vector<Column> expected;
  } cases[] = {
      {Dbms::Sqlite,
       {},
       u"orders",
       {{"id", SQL_INTEGER, "INTEGER", 9, false, "NULL"},
        // The SQLite driver gives the default without its quotes.
        {"customer", SQL_VARCHAR, "VARCHAR(40)", 40, true, "none"},
        {"total", SQL_DOUBLE, "NUMERIC(10,2)", 2, false, "NULL"}}},
      {Dbms::Postgres,
       {.schema = u"public"},
       u"orders",
       {{"id", SQL_INTEGER, "int4", 10, true, "nextval('orders_id_seq'::regclass)"},
        {"customer", SQL_WVARCHAR, "varchar", 40, true, "'none'::character varying"},
        {"placed", SQL_TYPE_DATE, "date", 10, false, "CURRENT_DATE"},
        {"total", SQL_NUMERIC, "numeric", 10, false, {}},
        {"note", SQL_WLONGVARCHAR, "text", 8190, false, {}}}},
      {Dbms::Postgres,
       {.schema = u"sales"},
       u"orders",
       {{"order_no", SQL_INTEGER, "int4", 10, true, {}},
        {"line_no", SQL_INTEGER, "int4", 10, true, {}},
        {"amount", SQL_FLOAT, "float8", 17, false, {}}}},
      // MariaDB reports an auto-increment column as nullable. It and SQLite give the word NULL
      // as the default of a nullable column without one, as ODBC allows.
      {Dbms::MariaDb,
       {},
       u"orders",
       {{"id", SQL_INTEGER, "INT UNSIGNED", 10, false, {}},
        {"customer", SQL_WVARCHAR, "VARCHAR", 40, true, "'none'"},
        {"status", SQL_WCHAR, "ENUM", 4, false, "'new'"},
        {"total", SQL_DECIMAL, "DECIMAL", 10, false, "NULL"},
        {"code", SQL_WCHAR, "CHAR", 4, false, "NULL"}}},
  };
  const auto all = backends(databases());
  for (const Case& c : cases) {
    const Backend& b = backend(all, c.dbms);
    Connection connection(b.connectionString);
    const auto rows = data::listColumns(connection, c.scope, c.table);
    ASSERT_EQ(rows.size(), c.expected.size()) << b.label;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const Column& e = c.expected[i];
      const data::ColumnRow& r = rows[i];
      const std::string where = std::string(b.label) + " " + e.name;
      EXPECT_EQ(toUtf8(r.name), e.name) << where;
      EXPECT_EQ(toUtf8(r.table), toUtf8(c.table)) << where;
      EXPECT_EQ(r.dataType, e.dataType) << where;
      EXPECT_EQ(toUtf8(r.typeName), e.typeName) << where;
      EXPECT_EQ(r.columnSize, e.size) << where;
      EXPECT_EQ(r.required(), e.required) << where;
      EXPECT_EQ(r.ordinal, static_cast<std::int32_t>(i + 1)) << where;
      if (e.defaultValue) {
        EXPECT_EQ(toUtf8(toString(r.defaultValue)), *e.defaultValue) << where;
      } else {
        EXPECT_TRUE(r.defaultValue.isNull()) << where;
      }
    }
    if (c.dbms == Dbms::Postgres && c.table == u"orders" && c.scope.schema == u"public") {
      EXPECT_EQ(rows[3].decimalDigits, 2);
    }
  }
}

TEST_F(SchemaRowsets, PrimaryKeysOfOneAndTwoColumns) {
  struct Case {
    Dbms dbms;
    SchemaScope scope;
    std::u16string table;
    std::vector<std::string> expected;  // column:sequence, in key order
  } cases[] = {
      {Dbms::Sqlite, {}, u"orders", {"id:1"}},
      {Dbms::Sqlite, {}, u"order_items", {"order_no:1", "line_no:2"}},
      {Dbms::Sqlite, {}, u"order_view", {}},
      {Dbms::Postgres, {.schema = u"public"}, u"orders", {"id:1"}},
      {Dbms::Postgres, {.schema = u"sales"}, u"orders", {"order_no:1", "line_no:2"}},
      {Dbms::Postgres, {.schema = u"public"}, u"Order Details", {"id:1"}},
      {Dbms::MariaDb, {}, u"orders", {"id:1"}},
      {Dbms::MariaDb, {}, u"order_lines", {"order_no:1", "line_no:2"}},
      {Dbms::MariaDb, {.catalog = u"other"}, u"orders", {}},
  };
  const auto all = backends(databases());
  for (const Case& c : cases) {
    const Backend& b = backend(all, c.dbms);
    Connection connection(b.connectionString);
    std::vector<std::string> found;
    for (const data::PrimaryKeyRow& row : data::listPrimaryKeys(connection, c.scope, c.table)) {
      found.push_back(toUtf8(row.column) + ":" + std::to_string(row.keySequence));
    }
    EXPECT_EQ(found, c.expected) << b.label << " " << toUtf8(c.table);
  }
}

TEST_F(SchemaRowsets, UniqueIndexesOfOneAndTwoColumns) {
  struct Case {
    Dbms dbms;
    SchemaScope scope;
    std::u16string table;
    std::vector<std::string> expected;  // index:position:column, unique ones marked "!"
  } cases[] = {
      {Dbms::Sqlite,
       {},
       u"order_items",
       {"!sqlite_autoindex_order_items_1:1:code", "!sqlite_autoindex_order_items_2:1:order_no",
        "!sqlite_autoindex_order_items_2:2:line_no", "!sqlite_autoindex_order_items_3:1:a",
        "!sqlite_autoindex_order_items_3:2:b"}},
      {Dbms::Postgres,
       {.schema = u"public"},
       u"Order Details",
       {"!Order Details_pkey:1:id", "!Order Details_a_b_key:1:a", "!Order Details_a_b_key:2:b",
        "!Order Details_code_key:1:code"}},
      {Dbms::Postgres,
       {.schema = u"sales"},
       u"orders",
       {"!orders_pkey:1:order_no", "!orders_pkey:2:line_no"}},
      {Dbms::Postgres,
       {.schema = u"public"},
       u"orders",
       {"!orders_pkey:1:id", "orders_customer_idx:1:customer"}},
      {Dbms::MariaDb,
       {},
       u"order_lines",
       {"!ab:1:a", "!ab:2:b", "!PRIMARY:1:order_no", "!PRIMARY:2:line_no"}},
      {Dbms::MariaDb, {}, u"orders", {"!code:1:code", "!PRIMARY:1:id"}},
  };
  const auto all = backends(databases());
  for (const Case& c : cases) {
    const Backend& b = backend(all, c.dbms);
    Connection connection(b.connectionString);
    std::vector<std::string> found;
    for (const data::IndexRow& row : data::listIndexes(connection, c.scope, c.table)) {
      found.push_back((row.unique ? "!" : "") + toUtf8(row.indexName) + ":" +
                      std::to_string(row.position) + ":" + toUtf8(row.column));
    }
    EXPECT_EQ(sorted(found), sorted(c.expected)) << b.label << " " << toUtf8(c.table);
  }
}

}  // namespace
}  // namespace vantorel::test
