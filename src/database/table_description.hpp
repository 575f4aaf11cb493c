#pragma once
// One reading of a table, view or custom view's query over ODBC, before anything is built from
// it. The model's loaders (AGPTable.Load_ADO, Load_ADOCustomView) and the schema snapshot both
// take their columns, types, sizes, keys, defaults and type names from this one reading, each
// applying its own rules to it, so that the two can never disagree about what the database
// holds.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database/mysql_fields.hpp"
#include "database/pg_metadata.hpp"
#include "fields/field_definition.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/expected.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query_metadata.hpp"
#include "platform/data/schema_rowsets.hpp"

namespace vantorel {

struct ColumnDescription {
  data::FieldDescription column;
  // Another column before it bears this name in some letter case: the column is not loaded
  // and its table is not generated. Names are field keys, which ignore case.
  bool duplicate = false;
  std::optional<MySqlColumnType> mysql;     // its SHOW FIELDS row (MySQL, MariaDB)
  bool rowGuid = false;                     // a uniqueidentifier the server fills (SQL Server)
  std::optional<std::u16string> pgDefault;  // the FldDefault its default gives (PostgreSQL)
  // The values of its enum type in the enum's order (PostgreSQL); none for any other type.
  std::vector<std::u16string> pgEnumValues;
  // The server computes it from other columns (GENERATED ALWAYS AS ...): nobody writes it.
  bool generated = false;
  // From the catalogue, for base tables only.
  bool primaryKey = false;
  bool required = false;
  bool uniqueIndex = false;
};

struct TableDescription {
  std::u16string schema;
  std::u16string name;
  std::u16string type;  // "TABLE", "VIEW" or "CUSTOMVIEW"
  // The columns could not be read (the probe or the query was refused): the provider's text.
  std::optional<std::u16string> readError;
  // Every result column but those without a name, in result order.
  std::vector<ColumnDescription> columns;
  // PostgreSQL's own type names; nothing when not PostgreSQL or not readable.
  std::optional<std::vector<PgMetadataField>> typeNames;
};

// What the catalogue tells of a base table's keys, each by exact column name.
struct TableKeys {
  std::vector<std::u16string> primaryKey;
  std::vector<std::u16string> required;  // the catalogue says NOT NULL
  std::vector<std::u16string> unique;    // alone in a unique index
};

// The columns with names, each marked when an earlier one took its name in any letter case.
std::vector<ColumnDescription> describedColumns(std::vector<data::FieldDescription> columns);

// Marks the named columns; a duplicate column is never marked.
void applyKeys(TableDescription& table, const TableKeys& keys);

// The columns of a table or view as a query that returns no row describes them; raises the
// provider's error when the query is refused.
std::vector<data::FieldDescription> probeTableColumns(data::Connection& cnn,
                                                      const std::u16string& schema,
                                                      const std::u16string& name);

// A table or view of the catalogue: probes its columns with a query that returns no row, then
// reads what its kind of database tells beyond that. A refused probe gives readError; any later
// step that fails is skipped. The quote characters name the table where a driver wants it quoted.
TableDescription describeAdoTable(data::Connection& cnn, const data::TableRow& row,
                                  std::int16_t dbmsKind, const SqlQuote& quote);

// A table or view the catalogue did not list, asked for by name: MariaDB leaves out what the
// user may not read. Nothing when the server does not know it; a description with readError
// when it refuses to say for want of a privilege; else the full description.
std::optional<TableDescription> describeUnlistedTable(data::Connection& cnn,
                                                      const data::TableRow& row,
                                                      std::int16_t dbmsKind, const SqlQuote& quote);

// The columns of a custom view's query, described without running it. A refused query is the
// failure, its text the reason.
Expected<TableDescription> describeCustomView(data::Connection& cnn, const std::u16string& name,
                                              const std::u16string& sql, std::int16_t dbmsKind);

// The load's note on a column left out as a duplicate.
std::u16string duplicateColumnText(const std::u16string& name);

// The column in the shape of the ADO Field both the model and the snapshot import.
AdoFieldDefinition adoFieldDefinition(const data::FieldDescription& column);

}  // namespace vantorel
