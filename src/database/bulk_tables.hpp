#pragma once
// What one pass over a server's own catalogue tells of every base table of the loaded schemas,
// kept compact until each table's description is made from it. Each server's reader fills it;
// the bulk catalogue turns it into the descriptions the per-table reading would give.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "database/column_facts.hpp"
#include "database/mysql_fields.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/statement.hpp"

namespace vantorel {

struct BulkColumn {
  std::u16string name;
  // The catalogue facts the driver's description of the column follows from (type, size,
  // nullability, default kind, ...), as an index into BulkReading's list of them.
  std::uint32_t signature = 0;
  std::optional<std::u16string> pgDefault;  // PostgreSQL: the FldDefault of its default
  std::u16string pgTypeName;                // PostgreSQL: its DataTypeName
  std::optional<MySqlColumnType> mysql;     // MySQL, MariaDB: what SHOW FIELDS tells
  // PostgreSQL: the values of its enum, in their order.
  std::vector<std::u16string> pgEnumValues;
  // Where the catalogue corrects the driver's description of it.
  ColumnFacts facts;
};

struct BulkTable {
  std::u16string schema;
  std::u16string name;
  std::vector<BulkColumn> columns;  // in the order a SELECT * gives them
  std::vector<std::u16string> primaryKey;
  std::vector<std::u16string> unique;  // alone in a unique index
  // The user may read it: a probe of its columns would be answered.
  bool readable = true;
  // Something the catalogue tells of it that the bulk reading does not render exactly as the
  // driver's catalogue calls would (an index over an expression, ...): read on its own.
  bool onItsOwn = false;
};

class BulkReading {
 public:
  // The table of that schema and name, made on first use.
  BulkTable& table(const std::u16string& schema, const std::u16string& name);
  // The table of that schema and name; nullptr when the catalogue passes did not list it.
  BulkTable* find(const std::u16string& schema, const std::u16string& name);
  const BulkTable* find(const std::u16string& schema, const std::u16string& name) const;
  std::uint32_t signature(const std::u16string& facts);
  std::size_t signatureCount() const { return signatures_.size(); }
  std::vector<BulkTable>& tables() { return tables_; }

 private:
  std::vector<BulkTable> tables_;
  std::map<std::pair<std::u16string, std::u16string>, std::size_t> index_;
  std::unordered_map<std::u16string, std::uint32_t> signatures_;
};

// True when a name needs no quoting anywhere: ASCII letters, digits and "_", not a digit first.
// A driver that reads the probe's text to describe its columns reads such names alike.
bool plainName(const std::u16string& name);

// Hands visit each row of the statement's result, its first Columns values as text.
template <std::size_t Columns, typename Visit>
void forEachTextRow(data::Statement& statement, Visit&& visit) {
  std::array<std::u16string, Columns> text;
  while (statement.fetch()) {
    for (std::size_t i = 0; i < Columns; ++i) {
      text[i] = data::textOf(statement.value(static_cast<SQLUSMALLINT>(i + 1)));
    }
    visit(text);
  }
}

// The passes over PostgreSQL's catalogue for the base tables of the schemas. Raises the
// provider's error.
void readPostgreSqlCatalogue(data::Connection& cnn, const std::vector<std::u16string>& schemas,
                             BulkReading& reading);

// The passes over the information schema of MariaDB or MySQL for the base tables of the
// connection's database, each table under the empty schema. Raises the provider's error.
void readMySqlCatalogue(data::Connection& cnn, BulkReading& reading);

}  // namespace vantorel
