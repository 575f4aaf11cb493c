#include "database/connection_details.hpp"

#include <utility>
#include <vector>

#include "foundation/project_context.hpp"
#include "platform/data/data_sources.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

struct KeyValue {
  std::u16string key;
  std::u16string value;
};

// The elements of an ODBC connection string; an element without "=" gives nothing. A value that
// opens with "{" runs to its closing "}" ("}}" standing for one), so a quoted ';' stays inside.
std::vector<KeyValue> connectionStringPairs(std::u16string_view text) {
  std::vector<KeyValue> pairs;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t stop = text.find_first_of(u";=", at);
    if (stop == std::u16string_view::npos || text[stop] == u';') {
      at = stop == std::u16string_view::npos ? text.size() : stop + 1;
      continue;
    }
    KeyValue pair{toLower(trimBlanks(text.substr(at, stop - at))), {}};
    std::size_t valueAt = stop + 1;
    while (valueAt < text.size() && isBlank(text[valueAt])) ++valueAt;
    if (valueAt < text.size() && text[valueAt] == u'{') {
      std::size_t i = valueAt + 1;
      for (; i < text.size(); ++i) {
        if (text[i] != u'}') {
          pair.value += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == u'}') {
          pair.value += u'}';
          ++i;
        } else {
          break;
        }
      }
      const std::size_t end = text.find(u';', i);
      at = end == std::u16string_view::npos ? text.size() : end + 1;
    } else {
      const std::size_t end = text.find(u';', valueAt);
      const std::size_t last = end == std::u16string_view::npos ? text.size() : end;
      pair.value = std::u16string(trimBlanks(text.substr(valueAt, last - valueAt)));
      at = last + 1;
    }
    if (!pair.key.empty()) pairs.push_back(std::move(pair));
  }
  return pairs;
}

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
  for (KeyValue& pair : connectionStringPairs(sConnStr)) {
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
