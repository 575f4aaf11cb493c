#include "platform/data/read_only_transaction.hpp"

#include "platform/data/query.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::data {

namespace {

void setAccessMode(const Connection& connection, SQLULEN mode) noexcept {
  // Drivers that do not enforce the mode accept or refuse it; the statements below enforce it.
  SQLSetConnectAttrW(connection.handle(), SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(mode),
                     SQL_IS_UINTEGER);
}

bool sqliteQueryOnly(Connection& connection) {
  const QueryResult r = runQuery(connection, u"PRAGMA query_only");
  return !r.rows.empty() && !r.rows.front().empty() && textOf(r.rows.front().front()) == u"1";
}

}  // namespace

ReadOnlyTransaction::ReadOnlyTransaction(Connection& connection) : connection_(connection) {
  const std::u16string& dbms = connection.properties().dbmsName;
  sqlite_ = containsNoCase(dbms, u"SQLite");
  setAccessMode(connection_, SQL_MODE_READ_ONLY);
  try {
    // SQLite has no read-only transaction; the connection itself refuses writes instead.
    if (sqlite_) {
      sqliteWasQueryOnly_ = sqliteQueryOnly(connection_);
      execute(connection_, u"PRAGMA query_only = 1");
    }
    connection_.setAutoCommit(false);
    if (containsNoCase(dbms, u"PostgreSQL")) {
      execute(connection_, u"SET TRANSACTION READ ONLY");
    } else if (connection_.isMySqlKind()) {
      execute(connection_, u"START TRANSACTION READ ONLY");
    }
  } catch (...) {
    end();
    throw;
  }
}

ReadOnlyTransaction::~ReadOnlyTransaction() {
  end();
}

void ReadOnlyTransaction::end() noexcept {
  // Cleanup must not raise; a failed rollback leaves nothing worth reporting here.
  SQLEndTran(SQL_HANDLE_DBC, connection_.handle(), SQL_ROLLBACK);
  SQLSetConnectAttrW(connection_.handle(), SQL_ATTR_AUTOCOMMIT,
                     reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_AUTOCOMMIT_ON)),
                     SQL_IS_UINTEGER);
  if (sqlite_ && !sqliteWasQueryOnly_) {
    try {
      execute(connection_, u"PRAGMA query_only = 0");
    } catch (...) {
      // The connection stays read-only: safe, and nothing to tell the caller of a cleanup.
    }
  }
  setAccessMode(connection_, SQL_MODE_READ_WRITE);
}

}  // namespace vantorel::data
