#pragma once
// The two clauses of a query that decide where its columns come from: the SELECT list and
// the FROM clause. Both readers work on the token list of one query and never fail; what they
// cannot read becomes an expression item or is left out of the tables.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "database/custom_sql_lexer.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

enum class SelectItemKind { kColumn, kStar, kExpression };

struct SelectItem {
  SelectItemKind kind = SelectItemKind::kExpression;
  // Token indices of a column reference's parts (the column last), or of a star's qualifier.
  std::vector<std::size_t> nameParts;
  std::u16string name;  // the output name when the text decides it
  bool alias = false;
  std::size_t position = 0;  // offset of its first token in the text
};

struct SelectList {
  std::vector<SelectItem> items;
  std::size_t end = 0;  // the token after the list: FROM, INTO, a later clause or the end
};

// `pos` is the token after SELECT.
SelectList readSelectList(const SqlTokens& tokens, std::size_t pos, std::u16string_view sql,
                          std::int16_t dbmsKind);

struct TableSource {
  std::u16string alias;               // unquoted; empty when none
  std::vector<std::u16string> parts;  // unquoted name parts, the table last; empty when derived
  std::u16string text;                // the name as written, parts joined by "."
  bool base = false;         // a table or view of the database, not a CTE, subquery or function
  std::size_t position = 0;  // offset of its first token in the text
};

// Names compared as the databases compare unquoted names, ignoring case.
using SqlNameSet = std::unordered_set<std::u16string, NoCaseHash, NoCaseEqual>;

// `pos` is the token after FROM. Names in `cteNames` are the query's own, not the database's.
std::vector<TableSource> readFromClause(const SqlTokens& tokens, std::size_t pos,
                                        std::u16string_view sql, const SqlNameSet& cteNames);

// The clause words that end a SELECT list or a FROM clause.
bool endsClause(const SqlToken& token) noexcept;
// The text of tokens [first, last] as written.
std::u16string_view tokenText(std::u16string_view sql, const SqlTokens& tokens, std::size_t first,
                              std::size_t last);

}  // namespace vantorel
