#include "platform/data/query.hpp"

#include "platform/data/statement.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel::data {

namespace {

void run(Statement& statement, std::u16string_view sql, const std::vector<Variant>& parameters) {
  if (parameters.empty()) {
    statement.execDirect(sql);
    return;
  }
  statement.prepare(sql);
  statement.bindParameters(parameters);
  statement.execute();
}

}  // namespace

std::size_t QueryResult::columnIndex(std::u16string_view name) const noexcept {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (equalsNoCase(columns[i], name)) return i;
  }
  return static_cast<std::size_t>(-1);
}

const Variant& QueryResult::value(std::size_t row, std::u16string_view column) const {
  static const Variant kEmpty;
  const std::size_t index = columnIndex(column);
  if (row >= rows.size() || index >= rows[row].size()) return kEmpty;
  return rows[row][index];
}

QueryResult runQuery(Connection& connection, std::u16string_view sql,
                     const std::vector<Variant>& parameters) {
  Statement statement(connection);
  run(statement, sql, parameters);
  QueryResult result;
  for (const ColumnInfo& column : statement.columns()) result.columns.push_back(column.name);
  const auto count = static_cast<SQLUSMALLINT>(result.columns.size());
  if (count == 0) return result;
  while (statement.fetch()) {
    std::vector<Variant> row;
    row.reserve(count);
    for (SQLUSMALLINT i = 1; i <= count; ++i) row.push_back(statement.value(i));
    result.rows.push_back(std::move(row));
  }
  return result;
}

void execute(Connection& connection, std::u16string_view sql,
             const std::vector<Variant>& parameters) {
  Statement statement(connection);
  run(statement, sql, parameters);
}

}  // namespace vantorel::data
