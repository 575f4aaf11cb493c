#pragma once
// Column defaults of a PostgreSQL table, read from the system catalogue over the loader's own
// connection, and the rule that turns a default expression into a field's FldDefault.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/field.hpp"
#include "platform/data/query.hpp"

namespace vantorel {

// Runs a catalogue query over one table's columns: `sql` selects from pg_attribute `a` joined
// to pg_class `c` and pg_namespace `n`, filters on the table name (its first parameter) and is
// completed here with the schema (or the search path when the schema is empty) and column order,
// then the order thenBy names.
data::QueryResult queryPgTableColumns(data::Connection& connection, std::u16string sql,
                                      std::u16string_view schema, std::u16string_view table,
                                      std::u16string_view thenBy = {});

// One row per column that has a default: "attname" and "def" (the expression's text), in column
// order. An empty schema means the table the search path finds.
data::QueryResult readPostgreSqlDefaults(data::Connection& connection, std::u16string_view schema,
                                         std::u16string_view table);

// The FldDefault a default expression gives a field that is not auto-increment: "" for a
// sequence, the literal's text for a quoted literal (with or without a cast), the text before
// the cast otherwise; nothing for NULL, an empty literal or no default at all.
std::optional<std::u16string> postgreSqlDefault(std::u16string_view def);

// The FldDefault the column's row of readPostgreSqlDefaults gives; nothing without a row or a
// usable default.
std::optional<std::u16string> postgreSqlColumnDefault(const data::QueryResult& rs,
                                                      std::u16string_view sFldName);

// The values of each enum column of the table or view (a column of a domain over an enum too),
// by column name, in the enum's own order. An empty schema means the table the search path
// finds. Raises the provider's error.
std::map<std::u16string, std::vector<std::u16string>> readPostgreSqlEnumValues(
    data::Connection& connection, std::u16string_view schema, std::u16string_view table);

// The join that gives each column of pg_attribute `a` (of type `t`) the labels `e` of its enum.
inline constexpr std::u16string_view kPgEnumLabelsJoin =
    u" JOIN pg_catalog.pg_type t ON t.oid = a.atttypid"
    u" JOIN pg_catalog.pg_enum e"
    u" ON e.enumtypid = CASE WHEN t.typtype = 'd' THEN t.typbasetype ELSE t.oid END";

// Takes the column's default from the rows of readPostgreSqlDefaults; an auto-increment field
// keeps its own.
void SetupPostgreSqlFld(AGPField& fld, const data::QueryResult& rs, std::u16string_view sFldName);

}  // namespace vantorel
