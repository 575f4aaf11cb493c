#pragma once
// The key and updatability of an Access view, from what its stored query reads: a view over one
// table keeps a one-column key it exposes; a view over one inner join takes the key of the
// table on the many side when the view exposes it under its own name.
#include <cstdint>
#include <string>

#include "model/database.hpp"
#include "platform/data/access_schema.hpp"

namespace vantorel {

// What the loader asks of a view's SQL, answered from the reader's analysis of the query.
struct ViewSqlShape {
  bool Updatable = false;
  std::int32_t JoinCount = 0;
  std::u16string TableName;
  std::u16string LeftTable, LeftColumn, RightTable, RightColumn;
  std::u16string JoinType;
};

ViewSqlShape describeViewSql(const data::access::AccessQuery& query);

void SetupViewKey(AGPDatabase& database, AGPTable& view, const data::access::AccessQuery& query);

}  // namespace vantorel
