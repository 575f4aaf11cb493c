#pragma once
// An open ODBC connection and the provider properties the database loaders read from it.
#include <string>
#include <string_view>

#include "platform/data/odbc_handle.hpp"

namespace vantorel::data {

struct ProviderProperties {
  std::u16string dbmsName;              // SQL_DBMS_NAME: "SQLite", "PostgreSQL", "MariaDB"
  std::u16string dbmsVersion;           // SQL_DBMS_VER
  std::u16string driverName;            // SQL_DRIVER_NAME: the driver's library file
  std::u16string driverVersion;         // SQL_DRIVER_VER
  std::u16string odbcVersion;           // SQL_ODBC_VER: the driver manager's ODBC version
  std::u16string driverOdbcVersion;     // SQL_DRIVER_ODBC_VER
  std::u16string driverManagerVersion;  // SQL_DM_VER
  std::u16string identifierQuote;       // empty when the driver quotes no identifiers
  std::u16string currentCatalog;        // the database the connection is in; empty when none
  std::u16string dataSourceName;        // SQL_DATA_SOURCE_NAME; empty for a DSN-less string
  std::u16string userName;              // SQL_USER_NAME
};

class Connection {
 public:
  // Opens the connection string without prompting; raises DataError with the provider's lines
  // (DataError::loginRefused() tells a refused login). A blank string is refused: the driver
  // manager would open its default data source.
  explicit Connection(std::u16string_view connectionString);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Connection(Connection&& other) noexcept;
  Connection& operator=(Connection&& other) noexcept;

  bool isOpen() const noexcept { return connected_; }
  void close() noexcept;

  const ProviderProperties& properties() const noexcept { return properties_; }
  // Any SQLGetInfo text; empty when the driver does not answer.
  std::u16string infoText(SQLUSMALLINT infoType) const;
  // MariaDB and MySQL list every database's tables unless told the current one.
  bool isMySqlKind() const;

  // The name between the driver's quote characters, an embedded quote character doubled; the
  // name as it is when the driver quotes nothing.
  std::u16string quoteName(std::u16string_view name) const;
  // quoteName(schema) + "." + quoteName(name), or quoteName(name) alone for an empty schema.
  std::u16string quoteName(std::u16string_view schema, std::u16string_view name) const;

  void setAutoCommit(bool on);
  void rollback();

  SQLHDBC handle() const noexcept { return dbc_.get(); }

 private:
  void readProperties();

  OdbcHandle env_;
  OdbcHandle dbc_;
  bool connected_ = false;
  ProviderProperties properties_;
};

}  // namespace vantorel::data
