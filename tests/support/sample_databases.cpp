#include "support/sample_databases.hpp"

#include <cstdlib>

#include "platform/data/connection.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "support/odbc_config.hpp"

namespace vantorel::test {

namespace fs = std::filesystem;

std::optional<fs::path> sharedTestData() {
  if (const char* env = std::getenv("VANTOREL_SHARED_TESTDATA"); env && *env) {
    if (fs::is_directory(env)) return fs::path(env);
    return std::nullopt;
  }
  // The folder sits beside the repository (or a worktree's parent): the nearest one above.
  for (fs::path dir = fs::path(VANTOREL_TEST_DATA).parent_path(); dir.has_relative_path();
       dir = dir.parent_path()) {
    const fs::path candidate = dir / "shared" / "testdata";
    if (fs::is_directory(candidate / "chinook") && fs::is_directory(candidate / "sakila")) {
      return candidate;
    }
  }
  return std::nullopt;
}

const std::vector<SampleDatabase>& sampleDatabases() {
  // Counted from the scripts: Chinook makes 11 tables everywhere; Sakila makes 15 tables and 7
  // views, PostgreSQL adds the 6 payment_p2007_* children of payment, MariaDB film_text.
  static const std::vector<SampleDatabase> samples = {
      {"Chinook on SQLite", Dbms::Sqlite, u"Chinook_Sqlite.sqlite", 11, 0},
      {"Chinook on PostgreSQL", Dbms::Postgres, u"chinook", 11, 0},
      {"Chinook on MariaDB", Dbms::MariaDb, u"Chinook", 11, 0},
      {"Sakila on PostgreSQL", Dbms::Postgres, u"sakila", 21, 7},
      {"Sakila on MariaDB", Dbms::MariaDb, u"sakila", 16, 7},
  };
  return samples;
}

void loadSampleDatabases(const fs::path& testData, PostgresServer& postgres, MariaDbServer& mariadb,
                         const fs::path& folder) {
  const fs::path chinook = testData / "chinook";
  const fs::path sakila = testData / "sakila";
  // The Chinook script makes its own database; Sakila's objects belong to role postgres.
  postgres.runScripts("postgres", {chinook / "Chinook_PostgreSql.sql"});
  {
    data::Connection admin(postgres.connectionString(u"postgres"));
    data::execute(admin, u"CREATE ROLE postgres");
    data::execute(admin, u"CREATE DATABASE sakila");
  }
  postgres.runScripts("sakila",
                      {sakila / "postgresql" / "postgres-sakila-schema.sql",
                       sakila / "postgresql" / "postgres-sakila-insert-data-using-copy.sql"});
  // The MariaDB scripts make their databases; the Sakila data is ASCII but for one blob.
  mariadb.runScript(chinook / "Chinook_MySql.sql", {"--default-character-set=utf8mb4"});
  mariadb.runScript(sakila / "mariadb" / "mysql-sakila-schema.sql",
                    {"--default-character-set=utf8mb4"});
  mariadb.runScript(sakila / "mariadb" / "mysql-sakila-data.sql",
                    {"--default-character-set=latin1", "--binary-mode"});
  const fs::path copy = folder / "Chinook_Sqlite.sqlite";
  fs::copy_file(chinook / "Chinook_Sqlite.sqlite", copy, fs::copy_options::overwrite_existing);
  fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
}

std::u16string sampleConnectionString(const SampleDatabase& sample, PostgresServer& postgres,
                                      MariaDbServer& mariadb, const fs::path& folder) {
  switch (sample.server) {
    case Dbms::Sqlite:
      return data::ConnectionString()
          .add(u"Driver", fromUtf8(kSqliteDriver))
          .add(u"Database", fromUtf8((folder / toUtf8(sample.database)).string()))
          .text();
    case Dbms::Postgres:
      return postgres.connectionString(sample.database);
    case Dbms::MariaDb:
      break;
  }
  return mariadb.connectionString(sample.database);
}

}  // namespace vantorel::test
