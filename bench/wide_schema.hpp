#pragma once
// Wide databases for the loading benchmarks: TABLES tables of COLUMNS columns each, as
// bench/large_schema.sh makes them (column 1 an integer primary key, then integer, varchar(50),
// text, numeric(10,2), date, timestamp, boolean, a floating type, bigint and a binary type in
// turn, every seventh column NOT NULL, and in every twentieth table column 2 a foreign key to
// the table before), on PostgreSQL or MariaDB.
#include <cstdio>
#include <string>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::bench {

enum class Server { PostgreSQL, MariaDB };

inline std::u16string wideTableName(int table) {
  char name[16];
  std::snprintf(name, sizeof name, "t%05d", table);
  return fromUtf8(name);
}

inline std::u16string wideTableSql(Server server, int table, int columns) {
  static const char* const kPostgres[] = {"integer", "varchar(50)", "text",    "numeric(10,2)",
                                          "date",    "timestamp",   "boolean", "double precision",
                                          "bigint",  "bytea"};
  static const char* const kMariaDb[] = {"int",    "varchar(50)", "text",       "decimal(10,2)",
                                         "date",   "datetime",    "tinyint(1)", "double",
                                         "bigint", "blob"};
  const char* const* types = server == Server::PostgreSQL ? kPostgres : kMariaDb;
  std::u16string sql =
      u"CREATE TABLE " + wideTableName(table) + u" (c01_id integer NOT NULL PRIMARY KEY";
  for (int c = 2; c <= columns; ++c) {
    char column[96];
    if (c == 2 && table > 1 && table % 20 == 0) {
      std::snprintf(column, sizeof column, ", c02_ref integer REFERENCES t%05d (c01_id)",
                    table - 1);
    } else {
      const char* type = types[(c - 2) % 10];
      std::string word(type);
      word = word.substr(0, word.find_first_of(" ("));
      std::snprintf(column, sizeof column, ", c%02d_%s %s%s", c, word.c_str(), type,
                    c % 7 == 0 ? " NOT NULL" : "");
    }
    sql += fromUtf8(column);
  }
  return sql + u")";
}

// Makes the database `name` with the tables over `admin` (a connection to another database of
// the server) and then `connection` (one to the new database).
inline void makeWideDatabase(Server server, const std::u16string& admin,
                             const std::u16string& connection, const std::u16string& name,
                             int tables, int columns) {
  {
    data::Connection cnn(admin);
    data::execute(cnn, u"CREATE DATABASE " + name);
  }
  data::Connection cnn(connection);
  for (int t = 1; t <= tables; ++t) data::execute(cnn, wideTableSql(server, t, columns));
}

}  // namespace vantorel::bench
