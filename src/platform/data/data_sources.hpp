#pragma once
// ODBC data-source definitions as unixODBC finds them: the user's odbc.ini ($ODBCINI, else
// ~/.odbc.ini) first, then the system's ($ODBCSYSINI/odbc.ini, else /etc/odbc.ini).
#include <string>
#include <string_view>

namespace vantorel::data {

// One value of a data source's section; empty when the source or the value is missing.
std::u16string dataSourceValue(std::u16string_view dsn, std::u16string_view name);

bool dataSourceExists(std::u16string_view dsn);

// The values the database loaders read, under the names odbc.ini gives them.
struct DataSourceInfo {
  std::u16string driver;
  std::u16string database;
  std::u16string server;      // "Server" (MariaDB, SQL Server)
  std::u16string servername;  // "Servername" (psqlODBC)
  std::u16string uid;
  std::u16string password;
  std::u16string port;
  std::u16string trustedConnection;
};

DataSourceInfo readDataSource(std::u16string_view dsn);

}  // namespace vantorel::data
