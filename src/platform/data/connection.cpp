#include "platform/data/connection.hpp"

#include <locale.h>

#include <algorithm>
#include <array>
#include <utility>

#include "platform/data/data_error.hpp"
#include "platform/data/sqlite_file.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::data {

namespace {

constexpr SQLUINTEGER kLoginTimeoutSeconds = 30;

// unixODBC converts the wide calls of a driver without a wide API (SQLite's) into the character
// set of the calling thread's locale, fixed when the connection handle is made. Under the "C"
// locale every non-ASCII name would reach such a driver as Latin-1 and fail; SQLite and the
// other drivers here speak UTF-8, so the handle is made with this thread in a UTF-8 locale.
class Utf8ThreadLocale {
 public:
  Utf8ThreadLocale() {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      utf8_ = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
      if (utf8_) break;
    }
    if (utf8_) previous_ = uselocale(utf8_);
  }
  ~Utf8ThreadLocale() {
    if (!utf8_) return;
    uselocale(previous_);
    freelocale(utf8_);
  }
  Utf8ThreadLocale(const Utf8ThreadLocale&) = delete;
  Utf8ThreadLocale& operator=(const Utf8ThreadLocale&) = delete;

 private:
  locale_t utf8_ = nullptr;
  locale_t previous_ = nullptr;
};

OdbcHandle connectionHandle(SQLHENV env) {
  const Utf8ThreadLocale utf8;
  return OdbcHandle(SQL_HANDLE_DBC, env);
}

}  // namespace

Connection::Connection(std::u16string_view connectionString)
    : env_(SQL_HANDLE_ENV, SQL_NULL_HANDLE) {
  // Nothing named would have the driver manager open its default data source, if it has one.
  if (trimBlanks(connectionString).empty()) {
    throw DataError({}, u"No data source or connection string was given!");
  }
  requireSqliteDatabaseFile(connectionString);
  check(SQLSetEnvAttr(env_.get(), SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_OV_ODBC3)), 0),
        SQL_HANDLE_ENV, env_.get(), u"cannot set the ODBC version");
  dbc_ = connectionHandle(env_.get());
  SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                     reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kLoginTimeoutSeconds)), 0);
  std::u16string text(connectionString);
  std::array<SQLWCHAR, 1024> completed{};
  SQLSMALLINT completedLength = 0;
  const SQLRETURN rc = SQLDriverConnectW(
      dbc_.get(), nullptr, sqlText(text), static_cast<SQLSMALLINT>(text.size()), completed.data(),
      static_cast<SQLSMALLINT>(completed.size()), &completedLength, SQL_DRIVER_NOPROMPT);
  check(rc, SQL_HANDLE_DBC, dbc_.get(), u"cannot connect to the data source");
  connected_ = true;
  readProperties();
}

Connection::~Connection() {
  close();
}

Connection::Connection(Connection&& other) noexcept
    : env_(std::move(other.env_)),
      dbc_(std::move(other.dbc_)),
      connected_(std::exchange(other.connected_, false)),
      properties_(std::move(other.properties_)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
  if (this != &other) {
    close();
    env_ = std::move(other.env_);
    dbc_ = std::move(other.dbc_);
    connected_ = std::exchange(other.connected_, false);
    properties_ = std::move(other.properties_);
  }
  return *this;
}

void Connection::close() noexcept {
  if (connected_) {
    SQLDisconnect(dbc_.get());
    connected_ = false;
  }
  dbc_.reset();
  env_.reset();
}

std::u16string Connection::infoText(SQLUSMALLINT infoType) const {
  std::u16string value(256, u'\0');
  SQLSMALLINT bytes = 0;
  SQLRETURN rc = SQLGetInfoW(dbc_.get(), infoType, sqlText(value),
                             static_cast<SQLSMALLINT>(value.size() * sizeof(SQLWCHAR)), &bytes);
  if (rc == SQL_SUCCESS_WITH_INFO &&
      static_cast<std::size_t>(bytes) >= value.size() * sizeof(SQLWCHAR)) {
    value.assign(static_cast<std::size_t>(bytes) / sizeof(SQLWCHAR) + 1, u'\0');
    rc = SQLGetInfoW(dbc_.get(), infoType, sqlText(value),
                     static_cast<SQLSMALLINT>(value.size() * sizeof(SQLWCHAR)), &bytes);
  }
  if (!succeeded(rc)) return {};
  // Ended by its terminator: MariaDB's driver counts a name like "Øst" short (see
  // wideTextLength), and the driver manager counts bytes of what it converted.
  value.resize(std::min(value.find(u'\0'), value.size() - 1));
  return value;
}

void Connection::readProperties() {
  properties_.dbmsName = infoText(SQL_DBMS_NAME);
  properties_.dbmsVersion = infoText(SQL_DBMS_VER);
  properties_.driverName = infoText(SQL_DRIVER_NAME);
  properties_.driverVersion = infoText(SQL_DRIVER_VER);
  properties_.odbcVersion = infoText(SQL_ODBC_VER);
  properties_.driverOdbcVersion = infoText(SQL_DRIVER_ODBC_VER);
  properties_.driverManagerVersion = infoText(SQL_DM_VER);
  properties_.dataSourceName = infoText(SQL_DATA_SOURCE_NAME);
  properties_.userName = infoText(SQL_USER_NAME);
  // A blank is ODBC's way of saying that identifiers are not quoted.
  const std::u16string quote = infoText(SQL_IDENTIFIER_QUOTE_CHAR);
  properties_.identifierQuote = trimBlanks(quote).empty() ? u"" : quote;
  properties_.currentCatalog = infoText(SQL_DATABASE_NAME);
}

bool Connection::isMySqlKind() const {
  return containsNoCase(properties_.dbmsName, u"MariaDB") ||
         containsNoCase(properties_.dbmsName, u"MySQL");
}

std::u16string Connection::quoteName(std::u16string_view name) const {
  const std::u16string& q = properties_.identifierQuote;
  if (q.empty()) return std::u16string(name);
  return q + replaceAll(name, q, q + q) + q;
}

std::u16string Connection::quoteName(std::u16string_view schema, std::u16string_view name) const {
  if (schema.empty()) return quoteName(name);
  return quoteName(schema) + u"." + quoteName(name);
}

void Connection::setAutoCommit(bool on) {
  const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  check(SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value),
                           SQL_IS_UINTEGER),
        SQL_HANDLE_DBC, dbc_.get(), u"cannot change the commit mode");
}

void Connection::rollback() {
  check(SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK), SQL_HANDLE_DBC, dbc_.get(),
        u"cannot roll back");
}

}  // namespace vantorel::data
