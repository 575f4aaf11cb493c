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

// Resolves the joins' aliases to base names in place and returns the output columns.
std::vector<AccessColumn> describeOutputs(ParsedQuery& query, const ColumnSource& columnsOf);

}  // namespace vantorel::data::access
