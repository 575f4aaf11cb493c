#pragma once
// Column defaults of a PostgreSQL table, read from the system catalogue over the loader's own
// connection, and the rule that turns a default expression into a field's FldDefault.
#include <optional>
#include <string>
#include <string_view>

#include "fields/field.hpp"
#include "platform/data/query.hpp"

namespace vantorel {

// Runs a catalogue query over one table's columns: `sql` selects from pg_attribute `a` joined
// to pg_class `c` and pg_namespace `n`, filters on the table name (its first parameter) and is
// completed here with the schema (or the search path when the schema is empty) and column order.
data::QueryResult queryPgTableColumns(data::Connection& connection, std::u16string sql,
                                      std::u16string_view schema, std::u16string_view table);

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

// Takes the column's default from the rows of readPostgreSqlDefaults; an auto-increment field
// keeps its own.
void SetupPostgreSqlFld(AGPField& fld, const data::QueryResult& rs, std::u16string_view sFldName);

}  // namespace vantorel
