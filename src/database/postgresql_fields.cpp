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

constexpr std::u16string_view kEnumValuesQuery =
    u"SELECT a.attname, e.enumlabel"
    u" FROM pg_catalog.pg_class c"
    u" JOIN pg_catalog.pg_namespace n ON c.relnamespace = n.oid"
    u" JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid";

// Calls visit(position, depth) for each character outside quoted literals and names, depth
// counting the parentheses open after it; a visit returning true stops the walk there.
template <class Visit>
void walkOutside(std::u16string_view text, Visit visit) {
  int depth = 0;
  char16_t quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (quote) {
      // A doubled quote closes and reopens the literal, which comes to the same.
      if (c == quote) quote = 0;
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
      continue;
    }
    depth += c == u'(' ? 1 : c == u')' ? -1 : 0;
    if (visit(i, depth)) return;
  }
}

// The first "::" outside literals and parentheses, the cast of the whole text; npos if none.
std::size_t outerCast(std::u16string_view text) {
  std::size_t found = std::u16string_view::npos;
  walkOutside(text, [&](std::size_t i, int depth) {
    if (depth != 0 || text.substr(i, 2) != u"::") return false;
    found = i;
    return true;
  });
  return found;
}

// True when the text is one parenthesised expression: its first "(" closes at its end.
bool parenthesised(std::u16string_view text) {
  if (text.size() < 2 || text.front() != u'(' || text.back() != u')') return false;
  std::size_t closed = std::u16string_view::npos;
  walkOutside(text, [&](std::size_t i, int depth) {
    if (depth != 0) return false;
    closed = i;
    return true;
  });
  return closed + 1 == text.size();
}

// True when the text is one quoted literal, 'it''s'.
bool quotedLiteral(std::u16string_view text) {
  if (text.size() < 2 || text.front() != u'\'' || text.back() != u'\'') return false;
  bool outside = false;
  walkOutside(text, [&](std::size_t, int) { return outside = true; });
  return !outside;
}

// The text without its casts: "('now'::text)::date" is the literal 'now'. Parentheses that held
// only a cast of a literal or of another such group go with it; "(0)::numeric" keeps "(0)" and
// "(now() - (1)::interval)" stays whole.
std::u16string_view withoutCasts(std::u16string_view d) {
  for (;;) {
    if (const std::size_t cast = outerCast(d); cast != std::u16string_view::npos) {
      d = d.substr(0, cast);
    }
    if (!parenthesised(d)) return d;
    const std::u16string_view inside = d.substr(1, d.size() - 2);
    const std::u16string_view operand = inside.substr(0, outerCast(inside));
    if (operand.size() == inside.size() ||
        (!quotedLiteral(operand) && !parenthesised(operand))) {
      return d;
    }
    d = inside;
  }
}

}  // namespace

data::QueryResult queryPgTableColumns(data::Connection& connection, std::u16string sql,
                                      std::u16string_view schema, std::u16string_view table,
                                      std::u16string_view thenBy) {
  std::vector<Variant> parameters{Variant(std::u16string(table))};
  if (schema.empty()) {
    sql += u" AND pg_catalog.pg_table_is_visible(c.oid)";
  } else {
    sql += u" AND n.nspname = ?";
    parameters.emplace_back(std::u16string(schema));
  }
  sql += u" ORDER BY a.attnum";
  if (!thenBy.empty()) sql += u", " + std::u16string(thenBy);
  return data::runQuery(connection, sql, parameters);
}

data::QueryResult readPostgreSqlDefaults(data::Connection& connection, std::u16string_view schema,
                                         std::u16string_view table) {
  return queryPgTableColumns(connection, std::u16string(kDefaultsQuery), schema, table);
}

std::map<std::u16string, std::vector<std::u16string>> readPostgreSqlEnumValues(
    data::Connection& connection, std::u16string_view schema, std::u16string_view table) {
  std::u16string sql(kEnumValuesQuery);
  sql += kPgEnumLabelsJoin;
  sql += u" WHERE c.relname = ? AND a.attnum > 0 AND NOT a.attisdropped";
  const data::QueryResult rs =
      queryPgTableColumns(connection, std::move(sql), schema, table, u"e.enumsortorder");
  std::map<std::u16string, std::vector<std::u16string>> values;
  for (std::size_t row = 0; row < rs.rows.size(); ++row) {
    values[data::textOf(rs.value(row, u"attname"))].push_back(
        data::textOf(rs.value(row, u"enumlabel")));
  }
  return values;
}

std::optional<std::u16string> postgreSqlDefault(std::u16string_view def) {
  if (def.empty()) return std::nullopt;
  if (startsWith(def, u"nextval(")) return std::u16string();
  // A literal is taken whole, so a "::" inside it is no cast.
  const std::u16string_view d = withoutCasts(def);
  if (d == u"NULL") return std::nullopt;
  std::u16string text(d);
  if (d.size() >= 2 && startsWith(d, u"'") && endsWith(d, u"'")) {
    text = replaceAll(d.substr(1, d.size() - 2), u"''", u"'");
  }
  if (text.empty()) return std::nullopt;
  return text;
}

std::optional<std::u16string> postgreSqlColumnDefault(const data::QueryResult& rs,
                                                      std::u16string_view sFldName) {
  for (std::size_t row = 0; row < rs.rows.size(); ++row) {
    if (data::textOf(rs.value(row, u"attname")) != sFldName) continue;
    return postgreSqlDefault(data::textOf(rs.value(row, u"def")));
  }
  return std::nullopt;
}

void SetupPostgreSqlFld(AGPField& fld, const data::QueryResult& rs, std::u16string_view sFldName) {
  const std::optional<std::u16string> value = postgreSqlColumnDefault(rs, sFldName);
  AGProperties& bag = fld.properties();
  if (value && !toBool(bag.setting(kFldAutoIncrement))) bag.setting(kFldDefault) = Variant(*value);
}

}  // namespace vantorel
