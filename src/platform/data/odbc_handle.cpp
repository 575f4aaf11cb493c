#include "platform/data/odbc_handle.hpp"

#include "platform/data/data_error.hpp"

namespace vantorel::data {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
  const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
  if (!succeeded(rc)) {
    handle_ = SQL_NULL_HANDLE;
    if (parent != SQL_NULL_HANDLE) {
      const SQLSMALLINT parentType = type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC;
      raiseDiagnostics(parentType, parent, u"cannot allocate an ODBC handle");
    }
    throw DataError({}, u"cannot allocate an ODBC environment");
  }
}

void OdbcHandle::reset() noexcept {
  if (handle_ == SQL_NULL_HANDLE) return;
  if (type_ == SQL_HANDLE_STMT) SQLFreeStmt(handle_, SQL_CLOSE);
  SQLFreeHandle(type_, handle_);
  handle_ = SQL_NULL_HANDLE;
}

}  // namespace vantorel::data
