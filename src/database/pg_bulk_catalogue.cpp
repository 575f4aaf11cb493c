// PostgreSQL's catalogue read for every base table of the loaded schemas at once: one query for
// the columns (with their types, defaults and type names), one for the indexes and one for the
// values of enum columns.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "database/bulk_tables.hpp"
#include "database/pg_metadata.hpp"
#include "database/postgresql_fields.hpp"

namespace vantorel {

namespace {

// Partitioned tables are listed as tables, so they are read as such.
constexpr std::u16string_view kColumnsQuery =
    u"SELECT n.nspname, c.relname, a.attname, t.typname, t.typcategory,"
    u" pg_catalog.pg_get_expr(d.adbin, d.adrelid) AS def,"
    u" a.atttypid::text, a.atttypmod::text, a.attnotnull::int, a.attidentity::text,"
    u" a.attgenerated::text, a.attcollation::text, t.typnotnull::int, c.relkind::text,"
    u" pg_catalog.has_table_privilege(c.oid, 'SELECT')::int AS readable,"
    u" EXISTS (SELECT 1 FROM pg_catalog.pg_index k WHERE k.indrelid = c.oid AND k.indisprimary)"
    u"::int AS keyed"
    u" FROM pg_catalog.pg_class c"
    u" JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    u" JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid"
    u" JOIN pg_catalog.pg_type t ON t.oid = a.atttypid"
    u" LEFT JOIN pg_catalog.pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum"
    u" WHERE c.relkind IN ('r', 'p') AND a.attnum > 0 AND NOT a.attisdropped";

// Each index's columns in key order; an expression has no column name. An index over part of the
// rows (WHERE ...) is not plain: the driver's statistics call it unique, the table on its own
// is read with the catalogue's word on it.
constexpr std::u16string_view kIndexesQuery =
    u"SELECT n.nspname, c.relname, i.indexrelid::text, i.indisprimary::int, i.indisunique::int,"
    u" (i.indisvalid AND i.indnatts = i.indnkeyatts AND i.indexprs IS NULL"
    u" AND i.indpred IS NULL)::int AS plain,"
    u" a.attname, ic.relname"
    u" FROM pg_catalog.pg_index i"
    u" JOIN pg_catalog.pg_class c ON c.oid = i.indrelid"
    u" JOIN pg_catalog.pg_class ic ON ic.oid = i.indexrelid"
    u" JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    u" CROSS JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, position)"
    u" LEFT JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum = k.attnum"
    u" WHERE c.relkind IN ('r', 'p')";

// The labels of every enum column, a row each.
constexpr std::u16string_view kEnumValuesQuery =
    u"SELECT n.nspname, c.relname, a.attname, e.enumlabel"
    u" FROM pg_catalog.pg_class c"
    u" JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    u" JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid";

// The query completed with the schemas as parameters and the order.
std::u16string inSchemas(std::u16string_view sql, std::size_t count, std::u16string_view order) {
  std::u16string text(sql);
  text += u" AND n.nspname IN (";
  for (std::size_t i = 0; i < count; ++i) text += i == 0 ? u"?" : u", ?";
  text += u") ORDER BY ";
  text += order;
  return text;
}

// Runs the query over the schemas in that order, handing visit each row's values as text.
template <std::size_t Columns, typename Visit>
void forEachRow(data::Connection& cnn, std::u16string_view sql,
                const std::vector<std::u16string>& schemas, std::u16string_view order,
                Visit&& visit) {
  data::Statement statement(cnn);
  statement.prepare(inSchemas(sql, schemas.size(), order));
  std::vector<Variant> values;
  values.reserve(schemas.size());
  for (const std::u16string& schema : schemas) values.emplace_back(schema);
  statement.bindParameters(values);
  statement.execute();
  forEachTextRow<Columns>(statement, std::forward<Visit>(visit));
}

// The default's kind as the driver tells auto-increment by it.
char16_t defaultKind(const std::u16string& def) {
  if (def.empty()) return u'n';
  return def.rfind(u"nextval(", 0) == 0 ? u's' : u'd';
}

void readColumns(data::Connection& cnn, const std::vector<std::u16string>& schemas,
                 BulkReading& reading) {
  forEachRow<16>(cnn, kColumnsQuery, schemas, u"c.oid, a.attnum", [&](auto& text) {
    BulkTable& table = reading.table(text[0], text[1]);
    BulkColumn column;
    column.name = std::move(text[2]);
    const std::u16string& def = text[5];
    std::u16string facts;
    for (int i = 6; i <= 13; ++i) facts += text[i] + u'|';
    facts += defaultKind(def);
    facts += text[15];
    // Names the driver might read apart are described apart.
    if (!plainName(table.schema) || !plainName(table.name)) {
      facts += u"|" + table.schema + u"." + table.name;
    }
    if (!plainName(column.name)) facts += u"|" + column.name;
    column.signature = reading.signature(facts);
    column.pgDefault = postgreSqlDefault(def);
    column.facts = postgreSqlColumnFacts(text[3], text[7], text[10], text[12]);
    column.pgTypeName = pgTypeName(std::move(text[3]), text[4]);
    table.readable = text[14] == u"1";
    table.columns.push_back(std::move(column));
  });
}

void readIndexes(data::Connection& cnn, const std::vector<std::u16string>& schemas,
                 BulkReading& reading) {
  std::u16string index;
  std::vector<std::u16string> columns;
  BulkTable* table = nullptr;
  bool primary = false, unique = false;
  const auto finish = [&] {
    if (!table) return;
    if (primary) table->primaryKey.insert(table->primaryKey.end(), columns.begin(), columns.end());
    if (unique && columns.size() == 1) table->unique.push_back(columns.front());
  };
  forEachRow<8>(cnn, kIndexesQuery, schemas, u"i.indexrelid, k.position", [&](auto& text) {
    if (text[2] != index) {
      finish();
      index = text[2];
      columns.clear();
      table = reading.find(text[0], text[1]);
      primary = text[3] == u"1";
      unique = text[4] == u"1";
    }
    if (!table) return;
    // The driver also takes an index named "<table>_pkey" for the key of a table that has no
    // key constraint; such a table is read as the driver reads it.
    if (text[5] != u"1" || (!primary && text[7] == text[1] + u"_pkey")) table->onItsOwn = true;
    columns.push_back(std::move(text[6]));
  });
  finish();
}

// Gives each column of an enum type its labels, in their order.
void readEnumValues(data::Connection& cnn, const std::vector<std::u16string>& schemas,
                    BulkReading& reading) {
  std::u16string sql(kEnumValuesQuery);
  sql += kPgEnumLabelsJoin;
  sql += u" WHERE c.relkind IN ('r', 'p') AND a.attnum > 0 AND NOT a.attisdropped";
  // Rows come column by column: the column is looked up when the row's column changes.
  std::array<std::u16string, 3> at;
  BulkColumn* column = nullptr;
  forEachRow<4>(cnn, sql, schemas, u"c.oid, a.attnum, e.enumsortorder", [&](auto& text) {
    if (text[0] != at[0] || text[1] != at[1] || text[2] != at[2]) {
      at = {text[0], text[1], text[2]};
      column = nullptr;
      if (BulkTable* table = reading.find(text[0], text[1])) {
        for (BulkColumn& c : table->columns) {
          if (c.name == text[2]) column = &c;
        }
      }
    }
    if (column) column->pgEnumValues.push_back(std::move(text[3]));
  });
}

}  // namespace

void readPostgreSqlCatalogue(data::Connection& cnn, const std::vector<std::u16string>& schemas,
                             BulkReading& reading) {
  readColumns(cnn, schemas, reading);
  readIndexes(cnn, schemas, reading);
  readEnumValues(cnn, schemas, reading);
}

}  // namespace vantorel
