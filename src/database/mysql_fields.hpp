#pragma once
// What a MySQL or MariaDB table tells of its columns beyond the result-set metadata: the full
// column type, the key kind and the value lists of enum and set columns.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/field.hpp"
#include "platform/data/query.hpp"

namespace vantorel {

// The "SHOW FIELDS FROM <table>" text for a table, the name quoted with the driver's quote.
std::u16string showFieldsQuery(const data::Connection& connection, std::u16string_view schema,
                               std::u16string_view table);

// What the column's row of the SHOW FIELDS result tells: the type text, the key kind ("PRI",
// "UNI" or other) and, for enum and set columns, their values as FldTagValues text.
struct MySqlColumnType {
  enum class ValueList { None, Enum, Set };
  std::u16string type;
  std::u16string key;
  ValueList list = ValueList::None;
  std::u16string tagValues;
};

// Nothing when the result has no row for the column.
std::optional<MySqlColumnType> mySqlColumnType(const data::QueryResult& rs,
                                               std::u16string_view sFldName);

// What a column of that type text ("enum('N','Y')") and key kind tells.
MySqlColumnType mySqlColumnType(std::u16string type, std::u16string key);

// Gives the field the type text, PRI and UNI keys, and the enum and set values with the input
// tag that suits them.
void applyMySqlColumnType(AGPField& fld, const MySqlColumnType& column);

// Takes the column's row of the SHOW FIELDS result; no row for the column changes nothing.
void SetupMySQLFld(AGPField& fld, const data::QueryResult& rs, std::u16string_view sFldName);

// The FldTagValues text ("value","value" CR LF per value) of the part of an enum or set type
// text after the word: "('N','Y')".
std::u16string MySQLTagValues(std::u16string_view str);

// The FldTagValues text of a list of values, each its own label.
std::u16string tagValuesOf(const std::vector<std::u16string>& values);

// Offers an enum's values (FldTagValues text) as the field's choices: radio buttons for a yes/no
// pair, else a select.
void applyEnumTagValues(AGPField& fld, const std::u16string& tagValues);

// True when the field's tag values are exactly 0 and 1, or N and Y, in either order.
bool IsBoolTagValues(AGPField& fld);
bool isBoolTagValues(std::u16string_view values);

}  // namespace vantorel
