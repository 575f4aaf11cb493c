#include "support/odbc_config.hpp"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace vantorel::test {

namespace fs = std::filesystem;

std::string odbcDriverPath(const std::string& fileName) {
  std::vector<fs::path> folders = {"/usr/lib/odbc", "/usr/local/lib/odbc", "/usr/lib64"};
  std::error_code ec;
  // Debian keeps drivers under the multiarch folder, /usr/lib/<triplet>/odbc.
  for (const auto& entry : fs::directory_iterator("/usr/lib", ec)) {
    if (entry.is_directory(ec)) folders.push_back(entry.path() / "odbc");
  }
  for (const fs::path& folder : folders) {
    if (fs::exists(folder / fileName, ec)) return (folder / fileName).string();
  }
  return {};
}

void writeOdbcConfig(const fs::path& folder, const std::vector<DataSourceSection>& dataSources) {
  const std::pair<const char*, const char*> drivers[] = {
      {kSqliteDriver, "libsqlite3odbc.so"},
      {kPostgresDriver, "psqlodbcw.so"},
      {kMariaDbDriver, "libmaodbc.so"},
  };
  std::ofstream driversIni(folder / "odbcinst.ini");
  for (const auto& [name, file] : drivers) {
    const std::string path = odbcDriverPath(file);
    if (path.empty()) continue;
    driversIni << "[" << name << "]\nDriver = " << path << "\n";
    if (std::string(name) == kPostgresDriver) driversIni << "CommLog = 0\nDebug = 0\n";
    driversIni << "\n";
  }
  driversIni.close();
  std::ofstream sources(folder / "odbc.ini");
  for (const DataSourceSection& source : dataSources) {
    sources << "[" << source.name << "]\n";
    for (const auto& [key, value] : source.values) sources << key << " = " << value << "\n";
    sources << "\n";
  }
  sources.close();
  if (!driversIni || !sources) throw std::runtime_error("cannot write the ODBC configuration");
  setenv("ODBCSYSINI", folder.c_str(), 1);
  setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);
}

}  // namespace vantorel::test
