#include "database/sqlite_columns.hpp"

#include "platform/data/ado_types.hpp"
#include "platform/data/query.hpp"
#include "platform/data/statement.hpp"

namespace vantorel {

namespace {

// The size the driver gives its LONGVARBINARY columns.
constexpr std::int32_t kLongBinarySize = 65536;

// The one key column of a table that has no index of origin "pk", its rowid alias. A table of an
// attached database names its schema as the pragmas' second argument.
std::u16string rowidAliasQuery(bool withSchema) {
  const std::u16string of = withSchema ? u"(?, ?)" : u"(?)";
  return u"SELECT name FROM pragma_table_info" + of + u" WHERE pk = 1" +
         u" AND (SELECT count(*) FROM pragma_table_info" + of + u" WHERE pk > 0) = 1" +
         u" AND NOT EXISTS (SELECT 1 FROM pragma_index_list" + of + u" WHERE origin = 'pk')";
}

// The name of the table's rowid alias; "" when it has none.
std::u16string rowidAlias(data::Connection& cnn, const std::u16string& schema,
                          const std::u16string& table) {
  const bool withSchema = !schema.empty();
  std::vector<Variant> parameters;
  for (int i = 0; i < 3; ++i) {
    parameters.emplace_back(table);
    if (withSchema) parameters.emplace_back(schema);
  }
  const data::QueryResult rs = data::runQuery(cnn, rowidAliasQuery(withSchema), parameters);
  return rs.rows.empty() ? std::u16string() : data::textOf(rs.value(0, u"name"));
}

}  // namespace

bool isSqlite(const data::Connection& cnn) {
  return cnn.properties().dbmsName == u"SQLite";
}

void describeSqliteBlobs(std::vector<ColumnDescription>& columns) {
  for (ColumnDescription& c : columns) {
    data::FieldDescription& f = c.column;
    if (f.sqlType != SQL_BINARY) continue;
    f.sqlType = SQL_LONGVARBINARY;
    f.type = data::adoTypeOf(SQL_LONGVARBINARY, false).type;
    f.definedSize = kLongBinarySize;
    f.octetLength = kLongBinarySize;
    f.attributes = (f.attributes & ~data::kAdFldFixed) | data::kAdFldLong | data::kAdFldMayDefer;
  }
}

void markRowidAlias(data::Connection& cnn, TableDescription& table) {
  const std::u16string alias = rowidAlias(cnn, table.schema, table.name);
  if (alias.empty()) return;
  for (ColumnDescription& c : table.columns) {
    if (!c.duplicate && c.column.name == alias) c.column.autoIncrement = true;
  }
}

}  // namespace vantorel
