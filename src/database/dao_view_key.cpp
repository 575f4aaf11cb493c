#include "database/dao_view_key.hpp"

#include <algorithm>
#include <string_view>

#include "database/connection_details.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace access = data::access;

namespace {

// Grouping, DISTINCT and TOP make Jet refuse updates through a query; DISTINCTROW does not.
bool readOnlySql(std::u16string_view sql) {
  return startsWithNoCase(sql, u"SELECT DISTINCT ") || startsWithNoCase(sql, u"SELECT TOP ") ||
         containsNoCase(sql, u"GROUP BY") || containsNoCase(sql, u"UNION");
}

std::u16string tableKey(AGPTable& table) {
  return toString(table.properties().setting(kTblKey));
}

// Sets the view's key when a field of the view bears exactly that name; true when one did.
bool keepExposedKey(AGPTable& view, const std::u16string& key) {
  AGPFields& fields = view.fields();
  for (std::size_t i = 0; i < static_cast<std::size_t>(fields.count()); ++i) {
    if (fields.at(i).FldName() != key) continue;
    view.properties().setting(kTblKey) = Variant(toString(SortLines(Variant(key))));
    return true;
  }
  return false;
}

std::u16string chosenJoinKey(const ViewSqlShape& shape, const std::u16string& keyL,
                             const std::u16string& keyR) {
  const bool leftIsKey = QuoteBracketName(shape.LeftTable, keyL) ==
                         QuoteBracketName(shape.LeftTable, shape.LeftColumn);
  const bool rightIsKey = QuoteBracketName(shape.RightTable, keyR) ==
                          QuoteBracketName(shape.RightTable, shape.RightColumn);
  if (leftIsKey && rightIsKey) return keyL;
  if (shape.LeftColumn == keyL) return keyR;
  if (shape.RightColumn == keyR) return keyL;
  return {};
}

}  // namespace

ViewSqlShape describeViewSql(const access::AccessQuery& query) {
  ViewSqlShape shape;
  if (query.tables.empty()) return shape;
  shape.Updatable = !readOnlySql(query.sql);
  // Tables listed without a join condition are a cross join: each extra one counts as a join.
  shape.JoinCount =
      static_cast<std::int32_t>(std::max(query.joins.size(), query.tables.size() - 1));
  shape.TableName = query.tables.front().name;
  if (!query.joins.empty()) {
    const access::QueryJoin& join = query.joins.front();
    shape.LeftTable = join.leftTable;
    shape.LeftColumn = join.leftColumn;
    shape.RightTable = join.rightTable;
    shape.RightColumn = join.rightColumn;
    shape.JoinType = access::joinTypeName(join.type);
  }
  return shape;
}

void SetupViewKey(AGPDatabase& database, AGPTable& view, const access::AccessQuery& query) {
  const ViewSqlShape shape = describeViewSql(query);
  view.properties().setting(kTblUpdatable) = Variant(shape.Updatable);
  if (!shape.Updatable) return;
  AGPTables& tables = database.tables();
  const auto count = static_cast<std::size_t>(tables.count());
  if (shape.JoinCount == 0) {
    bool found = false;
    for (std::size_t i = 0; i < count && !found; ++i) {
      found = tables.at(i).tblName() == shape.TableName;
    }
    if (found) keepExposedKey(view, tableKey(view));
    return;
  }
  if (shape.JoinCount != 1) return;
  std::u16string keyL, keyR;
  for (std::size_t i = 0; i < count; ++i) {
    AGPTable& table = tables.at(i);
    if (table.tblName() == shape.LeftTable) keyL = tableKey(table);
    if (table.tblName() == shape.RightTable) keyR = tableKey(table);
  }
  if (keyL.empty() || keyR.empty() || shape.JoinType != u"INNER") return;
  const std::u16string key = chosenJoinKey(shape, keyL, keyR);
  if (!key.empty() && keepExposedKey(view, key)) {
    view.properties().setting(kTblView) = Variant(true);
  }
}

}  // namespace vantorel
