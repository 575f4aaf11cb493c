#pragma once
// What a query's result looks like, learnt without reading its rows: one field description per
// column with the ADO type code, sizes and attribute bits the loaders store.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/ado_types.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/statement.hpp"

namespace vantorel::data {

struct FieldDescription {
  std::u16string name;
  SQLSMALLINT sqlType = 0;
  std::u16string typeName;  // the driver's name for the type (SQL_DESC_TYPE_NAME)
  AdoType type = AdoType::VarWChar;
  // Characters (or bytes) for text and binary columns; the value's size in bytes for the
  // fixed-size types.
  std::int32_t definedSize = 0;
  std::int32_t octetLength = 0;
  // Digits for numbers, the length of the text form for dates and times, 255 otherwise.
  std::int32_t precision = 255;
  std::int32_t scale = 0;
  std::int32_t attributes = 0;  // kAdFld... bits
  bool autoIncrement = false;
  bool isUnsigned = false;
  bool nullable = true;  // false only when the driver knows the column holds no NULL
  bool updatable = false;
  std::u16string baseCatalog;
  std::u16string baseSchema;
  std::u16string baseTable;
  std::u16string baseColumn;
};

// The result columns of a statement that has been prepared or run.
std::vector<FieldDescription> describeResult(Statement& statement);

// Describes a query's result columns without letting it change anything: inside a read-only
// transaction that is rolled back, by preparing the text, or where the driver tells no columns
// before a run, by running it as a derived table that returns no row. A text that is not a
// SELECT or WITH query is refused with a DataError, as the provider's failures are. The caller
// makes sure the text is one statement.
std::vector<FieldDescription> describeQuery(Connection& connection, std::u16string_view sql);

// True when the text, past blanks, comments and opening parentheses, begins with SELECT or WITH.
bool isQueryText(std::u16string_view sql);

}  // namespace vantorel::data
