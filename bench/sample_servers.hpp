#pragma once
// Private PostgreSQL and MariaDB servers with the shared samples (Chinook, Sakila) loaded, for
// the benchmarks that read them, started with the tests' own support code in a temporary folder.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/db_servers.hpp"
#include "support/odbc_config.hpp"
#include "support/sample_databases.hpp"
#include "support/temp_home.hpp"

namespace vantorel::bench {

class SampleServers {
 public:
  // The servers with the samples loaded; nothing, with the reason printed, when the shared test
  // data folder or the server programs are missing.
  static std::unique_ptr<SampleServers> start(const char* program) {
    namespace fs = std::filesystem;
    const std::optional<fs::path> testData = test::sharedTestData();
    if (!testData) {
      std::printf("%s: no shared/testdata folder with chinook and sakila; skipped\n", program);
      return nullptr;
    }
    for (const auto& why :
         {test::PostgresServer::unavailable(), test::MariaDbServer::unavailable()}) {
      if (why) {
        std::printf("%s: %s; skipped\n", program, why->c_str());
        return nullptr;
      }
    }
    test::isolateHome();
    auto servers = std::unique_ptr<SampleServers>(new SampleServers);
    const fs::path& folder = servers->folder_.path();
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    test::writeOdbcConfig(folder, {});
    servers->postgres_ =
        std::make_unique<test::PostgresServer>(folder / "postgresql", test::freeLocalPort());
    servers->mariadb_ =
        std::make_unique<test::MariaDbServer>(folder / "mariadb", test::freeLocalPort());
    std::printf("%s: loading the samples into private servers\n", program);
    test::loadSampleDatabases(*testData, *servers->postgres_, *servers->mariadb_, folder);
    return servers;
  }

  // A DSN-less connection string to a database of either server.
  std::u16string postgresConnection(std::u16string_view database) const {
    return postgres_->connectionString(database);
  }
  std::u16string mariadbConnection(std::u16string_view database) const {
    return mariadb_->connectionString(database);
  }
  // Their TCP ports on 127.0.0.1, for the servers' own clients (user and password "test").
  int postgresPort() const { return postgres_->port(); }
  int mariadbPort() const { return mariadb_->port(); }

  // One DSN-less connection string per sample, in the order of test::sampleDatabases().
  std::vector<std::u16string> connectionStrings() {
    std::vector<std::u16string> strings;
    for (const test::SampleDatabase& sample : test::sampleDatabases()) {
      strings.push_back(
          test::sampleConnectionString(sample, *postgres_, *mariadb_, folder_.path()));
    }
    return strings;
  }

 private:
  SampleServers() = default;
  test::TempDir folder_;
  std::unique_ptr<test::PostgresServer> postgres_;
  std::unique_ptr<test::MariaDbServer> mariadb_;
};

}  // namespace vantorel::bench
