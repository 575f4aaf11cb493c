#include "database/postgresql_fields.hpp"

#include <vector>

#include "fields/field_settings.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

// pg_attrdef.adsrc is gone since PostgreSQL 12; pg_get_expr gives the same text on every
// version. Partitioned tables are listed as tables, so they are read as such.
constexpr std::u16string_view kDefaultsQuery =
    u"SELECT a.attname, pg_catalog.pg_get_expr(d.adbin, d.adrelid) AS def"
    u" FROM pg_catalog.pg_attrdef d"
    u" JOIN pg_catalog.pg_class c ON d.adrelid = c.oid"
    u" JOIN pg_catalog.pg_namespace n ON c.relnamespace = n.oid"
    u" JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum = d.adnum"
    u" WHERE c.relkind IN ('r', 'v', 'p') AND c.relname = ?"
    u" AND a.attnum > 0 AND NOT a.attisdropped";

// The end of the quoted literal that opens the text (the position after its closing quote);
// npos when the text opens with no complete literal.
std::size_t literalEnd(std::u16string_view text) {
  if (text.empty() || text[0] != u'\'') return std::u16string_view::npos;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] != u'\'') continue;
    if (i + 1 < text.size() && text[i + 1] == u'\'') {
      ++i;
    } else {
      return i + 1;
    }
  }
  return std::u16string_view::npos;
}

}  // namespace

data::QueryResult queryPgTableColumns(data::Connection& connection, std::u16string sql,
                                      std::u16string_view schema, std::u16string_view table) {
  std::vector<Variant> parameters{Variant(std::u16string(table))};
  if (schema.empty()) {
    sql += u" AND pg_catalog.pg_table_is_visible(c.oid)";
  } else {
    sql += u" AND n.nspname = ?";
    parameters.emplace_back(std::u16string(schema));
  }
  sql += u" ORDER BY a.attnum";
  return data::runQuery(connection, sql, parameters);
}

data::QueryResult readPostgreSqlDefaults(data::Connection& connection, std::u16string_view schema,
                                         std::u16string_view table) {
  return queryPgTableColumns(connection, std::u16string(kDefaultsQuery), schema, table);
}

std::optional<std::u16string> postgreSqlDefault(std::u16string_view def) {
  if (def.empty()) return std::nullopt;
  if (startsWith(def, u"nextval(")) return std::u16string();
  std::u16string_view d = def;
  // A literal is taken whole, so a "::" inside it is no cast.
  const std::size_t end = literalEnd(d);
  if (end != std::u16string_view::npos &&
      (end == d.size() || d.substr(end).substr(0, 2) == u"::")) {
    d = d.substr(0, end);
  } else if (const std::size_t cast = d.find(u"::"); cast != std::u16string_view::npos) {
    d = d.substr(0, cast);
  }
  if (d == u"NULL") return std::nullopt;
  std::u16string text(d);
  if (d.size() >= 2 && startsWith(d, u"'") && endsWith(d, u"'")) {
    text = replaceAll(d.substr(1, d.size() - 2), u"''", u"'");
  }
  if (text.empty()) return std::nullopt;
  return text;
}

void SetupPostgreSqlFld(AGPField& fld, const data::QueryResult& rs, std::u16string_view sFldName) {
  for (std::size_t row = 0; row < rs.rows.size(); ++row) {
    if (data::textOf(rs.value(row, u"attname")) != sFldName) continue;
    const std::optional<std::u16string> value =
        postgreSqlDefault(data::textOf(rs.value(row, u"def")));
    AGProperties& bag = fld.properties();
    if (value && !toBool(bag.setting(kFldAutoIncrement))) {
      bag.setting(kFldDefault) = Variant(*value);
    }
    return;
  }
}

}  // namespace vantorel
