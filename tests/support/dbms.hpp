#pragma once
// The three database systems the database suites run against, and their names in test output.

namespace vantorel::test {

enum class Dbms { Sqlite, Postgres, MariaDb };

inline constexpr Dbms kAllDbms[] = {Dbms::Sqlite, Dbms::Postgres, Dbms::MariaDb};

inline const char* dbmsName(Dbms dbms) {
  switch (dbms) {
    case Dbms::Sqlite:
      return "SQLite";
    case Dbms::Postgres:
      return "PostgreSQL";
    case Dbms::MariaDb:
      break;
  }
  return "MariaDB";
}

}  // namespace vantorel::test
