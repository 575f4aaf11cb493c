#pragma once
// The SQLite driver opens a database file that is not there by making an empty one, so a project
// whose file was moved or deleted would read as an empty database and leave a stray file behind.
// A connection to SQLite therefore first makes sure that the file it names exists.
#include <string>
#include <string_view>

namespace vantorel::data {

// The database file a SQLite connection string names, by its "Database" key or by the data
// source it names; "" for another driver, for an in-memory database or a URI, and when no file
// is named.
std::u16string sqliteDatabaseFile(std::u16string_view connectionString);

// Raises DataError naming the file when the connection string is for SQLite and names a file
// that does not exist.
void requireSqliteDatabaseFile(std::u16string_view connectionString);

}  // namespace vantorel::data
