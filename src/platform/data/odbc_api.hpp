#pragma once
// The unixODBC headers and the conversions between the engine's UTF-16 strings and SQLWCHAR.
// unixODBC's SQLWCHAR is a 16-bit unsigned short (unless SQL_WCHART_CONVERT is defined), so
// UTF-16 text passes through without conversion.
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

namespace vantorel::data {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC must use 16-bit SQLWCHAR");

// A UTF-16 text as an ODBC input string; the text must outlive the call.
inline SQLWCHAR* sqlText(std::u16string_view text) noexcept {
  // ODBC declares input strings non-const; no driver writes through them.
  return const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(text.data()));
}

inline SQLSMALLINT sqlLength(std::u16string_view text) noexcept {
  return static_cast<SQLSMALLINT>(text.size());
}

inline std::u16string fromSqlText(const SQLWCHAR* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline bool succeeded(SQLRETURN rc) noexcept {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

}  // namespace vantorel::data
