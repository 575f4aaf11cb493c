#pragma once
// A stored query's output columns as DAO's QueryDef.Fields describe them: a column taken from
// a table (or another query) carries that column's definition under the output name, an
// expression gets the type its aggregate gives, or none.
#include <functional>
#include <string>
#include <vector>

#include "platform/data/access_query_sql.hpp"

namespace vantorel::data::access {

// The columns of a table or query by its name; nullptr when there is none.
using ColumnSource = std::function<const std::vector<AccessColumn>*(const std::u16string&)>;

// An output column with the table name or alias it was reached through; empty for a column
// renamed by AS or computed.
struct ReachedColumn {
  std::u16string through;
  AccessColumn column;
};

// The columns as DAO names them: a name that several outputs bear is qualified by the table or
// alias each was reached through, when it has one. Ordinal positions follow the order.
std::vector<AccessColumn> namedOutputs(std::vector<ReachedColumn> outputs);

// Resolves the joins' aliases to base names in place and returns the output columns.
std::vector<AccessColumn> describeOutputs(ParsedQuery& query, const ColumnSource& columnsOf);

}  // namespace vantorel::data::access
