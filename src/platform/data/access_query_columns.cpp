#include "platform/data/access_query_columns.hpp"

#include <map>

#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::data::access {

namespace {

struct Scope {
  const ParsedQuery& query;
  const ColumnSource& columnsOf;

  // The base name behind a table name or alias as the query writes it.
  std::u16string base(const std::u16string& key) const {
    if (key.empty()) return {};
    for (const QueryTable& t : query.tables) {
      if (equalsNoCase(t.alias, key)) return t.name;
    }
    for (const QueryTable& t : query.tables) {
      if (equalsNoCase(t.name, key)) return t.name;
    }
    return key;
  }

  const AccessColumn* column(const std::u16string& table, const std::u16string& name) const {
    const std::vector<AccessColumn>* columns = columnsOf(table);
    if (!columns) return nullptr;
    for (const AccessColumn& c : *columns) {
      if (equalsNoCase(c.name, name)) return &c;
    }
    return nullptr;
  }

  // An unqualified column belongs to the one table that has it.
  std::u16string owner(const std::u16string& name) const {
    for (const QueryTable& t : query.tables) {
      if (column(t.name, name)) return t.alias.empty() ? t.name : t.alias;
    }
    return {};
  }
};

// What an aggregate over the argument gives, as DAO types it.
AccessColumn expressionColumn(const Scope& scope, const std::u16string& expression) {
  AccessColumn c;
  c.attributes = kDaoVariableField;
  const std::size_t open = expression.find(u'(');
  if (open == std::u16string::npos || expression.back() != u')') return c;
  const std::u16string function =
      toUpper(trimBlanks(std::u16string_view(expression).substr(0, open)));
  if (function == u"COUNT") {
    c.daoType = kDaoLong;
    c.size = 4;
  } else if (function == u"AVG" || function == u"STDEV" || function == u"STDEVP" ||
             function == u"VAR" || function == u"VARP") {
    c.daoType = kDaoDouble;
    c.size = 8;
  } else if (function == u"SUM" || function == u"MIN" || function == u"MAX" ||
             function == u"FIRST" || function == u"LAST") {
    const auto path = identifierPath(
        std::u16string_view(expression).substr(open + 1, expression.size() - open - 2));
    if (path && path->back() != u"*") {
      const std::u16string table = path->size() == 2 ? (*path)[0] : scope.owner(path->back());
      if (const AccessColumn* source = scope.column(scope.base(table), path->back())) {
        c.jetType = source->jetType;
        c.daoType = source->daoType;
        c.size = source->size;
      }
    }
  }
  return c;
}

void addTableColumns(const Scope& scope, const std::u16string& key,
                     std::vector<ReachedColumn>& out) {
  const std::u16string table = scope.base(key);
  const std::vector<AccessColumn>* columns = scope.columnsOf(table);
  if (!columns) return;
  for (AccessColumn c : *columns) {
    c.sourceTable = table;
    c.sourceField = c.name;
    out.push_back({key, std::move(c)});
  }
}

}  // namespace

std::vector<AccessColumn> namedOutputs(std::vector<ReachedColumn> outputs) {
  std::map<std::u16string, int> uses;
  for (const ReachedColumn& o : outputs) ++uses[toUpper(o.column.name)];
  std::vector<AccessColumn> columns;
  columns.reserve(outputs.size());
  for (ReachedColumn& o : outputs) {
    AccessColumn& c = o.column;
    if (uses[toUpper(c.name)] > 1 && !o.through.empty()) c.name = o.through + u"." + c.name;
    c.ordinalPosition = static_cast<std::int32_t>(columns.size());
    columns.push_back(std::move(c));
  }
  return columns;
}

std::vector<AccessColumn> describeOutputs(ParsedQuery& query, const ColumnSource& columnsOf) {
  const Scope scope{query, columnsOf};
  // Each output with the table name or alias it was reached through, for DAO's renaming of
  // duplicates.
  std::vector<ReachedColumn> out;
  if (query.selectStar) {
    for (const QueryTable& t : query.tables) {
      addTableColumns(scope, t.alias.empty() ? t.name : t.alias, out);
    }
  }
  int unnamed = 0;
  for (const QueryOutput& o : query.outputs) {
    const auto path = identifierPath(o.expression);
    if (path && path->back() == u"*") {
      if (path->size() == 2) addTableColumns(scope, (*path)[0], out);
      continue;
    }
    AccessColumn c;
    std::u16string key;
    if (path && path->size() == 1 && scope.owner(path->back()).empty()) {
      c = expressionColumn(scope, o.expression);
      c.name = path->back();
    } else if (path) {
      key = path->size() == 2 ? (*path)[0] : scope.owner(path->back());
      const std::u16string table = scope.base(key);
      if (const AccessColumn* source = scope.column(table, path->back())) c = *source;
      c.name = path->back();
      c.sourceTable = table;
      c.sourceField = path->back();
    } else {
      c = expressionColumn(scope, o.expression);
      // DAO names an unnamed expression Expr1000, Expr1001, ...
      c.name = u"Expr" + toU16(1000 + unnamed++);
    }
    if (!o.alias.empty()) c.name = o.alias;
    out.push_back({o.alias.empty() ? key : std::u16string(), std::move(c)});
  }
  std::vector<AccessColumn> columns = namedOutputs(std::move(out));
  for (QueryJoin& j : query.joins) {
    j.leftTable = scope.base(j.leftTable);
    j.rightTable = scope.base(j.rightTable);
  }
  return columns;
}

}  // namespace vantorel::data::access
