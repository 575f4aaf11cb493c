#include "support/test_databases.hpp"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

#include "platform/automation/automation_error.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/text/unicode.hpp"
#include "support/odbc_config.hpp"

namespace vantorel::test {

namespace fs = std::filesystem;

namespace {

TestDatabases* registered = nullptr;

}  // namespace

TestDatabases::TestDatabases(Prepare prepare) : prepare_(std::move(prepare)) {}

TestDatabases::~TestDatabases() = default;

TestDatabases& TestDatabases::instance() {
  return *registered;
}

std::u16string TestDatabases::sqliteConnectionString() const {
  return data::ConnectionString()
      .add(u"Driver", fromUtf8(kSqliteDriver))
      .add(u"Database", fromUtf8(sqliteFile().string()))
      .text();
}

void TestDatabases::SetUp() {
  try {
    if (auto why = PostgresServer::unavailable()) throw std::runtime_error(*why);
    if (auto why = MariaDbServer::unavailable()) throw std::runtime_error(*why);
    folder_ = std::make_unique<TempDir>();
    // The servers' own users must reach their folders inside this one.
    fs::permissions(folder(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    // An empty file is an empty SQLite database; a connection never makes one.
    std::ofstream(sqliteFile()).close();
    const int pgPort = freeLocalPort();
    const int mariaPort = freeLocalPort();
    const std::string pg = std::to_string(pgPort), maria = std::to_string(mariaPort);
    writeOdbcConfig(
        folder(),
        {
            {"vantorel_sqlite", {{"Driver", kSqliteDriver}, {"Database", sqliteFile().string()}}},
            {"vantorel_pg",
             {{"Driver", kPostgresDriver},
              {"Servername", "127.0.0.1"},
              {"Port", pg},
              {"Database", "vantorel"},
              {"Username", "test"},
              {"UID", "test"},
              {"Password", "test"}}},
            {"vantorel_mariadb",
             {{"Driver", kMariaDbDriver},
              {"Server", "127.0.0.1"},
              {"Port", maria},
              {"Database", "vantorel"},
              {"UID", "test"},
              {"Password", "test"}}},
        });
    postgres_ = std::make_unique<PostgresServer>(folder() / "postgresql", pgPort);
    mariadb_ = std::make_unique<MariaDbServer>(folder() / "mariadb", mariaPort);
    if (prepare_) prepare_(*this);
  } catch (const AutomationError& e) {
    problem_ = "the test databases could not be prepared: " + toUtf8(e.description());
  } catch (const std::exception& e) {
    problem_ = std::string("the test databases could not be prepared: ") + e.what();
  }
}

void TestDatabases::TearDown() {
  mariadb_.reset();
  postgres_.reset();
  folder_.reset();
}

TestDatabases* registerTestDatabases(TestDatabases::Prepare prepare) {
  registered = new TestDatabases(std::move(prepare));
  // GoogleTest owns the environment from here.
  ::testing::AddGlobalTestEnvironment(registered);
  return registered;
}

void DatabaseTest::SetUp() {
  const std::string& problem = databases().problem();
  if (problem.empty()) return;
  const char* ci = getenv("CI");
  if (ci && *ci) FAIL() << problem;
  GTEST_SKIP() << problem;
}

}  // namespace vantorel::test
