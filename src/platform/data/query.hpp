#pragma once
// Small queries the engine sends for itself (catalogue look-ups, SHOW FIELDS): values go in as
// bound parameters, names through Connection::quoteName, and the rows come back whole.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.hpp"
#include "platform/data/connection.hpp"

namespace vantorel::data {

struct QueryResult {
  std::vector<std::u16string> columns;
  std::vector<std::vector<Variant>> rows;

  // The column's position, its name compared ignoring case; npos when there is none.
  std::size_t columnIndex(std::u16string_view name) const noexcept;
  // The row's value of the named column; Empty when the result has no such column.
  const Variant& value(std::size_t row, std::u16string_view column) const;
};

QueryResult runQuery(Connection& connection, std::u16string_view sql,
                     const std::vector<Variant>& parameters = {});

// Runs a statement that returns no rows worth reading (DDL, INSERT, SET).
void execute(Connection& connection, std::u16string_view sql,
             const std::vector<Variant>& parameters = {});

}  // namespace vantorel::data
