#pragma once
// What a MySQL or MariaDB table tells of its columns beyond the result-set metadata: the full
// column type, the key kind and the value lists of enum and set columns.
#include <string>
#include <string_view>

#include "fields/field.hpp"
#include "platform/data/query.hpp"

namespace vantorel {

// The "SHOW FIELDS FROM <table>" text for a table, the name quoted with the driver's quote.
std::u16string showFieldsQuery(const data::Connection& connection, std::u16string_view schema,
                               std::u16string_view table);

// Takes the column's row of the SHOW FIELDS result: the type text, PRI and UNI keys, and the
// enum and set values with the input tag that suits them. No row for the column changes nothing.
void SetupMySQLFld(AGPField& fld, const data::QueryResult& rs, std::u16string_view sFldName);

// The FldTagValues text ("value","value" CR LF per value) of the part of an enum or set type
// text after the word: "('N','Y')".
std::u16string MySQLTagValues(std::u16string_view str);

// True when the field's tag values are exactly 0 and 1, or N and Y, in either order.
bool IsBoolTagValues(AGPField& fld);

}  // namespace vantorel
