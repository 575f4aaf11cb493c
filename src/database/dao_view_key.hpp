#pragma once
// The key and updatability of an Access view, from what its stored query reads: a view over one
// table keeps a one-column key it exposes; a view over one inner join takes the key of the
// table on the many side when the view exposes it under its own name.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

struct ViewKeyAnswer {
  bool updatable = false;
  std::optional<std::u16string> key;  // the view's new TblKey; nothing leaves it as it is
  bool joinKey = false;               // the key is a joined table's (the model's TblView)
};

// The TblKey of the loaded table whose name is exactly the one given; nothing when none is.
using TableKeyLookup = std::function<std::optional<std::u16string>(std::u16string_view)>;

// The view's key and updatability, from the shape of its query, the keys of the tables loaded,
// the view's own key and its field names.
ViewKeyAnswer viewKeyOf(const ViewSqlShape& shape, const TableKeyLookup& tableKey,
                        const std::u16string& ownKey, const std::vector<std::u16string>& fieldNames);

void SetupViewKey(AGPDatabase& database, AGPTable& view, const data::access::AccessQuery& query);

}  // namespace vantorel
