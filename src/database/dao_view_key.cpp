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

// The key, sorted, when a field of the view bears exactly that name.
std::optional<std::u16string> exposedKey(const std::vector<std::u16string>& fieldNames,
                                         const std::u16string& key) {
  if (std::find(fieldNames.begin(), fieldNames.end(), key) == fieldNames.end()) {
    return std::nullopt;
  }
  return toString(SortLines(Variant(key)));
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

ViewKeyAnswer viewKeyOf(const ViewSqlShape& shape, const TableKeyLookup& tableKey,
                        const std::u16string& ownKey, const std::vector<std::u16string>& fieldNames) {
  ViewKeyAnswer answer;
  answer.updatable = shape.Updatable;
  if (!shape.Updatable) return answer;
  if (shape.JoinCount == 0) {
    if (tableKey(shape.TableName)) answer.key = exposedKey(fieldNames, ownKey);
    return answer;
  }
  if (shape.JoinCount != 1) return answer;
  const std::u16string keyL = tableKey(shape.LeftTable).value_or(u"");
  const std::u16string keyR = tableKey(shape.RightTable).value_or(u"");
  if (keyL.empty() || keyR.empty() || shape.JoinType != u"INNER") return answer;
  const std::u16string key = chosenJoinKey(shape, keyL, keyR);
  if (key.empty()) return answer;
  answer.key = exposedKey(fieldNames, key);
  answer.joinKey = answer.key.has_value();
  return answer;
}

void SetupViewKey(AGPDatabase& database, AGPTable& view, const access::AccessQuery& query) {
  AGPTables& tables = database.tables();
  const auto count = static_cast<std::size_t>(tables.count());
  // Of tables sharing a name exactly, the last one's key counts.
  const TableKeyLookup tableKey = [&](std::u16string_view name) {
    std::optional<std::u16string> key;
    for (std::size_t i = 0; i < count; ++i) {
      AGPTable& table = tables.at(i);
      if (table.tblName() == name) key = toString(table.properties().setting(kTblKey));
    }
    return key;
  };
  std::vector<std::u16string> fieldNames;
  AGPFields& fields = view.fields();
  for (std::size_t i = 0; i < static_cast<std::size_t>(fields.count()); ++i) {
    fieldNames.push_back(fields.at(i).FldName());
  }
  AGProperties& bag = view.properties();
  const ViewKeyAnswer answer =
      viewKeyOf(describeViewSql(query), tableKey, toString(bag.setting(kTblKey)), fieldNames);
  bag.setting(kTblUpdatable) = Variant(answer.updatable);
  if (answer.key) bag.setting(kTblKey) = Variant(*answer.key);
  if (answer.joinKey) bag.setting(kTblView) = Variant(true);
}

}  // namespace vantorel
