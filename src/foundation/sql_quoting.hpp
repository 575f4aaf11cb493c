#pragma once
// The DBMS kind of a connection and the identifier quote characters of the SQL the engine
// writes.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"

namespace vantorel {

constexpr std::int16_t kDbmsAccess = 1;
constexpr std::int16_t kDbmsSqlServer = 2;
constexpr std::int16_t kDbmsMySql = 3;
constexpr std::int16_t kDbmsOracle = 4;
constexpr std::int16_t kDbmsPostgreSql = 5;
constexpr std::int16_t kDbmsOther = 99;

// The DBMS kind of a "DBMS Name" connection property.
std::int16_t GetDbmsType(std::u16string_view dbmsName);
// The identifier quote characters of the SQL written for one database; both empty quote nothing.
struct SqlQuote {
  std::u16string open, close;
  friend bool operator==(const SqlQuote&, const SqlQuote&) = default;
};

// The quote characters of the project's SQLQuote setting, or by the DBMS kind when the setting
// is none of "Square Bracket", "Double Quote", "Single Quote", "Backquote" and "None".
SqlQuote SetSqlQuote(std::u16string_view setting, std::u16string_view dbmsName);
// The name between the quote characters, every closing quote in it doubled.
std::u16string QuoteSqlName(const SqlQuote& quote, const Variant& name);
// The name between the quote characters, unescaped.
std::u16string QuoteSqlNameRaw(const SqlQuote& quote, const Variant& name);
// The quote character for the PostgreSQL metadata component under the project's SQLQuote
// setting: "NA" for JDBC connections, else a backquote, a double quote or empty.
Variant GetQuoteChars(std::u16string_view setting, std::u16string_view dbmsName,
                      std::u16string_view connectionKind);

}  // namespace vantorel
