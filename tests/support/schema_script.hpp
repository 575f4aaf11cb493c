#pragma once
// What the database suites' schema files share: the statements that make a schema, the way into
// the test database on each server, and a fresh database of a test's own.
#include <initializer_list>
#include <string>
#include <vector>

#include "support/dbms.hpp"
#include "support/test_databases.hpp"

namespace vantorel::test {

// Runs the statements in turn over a connection of their own.
void run(const std::u16string& connectionString, std::initializer_list<const char16_t*> script);
void run(const std::u16string& connectionString, const std::vector<std::u16string>& script);

// The test database on that server, as user "test".
std::u16string connectionStringFor(TestDatabases& databases, Dbms dbms);

// A new, empty database on that server, for one test alone; its connection string.
std::u16string freshDatabase(TestDatabases& databases, Dbms dbms);

}  // namespace vantorel::test
