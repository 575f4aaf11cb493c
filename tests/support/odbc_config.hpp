#pragma once
// A private unixODBC configuration for a test program: odbcinst.ini naming the installed
// SQLite, PostgreSQL and MariaDB drivers by their full paths (without Debian's CommLog=1 for
// psqlODBC, which writes a log per process), and an odbc.ini of data sources. ODBCSYSINI and
// ODBCINI point at them, so nothing of the machine's own configuration is read.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::test {

inline constexpr char kSqliteDriver[] = "SQLite3";
inline constexpr char kPostgresDriver[] = "PostgreSQL Unicode";
inline constexpr char kMariaDbDriver[] = "MariaDB Unicode";

struct DataSourceSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;
};

// The driver library's full path, or empty when it is not installed.
std::string odbcDriverPath(const std::string& fileName);

// Writes both files into the folder and points the environment at them. Call before the first
// ODBC call of the process.
void writeOdbcConfig(const std::filesystem::path& folder,
                     const std::vector<DataSourceSection>& dataSources);

}  // namespace vantorel::test
