#pragma once
// The small shop every entry test loads, made once in each database when the servers have
// started: customers, their orders (a detail table keyed to its master) and a view of totals.
#include <string>

#include "database/load_arguments.hpp"
#include "support/schema_script.hpp"

namespace vantorel::test {

// A user of both servers who may read the shop, with a password that needs brace-quoting.
inline constexpr char16_t kBracedUser[] = u"semi";
inline constexpr char16_t kBracedPassword[] = u"se;mi}{=x";

// LoadDB's arguments for the kind, through a data source (`dsn`) or a connection string, in the
// letter case given for the type.
DatabaseLoadArguments loadArgumentsFor(TestDatabases& databases, Dbms kind, bool dsn,
                                       const std::u16string& type);

}  // namespace vantorel::test
