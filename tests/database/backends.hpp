#pragma once
// The three databases the data tests run against, with the schemas made for them.
#include <string>
#include <vector>

#include "support/schema_script.hpp"

namespace vantorel::test {

struct Backend {
  Dbms dbms;
  const char* label;
  std::u16string connectionString;  // DSN-less, as user "test"
  std::u16string dsn;
};

std::vector<Backend> backends(TestDatabases& databases);
const Backend& backend(const std::vector<Backend>& all, Dbms dbms);

// The password of the user "semi" on both servers; it needs brace-quoting.
// Without edge blanks: MariaDB Connector/ODBC trims them inside braces.
inline constexpr char16_t kBracedPassword[] = u"se;mi}{=x";

}  // namespace vantorel::test
