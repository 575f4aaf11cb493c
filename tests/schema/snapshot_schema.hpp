#pragma once
// The schemas the snapshot tests read, made once when the servers have started, and the ways
// into them.
#include <string>

#include "support/test_databases.hpp"

namespace vantorel::test {

enum class Dbms { Sqlite, Postgres, MariaDb };

// A PostgreSQL user who may read every table of the test database but "secret".
inline constexpr char16_t kReader[] = u"reader";
inline constexpr char16_t kReaderPassword[] = u"reader-pw";

std::u16string connectionStringFor(TestDatabases& databases, Dbms dbms);

}  // namespace vantorel::test
