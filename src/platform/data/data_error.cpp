#include "platform/data/data_error.hpp"

#include <algorithm>
#include <array>

#include "platform/text/strings.hpp"

namespace vantorel::data {

std::u16string DiagRecord::line() const {
  return u"SQLSTATE " + sqlState + u", native error " + toU16(nativeError) + u": " + message;
}

namespace {

constexpr std::int32_t kMySqlAccessDenied = 1045;
constexpr std::int32_t kMySqlTableAccessDenied = 1142;

bool refusesLogin(const DiagRecord& r) {
  // 28xxx: invalid authorisation; MariaDB's refusal is native error 1045; psqlODBC reports the
  // server's refusal, or a password it was not given, as a failed connection.
  if (startsWith(r.sqlState, u"28") || r.nativeError == kMySqlAccessDenied) return true;
  return r.sqlState == u"08001" && (containsNoCase(r.message, u"authentication") ||
                                    containsNoCase(r.message, u"fe_sendauth"));
}

}  // namespace

FailureKind classifyFailure(const std::vector<DiagRecord>& records) {
  if (std::any_of(records.begin(), records.end(), refusesLogin)) return FailureKind::LoginRefused;
  const bool lost = std::any_of(records.begin(), records.end(),
                                [](const DiagRecord& r) { return startsWith(r.sqlState, u"08"); });
  return lost ? FailureKind::ConnectionLost : FailureKind::Other;
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

DataError::DataError(std::vector<DiagRecord> records, std::u16string_view fallback,
                     bool connectionDead)
    : AutomationError(
          classifyFailure(records) == FailureKind::LoginRefused ? kLoginRefused : kProviderFailed,
          u"ODBC", describe(records, fallback)),
      records_(std::move(records)),
      kind_(classifyFailure(records_)) {
  if (connectionDead && kind_ == FailureKind::Other) kind_ = FailureKind::ConnectionLost;
}

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
    // The driver manager gives the byte count of a message it converted from UTF-8.
    if (const auto nul = message.find(u'\0'); nul != std::u16string::npos) message.resize(nul);
    records.push_back({fromSqlText(state.data(), 5), native, std::move(message)});
  }
  return records;
}

void raiseDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, std::u16string_view fallback) {
  throw DataError(readDiagnostics(handleType, handle), fallback);
}

bool connectionDead(SQLHDBC dbc) noexcept {
  SQLUINTEGER dead = SQL_CD_FALSE;
  const SQLRETURN rc = SQLGetConnectAttrW(dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
  return succeeded(rc) && dead == SQL_CD_TRUE;
}

bool isConnectionLost(const AutomationError& error) noexcept {
  const auto* dataError = dynamic_cast<const DataError*>(&error);
  return dataError && dataError->connectionLost();
}

bool isAccessDenied(const AutomationError& error) noexcept {
  const auto* dataError = dynamic_cast<const DataError*>(&error);
  if (!dataError) return false;
  const std::vector<DiagRecord>& records = dataError->records();
  return std::any_of(records.begin(), records.end(), [](const DiagRecord& r) {
    return r.sqlState == u"42501" || r.nativeError == kMySqlTableAccessDenied;
  });
}

}  // namespace vantorel::data
