#pragma once
// Errors of the data layer: an AutomationError whose description holds the provider's lines,
// with the diagnostic records kept for callers that decide on SQLSTATEs.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/data/odbc_api.hpp"

namespace vantorel::data {

// The numbers ADO gives provider failures: any failure, and a refused login.
inline constexpr std::int32_t kProviderFailed = static_cast<std::int32_t>(0x80004005u);
inline constexpr std::int32_t kLoginRefused = static_cast<std::int32_t>(0x80040E4Du);

struct DiagRecord {
  std::u16string sqlState;
  std::int32_t nativeError = 0;
  std::u16string message;

  // "SQLSTATE 28000, native error 1045: <message>"
  std::u16string line() const;
  friend bool operator==(const DiagRecord&, const DiagRecord&) = default;
};

enum class FailureKind {
  Other,
  // The server refused the user or password: the caller reports a login failure rather than
  // the provider's text.
  LoginRefused,
  // The connection is gone (SQLSTATE class 08 after it was open, or the driver says it is
  // dead): nothing more can be read through it, so no later step may be taken as an answer.
  ConnectionLost,
};

FailureKind classifyFailure(const std::vector<DiagRecord>& records);

class DataError : public AutomationError {
 public:
  // The description is the records' lines joined by CR LF, or the fallback text when there are
  // no records. connectionDead: the driver reported the connection dead after the failure.
  DataError(std::vector<DiagRecord> records, std::u16string_view fallback,
            bool connectionDead = false);

  const std::vector<DiagRecord>& records() const noexcept { return records_; }
  FailureKind kind() const noexcept { return kind_; }
  bool loginRefused() const noexcept { return kind_ == FailureKind::LoginRefused; }
  bool connectionLost() const noexcept { return kind_ == FailureKind::ConnectionLost; }
  bool hasSqlState(std::u16string_view state) const noexcept;

 private:
  std::vector<DiagRecord> records_;
  FailureKind kind_;
};

// Every diagnostic record the handle holds, in the driver's order.
std::vector<DiagRecord> readDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

[[noreturn]] void raiseDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle,
                                   std::u16string_view fallback);

// The driver's word that the connection is gone; false when it cannot tell.
bool connectionDead(SQLHDBC dbc) noexcept;

// True when the error is a DataError of a lost connection.
bool isConnectionLost(const AutomationError& error) noexcept;
// True when the server refused the statement for want of a privilege (SQLSTATE 42501, MariaDB's
// native error 1142): the object may well exist.
bool isAccessDenied(const AutomationError& error) noexcept;

// Raises the handle's diagnostics unless the call succeeded (SQL_NO_DATA counts as success).
inline void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle,
                  std::u16string_view fallback) {
  if (!succeeded(rc) && rc != SQL_NO_DATA) raiseDiagnostics(handleType, handle, fallback);
}

}  // namespace vantorel::data
