#pragma once
// Where SQLite's ODBC driver describes a column otherwise than the database treats it: a BLOB,
// which it calls fixed-size binary, and a key that is the alias of the rowid, which the database
// numbers itself as it numbers an AUTOINCREMENT key but which the driver does not mark.
#include <vector>

#include "database/table_description.hpp"
#include "platform/data/connection.hpp"

namespace vantorel {

// True when the connection is to a SQLite database.
bool isSqlite(const data::Connection& cnn);

// Describes each BLOB column as the driver describes a LONGVARBINARY one: SQLite keeps a value
// of any length in either.
void describeSqliteBlobs(std::vector<ColumnDescription>& columns);

// Marks the base table's rowid alias auto-increment. SQLite alone decides which key that is (an
// INTEGER key of one column, not DESC in its column definition, in a table with a rowid): it is
// the one key it makes no index for. Raises the provider's error.
void markRowidAlias(data::Connection& cnn, TableDescription& table);

}  // namespace vantorel
