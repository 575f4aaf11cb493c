#pragma once
// The small shop every entry test loads, made once in each database when the servers have
// started: customers, their orders (a detail table keyed to its master) and a view of totals.
#include <string>

#include "database/load_arguments.hpp"
#include "support/test_databases.hpp"

namespace vantorel::test {

enum class Kind { Sqlite, Postgres, MariaDb };

// A user of both servers who may read the shop, with a password that needs brace-quoting.
inline constexpr char16_t kBracedUser[] = u"semi";
inline constexpr char16_t kBracedPassword[] = u"se;mi}{=x";

// LoadDB's arguments for the kind, through a data source (`dsn`) or a connection string, in the
// letter case given for the type.
DatabaseLoadArguments loadArgumentsFor(TestDatabases& databases, Kind kind, bool dsn,
                                       const std::u16string& type);

// The connection string for the kind, as `vantorel new` takes it.
std::u16string shopConnectionString(TestDatabases& databases, Kind kind);

const char* kindName(Kind kind);

}  // namespace vantorel::test
