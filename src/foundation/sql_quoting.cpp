#include "foundation/sql_quoting.hpp"

#include "foundation/project_context.hpp"
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

void SetSqlQuote(std::u16string_view dbmsName) {
  const auto use = [](std::u16string_view open, std::u16string_view close) {
    projectContext().sqlQuoteOpen = open;
    projectContext().sqlQuoteClose = close;
  };
  const std::u16string& setting = projectContext().sqlQuoteSetting;
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

std::u16string QuoteSqlName(const Variant& name) {
  const std::u16string text = toString(name);
  if (projectContext().sqlQuoteClose.empty()) return projectContext().sqlQuoteOpen + text;
  return projectContext().sqlQuoteOpen +
         replaceAll(text, projectContext().sqlQuoteClose,
                    projectContext().sqlQuoteClose + projectContext().sqlQuoteClose) +
         projectContext().sqlQuoteClose;
}

std::u16string QuoteSqlNameRaw(const Variant& name) {
  return projectContext().sqlQuoteOpen + toString(name) + projectContext().sqlQuoteClose;
}

Variant GetQuoteChars(std::u16string_view dbmsName, std::u16string_view connectionKind) {
  if (dbmsName.empty()) dbmsName = u"MYSQL";
  if (connectionKind.empty()) connectionKind = u"DIRECT";
  if (connectionKind == u"JDBC") return Variant(std::u16string(u"NA"));
  std::u16string quote = u"*";
  const std::u16string setting = toLower(projectContext().sqlQuoteSetting);
  if (setting == u"backquote") {
    quote = u"`";
  } else if (setting == u"double quote") {
    quote = u"\"";
  } else if (setting == u"none") {
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
