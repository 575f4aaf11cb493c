#pragma once
// Where the database loaders find a server's particulars: the PostgreSQL details, from a data
// source or from a connection string, and a SQL Server data source's database and server.
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"

namespace vantorel {

// The server, database, user, password and port of a PostgreSQL database, from its data source
// or its connection string.
struct PgConnectionDetails {
  Variant server, database, user, password, port;
};

// The details from the data source's "Servername", "Database", "UID" (psqlODBC's own "Username"
// when there is none), "Password" and "Port"; a missing value reads as empty.
PgConnectionDetails GetPgDsnInfo(std::u16string_view dsn);

// The details from the connection string's server, port, database, uid and pwd keys (any letter
// case); details whose key is absent stay as they were, a key given twice keeps its last value.
// A brace-quoted value may hold ';'.
void ParsePgConnStr(std::u16string_view sConnStr, PgConnectionDetails& details);

struct SqlServerDsnInfo {
  Variant DsnDatabase;
  std::u16string DsnServer;
  bool DsnTrusted = false;  // "Trusted_Connection" is exactly "Yes"
};

SqlServerDsnInfo GetSqlServerDsnInfo(std::u16string_view dsn);

// "[schema].[name]": of a dotted name only the part after the first dot, each part trimmed and
// stripped of one enclosing bracket pair.
std::u16string QuoteBracketName(std::u16string_view schema, std::u16string_view name);

}  // namespace vantorel
