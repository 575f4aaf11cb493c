#include "database/column_facts.hpp"

#include <charconv>

#include "database/mysql_fields.hpp"
#include "database/postgresql_fields.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/data/query.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kPostgreSqlFactsQuery =
    u"SELECT a.attname, t.typname, a.atttypmod::text, a.attgenerated::text,"
    u" t.typnotnull::int::text,"
    u" (EXISTS (SELECT 1 FROM pg_catalog.pg_index x WHERE x.indrelid = c.oid AND x.indisunique"
    u" AND x.indnkeyatts = 1 AND x.indkey[0] = a.attnum AND x.indpred IS NOT NULL)"
    u" AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_index x WHERE x.indrelid = c.oid"
    u" AND x.indisunique AND x.indnkeyatts = 1 AND x.indkey[0] = a.attnum"
    u" AND x.indpred IS NULL))::int::text AS partial_only"
    u" FROM pg_catalog.pg_attribute a"
    u" JOIN pg_catalog.pg_class c ON a.attrelid = c.oid"
    u" JOIN pg_catalog.pg_namespace n ON c.relnamespace = n.oid"
    u" JOIN pg_catalog.pg_type t ON t.oid = a.atttypid"
    u" WHERE c.relkind IN ('r', 'p') AND c.relname = ? AND a.attnum > 0 AND NOT a.attisdropped";

std::u16string text(const data::QueryResult& rs, std::size_t row, std::u16string_view column) {
  return data::textOf(rs.value(row, column));
}

}  // namespace

ColumnFacts postgreSqlColumnFacts(std::u16string_view typeName, std::u16string_view typmod,
                                  std::u16string_view generated, std::u16string_view typeNotNull) {
  ColumnFacts facts;
  if (typeName == u"bit" || typeName == u"varbit") {
    // bit(n) and bit varying(n) keep n as their modifier; an unbounded varbit has -1.
    const std::string digits = toUtf8(typmod);
    std::int32_t n = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error == std::errc() && end == digits.data() + digits.size() && n > 0) facts.length = n;
  }
  facts.generated = !generated.empty();
  facts.notNull = typeNotNull == u"1";
  return facts;
}

ColumnFacts mySqlColumnFacts(std::u16string_view nullable, std::u16string_view extra) {
  ColumnFacts facts;
  // An AUTO_INCREMENT key stays as the driver gives it, nullable: the server numbers it.
  facts.notNull = nullable == u"NO" && !containsNoCase(extra, u"auto_increment");
  facts.generated = containsNoCase(extra, u"GENERATED");
  return facts;
}

void applyColumnFacts(ColumnDescription& column, const ColumnFacts& facts) {
  if (facts.length) column.column.definedSize = *facts.length;
  if (facts.generated) {
    column.generated = true;
    // PostgreSQL keeps the expression where a default would be.
    column.pgDefault.reset();
  }
  if (facts.notNull) column.required = true;
  if (facts.partialUniqueOnly) column.uniqueIndex = false;
}

std::map<std::u16string, ColumnFacts> readColumnFacts(data::Connection& cnn,
                                                      const TableDescription& table,
                                                      std::int16_t dbmsKind) {
  std::map<std::u16string, ColumnFacts> facts;
  if (dbmsKind == kDbmsPostgreSql) {
    const data::QueryResult rs =
        queryPgTableColumns(cnn, std::u16string(kPostgreSqlFactsQuery), table.schema, table.name);
    for (std::size_t row = 0; row < rs.rows.size(); ++row) {
      ColumnFacts f =
          postgreSqlColumnFacts(text(rs, row, u"typname"), text(rs, row, u"atttypmod"),
                                text(rs, row, u"attgenerated"), text(rs, row, u"typnotnull"));
      f.partialUniqueOnly = text(rs, row, u"partial_only") == u"1";
      facts[text(rs, row, u"attname")] = f;
    }
  } else if (dbmsKind == kDbmsMySql) {
    const data::QueryResult rs =
        data::runQuery(cnn, showFieldsQuery(cnn, table.schema, table.name));
    for (std::size_t row = 0; row < rs.rows.size(); ++row) {
      facts[text(rs, row, u"Field")] =
          mySqlColumnFacts(text(rs, row, u"Null"), text(rs, row, u"Extra"));
    }
  }
  return facts;
}

}  // namespace vantorel
