#include "database/connection_details.hpp"

#include <utility>
#include <vector>

#include "platform/data/connection_string.hpp"
#include "platform/data/data_sources.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

std::u16string stripOneBracketPair(std::u16string_view s) {
  s = trimBlanks(s);
  if (startsWith(s, u"[")) s.remove_prefix(1);
  if (endsWith(s, u"]")) s.remove_suffix(1);
  return std::u16string(s);
}

}  // namespace

PgConnectionDetails GetPgDsnInfo(std::u16string_view dsn) {
  const data::DataSourceInfo info = data::readDataSource(dsn);
  return {Variant(info.servername), Variant(info.database),
          Variant(info.uid.empty() ? data::dataSourceValue(dsn, u"Username") : info.uid),
          Variant(info.password), Variant(info.port)};
}

void ParsePgConnStr(std::u16string_view sConnStr, PgConnectionDetails& details) {
  if (trimBlanks(sConnStr).empty()) return;
  for (data::ConnectionPair& pair : data::connectionStringPairs(sConnStr)) {
    Variant* detail = nullptr;
    if (pair.key == u"server") detail = &details.server;
    if (pair.key == u"port") detail = &details.port;
    if (pair.key == u"database") detail = &details.database;
    if (pair.key == u"uid") detail = &details.user;
    if (pair.key == u"pwd") detail = &details.password;
    if (detail) *detail = Variant(std::move(pair.value));
  }
}

SqlServerDsnInfo GetSqlServerDsnInfo(std::u16string_view dsn) {
  const data::DataSourceInfo info = data::readDataSource(dsn);
  return {Variant(info.database), info.server, info.trustedConnection == u"Yes"};
}

std::u16string QuoteBracketName(std::u16string_view schema, std::u16string_view name) {
  std::u16string part(name);
  if (part.find(u'.') != std::u16string::npos) part = split(name, u".")[1];
  return u"[" + stripOneBracketPair(schema) + u"].[" + stripOneBracketPair(part) + u"]";
}

}  // namespace vantorel
