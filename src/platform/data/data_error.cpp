#include "platform/data/data_error.hpp"

#include <algorithm>
#include <array>

#include "platform/text/strings.hpp"

namespace vantorel::data {

std::u16string DiagRecord::line() const {
  return u"SQLSTATE " + sqlState + u", native error " + toU16(nativeError) + u": " + message;
}

FailureKind classifyFailure(const std::vector<DiagRecord>& records) {
  for (const DiagRecord& r : records) {
    // 28xxx: invalid authorisation; psqlODBC reports the server's refusal as a failed connection.
    if (startsWith(r.sqlState, u"28") || r.sqlState == u"IM002") return FailureKind::LoginRefused;
    if (r.sqlState == u"08001" && containsNoCase(r.message, u"authentication failed")) {
      return FailureKind::LoginRefused;
    }
  }
  return FailureKind::Other;
}

namespace {

std::u16string describe(const std::vector<DiagRecord>& records, std::u16string_view fallback) {
  if (records.empty()) return std::u16string(fallback);
  std::u16string text;
  for (const DiagRecord& r : records) {
    if (!text.empty()) text += u"\r\n";
    text += r.line();
  }
  return text;
}

}  // namespace

DataError::DataError(std::vector<DiagRecord> records, std::u16string_view fallback)
    : AutomationError(
          classifyFailure(records) == FailureKind::LoginRefused ? kLoginRefused : kProviderFailed,
          u"ODBC", describe(records, fallback)),
      records_(std::move(records)),
      kind_(classifyFailure(records_)) {}

bool DataError::hasSqlState(std::u16string_view state) const noexcept {
  return std::any_of(records_.begin(), records_.end(),
                     [state](const DiagRecord& r) { return r.sqlState == state; });
}

std::vector<DiagRecord> readDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
  std::vector<DiagRecord> records;
  if (handle == SQL_NULL_HANDLE) return records;
  for (SQLSMALLINT i = 1;; ++i) {
    std::array<SQLWCHAR, 6> state{};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::u16string message(512, u'\0');
    SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state.data(), &native, sqlText(message),
                                  static_cast<SQLSMALLINT>(message.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
      message.assign(static_cast<std::size_t>(length) + 1, u'\0');
      rc = SQLGetDiagRecW(handleType, handle, i, state.data(), &native, sqlText(message),
                          static_cast<SQLSMALLINT>(message.size()), &length);
    }
    if (!succeeded(rc)) break;
    message.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)),
                                         message.size() - 1));
    records.push_back({fromSqlText(state.data(), 5), native, std::move(message)});
  }
  return records;
}

void raiseDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, std::u16string_view fallback) {
  throw DataError(readDiagnostics(handleType, handle), fallback);
}

}  // namespace vantorel::data
