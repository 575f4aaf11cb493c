#pragma once
// Where each output column of a custom view's query comes from. The custom-view loader
// analyses the query once, then asks per column for its source: the base table and column a
// plain column reference names, through the FROM clause's aliases. Expressions, subqueries,
// CTE and derived-table columns have no source.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "database/custom_sql_clauses.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

struct CustomSqlColumn {
  // The output name where the text decides it: the alias, else the referenced column; an
  // expression without alias is named by its text, as MySQL names it. Empty for a star.
  std::u16string name;
  bool alias = false;  // named by AS, by a trailing name, or by SQL Server's name = expr
  bool star = false;   // * or t.*
  // The source as written: table (with any schema), a dot, column, each in the quotes the text
  // used; the table is the FROM clause's, not its alias. Empty when the column has no source.
  std::u16string sourceName;
  std::u16string sourceSchema;  // unquoted; the part before the table when written
  std::u16string sourceTable;   // unquoted
  std::u16string sourceField;   // unquoted
  bool expression = false;      // neither a column reference nor a star
  // The column a column reference names, unquoted, whether or not its table was found.
  std::u16string referenced;
  // The name part written just before the column or star (a table or its alias), unquoted;
  // empty when none.
  std::u16string qualifier;
  std::size_t position = 0;  // offset of the item in the text, for messages about it
};

class CustomSqlAnalyzer {
 public:
  // Reads the SELECT list of `sql`, quoted and commented by the rules of `dbmsKind` (a kDbms
  // constant; any other value reads all three quote styles). False, with problem() saying why,
  // only when the text holds no SELECT list at all; a list that is read in part gives columns
  // without source for the rest.
  bool analyse(std::u16string_view sql, std::int16_t dbmsKind);

  // The column that gives the output column `columnName`: matched exactly, then ignoring case
  // (PostgreSQL and Oracle fold unquoted names), then without one pair of quotes around it. A
  // name the list does not hold is taken from the one star item when that names one base
  // table. Not found: a column with every text empty.
  CustomSqlColumn describeColumn(std::u16string_view columnName) const;

  // The items of the SELECT list in order, stars included.
  const std::vector<CustomSqlColumn>& columns() const { return columns_; }
  // The tables, subqueries and functions of the main FROM clause, in order.
  const std::vector<TableSource>& tables() const { return tables_; }
  const std::u16string& problem() const { return problem_; }

 private:
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  static constexpr std::size_t kAmbiguous = kNone - 1;

  void indexColumns();
  const CustomSqlColumn* find(std::u16string_view name) const;

  std::int16_t dbmsKind_ = 0;
  std::vector<CustomSqlColumn> columns_;
  std::vector<TableSource> tables_;
  std::u16string problem_;
  // Output names to their first column, so that the loader's per-field questions stay cheap.
  std::unordered_map<std::u16string, std::size_t> exactNames_;
  std::unordered_map<std::u16string, std::size_t, NoCaseHash, NoCaseEqual> foldedNames_;
  std::size_t star_ = kNone;  // the one star item; kAmbiguous when there are several
};

}  // namespace vantorel
