#pragma once
// Private database servers for the tests: a PostgreSQL and a MariaDB instance made in a
// temporary folder, listening on free ports of 127.0.0.1 only, run as the current user (as the
// `postgres` and `mysql` system users when the tests run as root) and stopped by process id.
// Both have the superuser "test" with the password "test".
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.hpp"

namespace vantorel::test {

inline constexpr char16_t kTestUser[] = u"test";
inline constexpr char16_t kTestPassword[] = u"test";

// A TCP port on 127.0.0.1 that nothing listens on right now. Ports are chosen before the
// servers start, so that the ODBC configuration naming them is written once.
int freeLocalPort();

class PostgresServer {
 public:
  // The reason the server cannot be made here (binaries missing), or nothing.
  static std::optional<std::string> unavailable();

  // Listens on the given port (see freeLocalPort).
  PostgresServer(const std::filesystem::path& folder, int port);
  ~PostgresServer();
  PostgresServer(const PostgresServer&) = delete;
  PostgresServer& operator=(const PostgresServer&) = delete;

  int port() const noexcept { return port_; }
  pid_t pid() const noexcept { return process_->pid(); }
  // A DSN-less connection string through the "PostgreSQL Unicode" driver.
  std::u16string connectionString(std::u16string_view database,
                                  std::u16string_view user = kTestUser,
                                  std::u16string_view password = kTestPassword) const;
  // Runs SQL files in turn through psql as "test", connected to the database, stopping at the
  // first error (raised with the client's output).
  void runScripts(const std::string& database,
                  const std::vector<std::filesystem::path>& scripts) const;

 private:
  std::filesystem::path folder_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

class MariaDbServer {
 public:
  static std::optional<std::string> unavailable();

  MariaDbServer(const std::filesystem::path& folder, int port);
  ~MariaDbServer();
  MariaDbServer(const MariaDbServer&) = delete;
  MariaDbServer& operator=(const MariaDbServer&) = delete;

  int port() const noexcept { return port_; }
  pid_t pid() const noexcept { return process_->pid(); }
  // A DSN-less connection string through the "MariaDB Unicode" driver, over TCP.
  std::u16string connectionString(std::u16string_view database,
                                  std::u16string_view user = kTestUser,
                                  std::u16string_view password = kTestPassword) const;
  // Runs a SQL file through the mariadb client as "test", with the client options given;
  // an error is raised with the client's output.
  void runScript(const std::filesystem::path& script,
                 const std::vector<std::string>& options = {}) const;

 private:
  std::filesystem::path folder_;
  std::filesystem::path socket_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

// The system user a server runs as: empty (the current user) unless the tests run as root.
std::string serverUser(const std::string& systemUser);

}  // namespace vantorel::test
