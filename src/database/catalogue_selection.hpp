#pragma once
// Which rows of a tables catalogue a database load reads: base tables and views (of the chosen
// schema on Oracle), one row per name. Table names are keys that ignore letter case, so of rows
// whose names differ only in case (the same table in two schemas, or "Orders" beside "orders")
// one is read, the current schema's where it has one, and the others are noted for it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/schema_rowsets.hpp"

namespace vantorel {

struct CatalogueFilter {
  std::int16_t kind = 0;            // GetDbmsType of the loaded database
  std::u16string schemaFilter;      // Oracle: the schema whose rows are read
  std::u16string currentSchema;     // the connection's current schema; empty when unknown
  bool skipSqliteInternal = false;  // SQLite lists its own sqlite_sequence as a table
};

struct CatalogueEntry {
  data::TableRow row;
  // Notes, one a row, for the rows left out because this row took their name.
  std::vector<std::u16string> notes;
};

// The rows to read, in ODBC's catalogue order (type, catalog, schema, name), each at the place
// of its name's first row.
std::vector<CatalogueEntry> selectCatalogueRows(std::vector<data::TableRow> rows,
                                                const CatalogueFilter& filter);

// The filter a load of this database applies: its kind, the Oracle schema, the connection's
// current schema (PostgreSQL) and SQLite's own tables.
CatalogueFilter catalogueFilterFor(data::Connection& cnn, std::u16string_view dbmsName,
                                   std::u16string schemaFilter);

// The provider's DBMS name as a database records it: any Interbase is "Interbase Server".
std::u16string recordedDbmsName(const std::u16string& providerName);

// Offered the schema names (element 0 empty) when the wanted one owns no table; answers one.
using SchemaChooser = std::function<std::u16string(const std::vector<std::u16string>& choices)>;

// The Oracle schema to load: the one already chosen, else the user's own when it owns a table,
// else the one the chooser picks.
std::u16string ChooseOracleSchema(const std::vector<data::TableRow>& rows,
                                  const std::u16string& schemaFilter, const std::u16string& uid,
                                  const SchemaChooser& choose);

}  // namespace vantorel
