#include "platform/data/schema_rowsets.hpp"

#include <algorithm>

#include "platform/data/statement.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::data {

namespace {

// An argument of a catalogue call: a null pointer when the restriction is left out.
class Argument {
 public:
  explicit Argument(const std::optional<std::u16string>& value) : value_(value) {}
  SQLWCHAR* text() { return value_ ? sqlText(*value_) : nullptr; }
  SQLSMALLINT length() const { return value_ ? sqlLength(*value_) : 0; }

 private:
  std::optional<std::u16string> value_;
};

std::optional<std::u16string> catalogFor(const Connection& connection, const SchemaScope& scope) {
  if (scope.catalog || !connection.isMySqlKind()) return scope.catalog;
  const std::u16string& current = connection.properties().currentCatalog;
  if (current.empty()) return std::nullopt;
  return current;
}

// Pattern arguments take "_" and "%" as wildcards; a name is matched as written.
std::optional<std::u16string> literalPattern(const Connection& connection,
                                             const std::optional<std::u16string>& name) {
  if (!name) return name;
  const std::u16string escape = connection.infoText(SQL_SEARCH_PATTERN_ESCAPE);
  if (escape.empty()) return name;
  std::u16string escaped = replaceAll(*name, escape, escape + escape);
  escaped = replaceAll(escaped, u"_", escape + u"_");
  return replaceAll(escaped, u"%", escape + u"%");
}

// Calls visit with each row as it is fetched.
template <typename Visit>
void forEachRow(Statement& statement, Visit&& visit) {
  const auto count = static_cast<SQLUSMALLINT>(statement.columns().size());
  std::vector<Variant> row;
  while (statement.fetch()) {
    row.clear();
    row.reserve(count);
    // Some drivers hand out values only in column order, so every column is read.
    for (SQLUSMALLINT i = 1; i <= count; ++i) row.push_back(statement.value(i));
    visit(row);
  }
}

std::vector<std::vector<Variant>> readRows(Statement& statement) {
  std::vector<std::vector<Variant>> rows;
  forEachRow(statement, [&](std::vector<Variant>& row) { rows.push_back(std::move(row)); });
  return rows;
}

const Variant& at(const std::vector<Variant>& row, std::size_t column) {
  static const Variant kNull = Variant::null();
  return column >= 1 && column <= row.size() ? row[column - 1] : kNull;
}

std::u16string text(const std::vector<Variant>& row, std::size_t column) {
  return textOf(at(row, column));
}

std::optional<std::int32_t> optionalInteger(const std::vector<Variant>& row, std::size_t column) {
  const Variant& v = at(row, column);
  if (v.isNull() || v.isEmpty()) return std::nullopt;
  return integerOf(v);
}

std::u16string typeList(const std::vector<std::u16string>& types) {
  std::u16string list;
  for (const std::u16string& type : types) {
    if (!list.empty()) list += u',';
    list += u"'" + type + u"'";
  }
  return list;
}

}  // namespace

std::vector<TableRow> listTables(Connection& connection, const SchemaScope& scope,
                                 const std::vector<std::u16string>& types,
                                 const std::optional<std::u16string>& table) {
  Argument catalog(catalogFor(connection, scope));
  Argument schema(literalPattern(connection, scope.schema));
  Argument name(literalPattern(connection, table));
  Argument typeArg(types.empty() ? std::nullopt : std::optional<std::u16string>(typeList(types)));
  Statement statement(connection);
  statement.check(
      SQLTablesW(statement.handle(), catalog.text(), catalog.length(), schema.text(),
                 schema.length(), name.text(), name.length(), typeArg.text(), typeArg.length()),
      u"the tables cannot be listed");
  std::vector<TableRow> rows;
  for (const auto& row : readRows(statement)) {
    rows.push_back({text(row, 1), text(row, 2), text(row, 3), text(row, 4), text(row, 5)});
  }
  return rows;
}

void visitColumns(Connection& connection, const SchemaScope& scope,
                  const std::optional<std::u16string>& table,
                  const std::function<void(const ColumnRow&)>& visit,
                  const std::optional<std::u16string>& column) {
  Argument catalog(catalogFor(connection, scope));
  Argument schema(literalPattern(connection, scope.schema));
  Argument tableArg(literalPattern(connection, table));
  Argument columnArg(literalPattern(connection, column));
  Statement statement(connection);
  statement.check(SQLColumnsW(statement.handle(), catalog.text(), catalog.length(), schema.text(),
                              schema.length(), tableArg.text(), tableArg.length(), columnArg.text(),
                              columnArg.length()),
                  u"the columns cannot be listed");
  forEachRow(statement, [&](const std::vector<Variant>& row) {
    ColumnRow r;
    r.catalog = text(row, 1);
    r.schema = text(row, 2);
    r.table = text(row, 3);
    r.name = text(row, 4);
    r.dataType = static_cast<SQLSMALLINT>(integerOf(at(row, 5)));
    r.typeName = text(row, 6);
    r.columnSize = integerOf(at(row, 7));
    r.decimalDigits = optionalInteger(row, 9);
    r.nullable = static_cast<SQLSMALLINT>(integerOf(at(row, 11), SQL_NULLABLE_UNKNOWN));
    r.remarks = text(row, 12);
    r.defaultValue = at(row, 13);
    r.octetLength = optionalInteger(row, 16);
    r.ordinal = integerOf(at(row, 17));
    visit(r);
  });
}

std::vector<ColumnRow> listColumns(Connection& connection, const SchemaScope& scope,
                                   const std::optional<std::u16string>& table,
                                   const std::optional<std::u16string>& column) {
  std::vector<ColumnRow> rows;
  visitColumns(
      connection, scope, table, [&](const ColumnRow& row) { rows.push_back(row); }, column);
  return rows;
}

std::vector<PrimaryKeyRow> listPrimaryKeys(Connection& connection, const SchemaScope& scope,
                                           const std::u16string& table) {
  Argument catalog(catalogFor(connection, scope));
  Argument schema(scope.schema);
  std::u16string name = table;
  Statement statement(connection);
  statement.check(SQLPrimaryKeysW(statement.handle(), catalog.text(), catalog.length(),
                                  schema.text(), schema.length(), sqlText(name), sqlLength(name)),
                  u"the primary key cannot be read");
  std::vector<PrimaryKeyRow> rows;
  for (const auto& row : readRows(statement)) {
    rows.push_back({text(row, 1), text(row, 2), text(row, 3), text(row, 4), integerOf(at(row, 5)),
                    text(row, 6)});
  }
  std::stable_sort(rows.begin(), rows.end(), [](const PrimaryKeyRow& a, const PrimaryKeyRow& b) {
    return a.keySequence < b.keySequence;
  });
  return rows;
}

std::vector<IndexRow> listIndexes(Connection& connection, const SchemaScope& scope,
                                  const std::u16string& table) {
  Argument catalog(catalogFor(connection, scope));
  Argument schema(scope.schema);
  std::u16string name = table;
  Statement statement(connection);
  statement.check(
      SQLStatisticsW(statement.handle(), catalog.text(), catalog.length(), schema.text(),
                     schema.length(), sqlText(name), sqlLength(name), SQL_INDEX_ALL, SQL_QUICK),
      u"the indexes cannot be read");
  std::vector<IndexRow> rows;
  for (const auto& row : readRows(statement)) {
    if (integerOf(at(row, 7)) == SQL_TABLE_STAT || at(row, 6).isNull()) continue;
    IndexRow r;
    r.catalog = text(row, 1);
    r.schema = text(row, 2);
    r.table = text(row, 3);
    r.unique = integerOf(at(row, 4), 1) == SQL_FALSE;
    r.indexName = text(row, 6);
    r.position = integerOf(at(row, 8));
    r.column = text(row, 9);
    r.ascOrDesc = text(row, 10);
    rows.push_back(std::move(r));
  }
  return rows;
}

}  // namespace vantorel::data
