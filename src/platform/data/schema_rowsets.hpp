#pragma once
// The catalogue rowsets the loaders open (tables, columns, primary keys, indexes) as typed rows.
// A restriction left out (nullopt) matches everything. Table and schema names are matched
// exactly: the catalogue functions' "_" and "%" wildcards are escaped. On MariaDB and MySQL a
// missing catalog means the connection's current database, since their driver otherwise lists
// every database on the server.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/variant.hpp"
#include "platform/data/connection.hpp"

namespace vantorel::data {

struct SchemaScope {
  std::optional<std::u16string> catalog;
  std::optional<std::u16string> schema;
};

struct TableRow {
  std::u16string catalog;
  std::u16string schema;
  std::u16string name;
  std::u16string type;  // "TABLE", "VIEW", "SYSTEM TABLE", ... as the driver names it
  std::u16string remarks;
};

struct ColumnRow {
  std::u16string catalog;
  std::u16string schema;
  std::u16string table;
  std::u16string name;
  SQLSMALLINT dataType = 0;  // the SQL type code
  std::u16string typeName;   // the driver's type name
  std::int32_t columnSize = 0;
  std::optional<std::int32_t> decimalDigits;
  SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;  // SQL_NO_NULLS, SQL_NULLABLE or unknown
  Variant defaultValue;                         // Null when the column has no default
  std::int32_t ordinal = 0;
  std::optional<std::int32_t> octetLength;
  std::u16string remarks;

  bool required() const noexcept { return nullable == SQL_NO_NULLS; }
};

struct PrimaryKeyRow {
  std::u16string catalog;
  std::u16string schema;
  std::u16string table;
  std::u16string column;
  std::int32_t keySequence = 0;  // from 1, the column's place in the key
  std::u16string keyName;
};

// One column of one index; the table statistics row that ODBC puts first is left out.
struct IndexRow {
  std::u16string catalog;
  std::u16string schema;
  std::u16string table;
  std::u16string indexName;
  bool unique = false;
  std::int32_t position = 0;  // from 1, the column's place in the index
  std::u16string column;
  std::u16string ascOrDesc;  // "A", "D" or empty
};

// Tables of the given types ("TABLE", "VIEW", ...; all types when the list is empty).
std::vector<TableRow> listTables(Connection& connection, const SchemaScope& scope,
                                 const std::vector<std::u16string>& types = {},
                                 const std::optional<std::u16string>& table = std::nullopt);

std::vector<ColumnRow> listColumns(Connection& connection, const SchemaScope& scope,
                                   const std::optional<std::u16string>& table,
                                   const std::optional<std::u16string>& column = std::nullopt);

// The same rows, each handed to visit as it is read, none kept: the columns of a whole schema
// at once.
void visitColumns(Connection& connection, const SchemaScope& scope,
                  const std::optional<std::u16string>& table,
                  const std::function<void(const ColumnRow&)>& visit,
                  const std::optional<std::u16string>& column = std::nullopt);

// In key order.
std::vector<PrimaryKeyRow> listPrimaryKeys(Connection& connection, const SchemaScope& scope,
                                           const std::u16string& table);

// Every index of the table, each index's columns in order.
std::vector<IndexRow> listIndexes(Connection& connection, const SchemaScope& scope,
                                  const std::u16string& table);

}  // namespace vantorel::data
