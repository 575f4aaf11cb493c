#include "database/catalogue_selection.hpp"

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "database/load_steps.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/query.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

bool matches(const data::TableRow& row, const CatalogueFilter& filter) {
  if (row.type != u"TABLE" && row.type != u"VIEW") return false;
  if (filter.kind == kDbmsOracle && row.schema != filter.schemaFilter) return false;
  return !(filter.skipSqliteInternal && startsWithNoCase(row.name, u"sqlite_"));
}

std::u16string qualified(const data::TableRow& row) {
  return row.schema.empty() ? row.name : row.schema + u"." + row.name;
}

}  // namespace

std::vector<CatalogueEntry> selectCatalogueRows(std::vector<data::TableRow> rows,
                                                const CatalogueFilter& filter) {
  // ODBC orders the catalogue so, but MariaDB's driver answers in no stable order, and which of
  // two clashing names is read must not change from one load to the next.
  std::stable_sort(rows.begin(), rows.end(), [](const data::TableRow& a, const data::TableRow& b) {
    return std::tie(a.type, a.catalog, a.schema, a.name) <
           std::tie(b.type, b.catalog, b.schema, b.name);
  });
  std::vector<CatalogueEntry> entries;
  std::unordered_map<std::u16string, std::size_t, NoCaseHash, NoCaseEqual> byName;
  const auto inCurrentSchema = [&](const data::TableRow& row) {
    return !filter.currentSchema.empty() && row.schema == filter.currentSchema;
  };
  for (const data::TableRow& row : rows) {
    if (!matches(row, filter)) continue;
    const auto [found, added] = byName.try_emplace(row.name, entries.size());
    if (added) {
      entries.push_back({row, {}});
      continue;
    }
    CatalogueEntry& entry = entries[found->second];
    const bool replaces = inCurrentSchema(row) && !inCurrentSchema(entry.row);
    const data::TableRow& kept = replaces ? row : entry.row;
    const data::TableRow& left = replaces ? entry.row : row;
    entry.notes.push_back(projectContext().productTitle + u": " + left.type + u" " +
                          qualified(left) + u" not loaded: its name is taken by " + kept.type +
                          u" " + qualified(kept) + u"!");
    if (replaces) entry.row = row;
  }
  return entries;
}

CatalogueFilter catalogueFilterFor(data::Connection& cnn, std::u16string_view dbmsName,
                                   std::u16string schemaFilter) {
  CatalogueFilter filter;
  filter.kind = GetDbmsType(dbmsName);
  filter.schemaFilter = std::move(schemaFilter);
  filter.skipSqliteInternal = dbmsName == u"SQLite";
  if (filter.kind == kDbmsPostgreSql) {
    attemptStep([&] {
      const data::QueryResult r = data::runQuery(cnn, u"SELECT current_schema()");
      if (!r.rows.empty() && !r.rows.front().empty()) {
        filter.currentSchema = toString(r.rows.front().front());
      }
    });
  }
  return filter;
}

std::u16string recordedDbmsName(const std::u16string& providerName) {
  return containsNoCase(providerName, u"Interbase") ? std::u16string(u"Interbase Server")
                                                    : providerName;
}

std::u16string ChooseOracleSchema(const std::vector<data::TableRow>& rows,
                                  const std::u16string& schemaFilter, const std::u16string& uid,
                                  const SchemaChooser& choose) {
  const std::u16string wanted = schemaFilter.empty() ? toUpper(uid) : schemaFilter;
  if (rows.empty()) return schemaFilter;
  std::vector<std::u16string> schemaList{u""};
  bool found = false;
  for (const data::TableRow& row : rows) {
    if (row.type != u"TABLE") continue;
    std::u16string name = toUpper(row.schema);
    if (name == wanted) found = true;
    if (std::find(schemaList.begin(), schemaList.end(), name) == schemaList.end()) {
      schemaList.push_back(std::move(name));
    }
  }
  if (found) return wanted;
  return choose ? choose(schemaList) : std::u16string();
}

}  // namespace vantorel
