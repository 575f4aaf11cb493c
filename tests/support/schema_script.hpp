#pragma once
// What the database suites' schema files share: the three servers by name, the statements that
// make a schema, and the way into the test database on each.
#include <initializer_list>
#include <string>

#include "support/test_databases.hpp"

namespace vantorel::test {

enum class Dbms { Sqlite, Postgres, MariaDb };

// Runs the statements in turn over a connection of their own.
void run(const std::u16string& connectionString, std::initializer_list<const char16_t*> script);

// The test database on that server, as user "test".
std::u16string connectionStringFor(TestDatabases& databases, Dbms dbms);

}  // namespace vantorel::test
