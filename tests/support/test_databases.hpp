#pragma once
// The databases a test program works against: a SQLite file and the private PostgreSQL and
// MariaDB servers, started once per program as a GoogleTest environment by the suites that
// register it, with the program's own ODBC configuration naming them as data sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/db_servers.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test {

// Data source names in the private odbc.ini; each reaches the database "vantorel".
inline constexpr char16_t kSqliteDsn[] = u"vantorel_sqlite";
inline constexpr char16_t kPostgresDsn[] = u"vantorel_pg";
inline constexpr char16_t kMariaDbDsn[] = u"vantorel_mariadb";
inline constexpr char16_t kTestDatabase[] = u"vantorel";

class TestDatabases : public ::testing::Environment {
 public:
  // Runs once the servers are up, to create the suite's schemas.
  using Prepare = std::function<void(TestDatabases&)>;

  explicit TestDatabases(Prepare prepare);
  ~TestDatabases() override;

  // The registered environment; only valid in a program that registered one.
  static TestDatabases& instance();

  void SetUp() override;
  void TearDown() override;

  // Empty when everything started; otherwise why not.
  const std::string& problem() const noexcept { return problem_; }
  PostgresServer& postgres() { return *postgres_; }
  MariaDbServer& mariadb() { return *mariadb_; }
  const std::filesystem::path& folder() const { return folder_->path(); }
  std::filesystem::path sqliteFile() const { return folder() / "vantorel.sqlite"; }
  std::u16string sqliteConnectionString() const;

 private:
  Prepare prepare_;
  std::string problem_;
  std::unique_ptr<TempDir> folder_;
  std::unique_ptr<PostgresServer> postgres_;
  std::unique_ptr<MariaDbServer> mariadb_;
};

// Registers the environment; call from a namespace-scope initialiser of the suite.
TestDatabases* registerTestDatabases(TestDatabases::Prepare prepare);

// A test against the databases: skipped when the servers could not be made here (failed
// instead when CI is set, where they must be).
class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override;
  TestDatabases& databases() { return TestDatabases::instance(); }
};

}  // namespace vantorel::test
