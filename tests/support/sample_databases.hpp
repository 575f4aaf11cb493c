#pragma once
// The sample databases of the shared test data folder (the nearest shared/testdata above the
// repository, or $VANTOREL_SHARED_TESTDATA): Chinook as a SQLite file and, loaded from their
// scripts into private servers, Chinook and Sakila on PostgreSQL and on MariaDB.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/db_servers.hpp"
#include "support/dbms.hpp"

namespace vantorel::test {

// The shared test data folder, or nothing when it is not there.
std::optional<std::filesystem::path> sharedTestData();

// One sample database as a server holds it.
struct SampleDatabase {
  const char* label;  // e.g. "Sakila on MariaDB"
  Dbms server;
  std::u16string database;  // the server's database name; the SQLite file's name
  std::size_t tables;       // what the scripts make, counted by reading them
  std::size_t views;
};

// Chinook on the three, Sakila on the two servers.
const std::vector<SampleDatabase>& sampleDatabases();

// Loads every sample into the servers the way the folder's README says they load, and copies
// the SQLite file into the folder (the driver may want to write beside it). Raises
// std::runtime_error with the client's output on a failure.
void loadSampleDatabases(const std::filesystem::path& testData, PostgresServer& postgres,
                         MariaDbServer& mariadb, const std::filesystem::path& folder);

// A DSN-less connection string to the sample, the SQLite file taken from the folder above.
std::u16string sampleConnectionString(const SampleDatabase& sample, PostgresServer& postgres,
                                      MariaDbServer& mariadb, const std::filesystem::path& folder);

}  // namespace vantorel::test
