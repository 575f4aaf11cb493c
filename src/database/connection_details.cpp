#include "database/connection_details.hpp"

#include <utility>
#include <vector>

#include "foundation/project_context.hpp"
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

void GetPgDsnInfo(std::u16string_view dsn) {
  const data::DataSourceInfo info = data::readDataSource(dsn);
  ProjectContext& context = projectContext();
  context.pgServer = Variant(info.servername);
  context.pgDatabase = Variant(info.database);
  context.pgUser = Variant(info.uid.empty() ? data::dataSourceValue(dsn, u"Username") : info.uid);
  context.pgPassword = Variant(info.password);
  context.pgPort = Variant(info.port);
}

void ParsePgConnStr(std::u16string_view sConnStr) {
  if (trimBlanks(sConnStr).empty()) return;
  ProjectContext& context = projectContext();
  for (data::ConnectionPair& pair : data::connectionStringPairs(sConnStr)) {
    Variant* detail = nullptr;
    if (pair.key == u"server") detail = &context.pgServer;
    if (pair.key == u"port") detail = &context.pgPort;
    if (pair.key == u"database") detail = &context.pgDatabase;
    if (pair.key == u"uid") detail = &context.pgUser;
    if (pair.key == u"pwd") detail = &context.pgPassword;
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
