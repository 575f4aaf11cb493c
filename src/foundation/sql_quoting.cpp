#include "foundation/sql_quoting.hpp"

#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

std::int16_t GetDbmsType(std::u16string_view dbmsName) {
  if (dbmsName == u"ACCESS" || dbmsName == u"MS Jet") return kDbmsAccess;
  if (containsNoCase(dbmsName, u"Microsoft") && containsNoCase(dbmsName, u"SQL")) {
    return kDbmsSqlServer;
  }
  // MariaDB's driver names its server as it is; it speaks MySQL.
  if (containsNoCase(dbmsName, u"MySQL") || containsNoCase(dbmsName, u"MariaDB")) return kDbmsMySql;
  if (containsNoCase(dbmsName, u"ORA")) return kDbmsOracle;
  if (containsNoCase(dbmsName, u"PostgreSql")) return kDbmsPostgreSql;
  return kDbmsOther;
}

SqlQuote SetSqlQuote(std::u16string_view setting, std::u16string_view dbmsName) {
  const auto use = [](std::u16string_view open, std::u16string_view close) {
    return SqlQuote{std::u16string(open), std::u16string(close)};
  };
  if (setting == u"Square Bracket") return use(u"[", u"]");
  if (setting == u"Double Quote") return use(u"\"", u"\"");
  if (setting == u"Single Quote") return use(u"'", u"'");
  if (setting == u"Backquote") return use(u"`", u"`");
  if (setting == u"None") return use(u"", u"");
  switch (GetDbmsType(dbmsName)) {
    case kDbmsAccess:
    case kDbmsSqlServer:
      return use(u"[", u"]");
    case kDbmsMySql:
      return use(u"`", u"`");
    case kDbmsPostgreSql:
      return use(u"\"", u"\"");
    default:
      return use(u"", u"");
  }
}

std::u16string QuoteSqlName(const SqlQuote& quote, const Variant& name) {
  const std::u16string text = toString(name);
  if (quote.close.empty()) return quote.open + text;
  return quote.open + replaceAll(text, quote.close, quote.close + quote.close) + quote.close;
}

std::u16string QuoteSqlNameRaw(const SqlQuote& quote, const Variant& name) {
  return quote.open + toString(name) + quote.close;
}

Variant GetQuoteChars(std::u16string_view setting, std::u16string_view dbmsName,
                      std::u16string_view connectionKind) {
  if (dbmsName.empty()) dbmsName = u"MYSQL";
  if (connectionKind.empty()) connectionKind = u"DIRECT";
  if (connectionKind == u"JDBC") return Variant(std::u16string(u"NA"));
  std::u16string quote = u"*";
  const std::u16string chosen = toLower(setting);
  if (chosen == u"backquote") {
    quote = u"`";
  } else if (chosen == u"double quote") {
    quote = u"\"";
  } else if (chosen == u"none") {
    quote.clear();
  }
  if (containsNoCase(dbmsName, u"MySQL")) {
    if (quote == u"*") quote = u"`";
  } else if (containsNoCase(dbmsName, u"PostgreSql")) {
    if (quote == u"*" || quote == u"`") quote = u"\"";
  } else if (quote == u"*") {
    quote.clear();
  }
  return Variant(quote);
}

}  // namespace vantorel
