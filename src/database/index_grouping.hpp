#pragma once
// Which fields an index rowset marks: a unique index over exactly one column marks that column
// FldUniqueIdx; on Access, the primary index marks its columns FldIsPrimaryKey.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fields/fields.hpp"

namespace vantorel {

struct IndexColumn {
  std::u16string indexName;
  bool unique = false;
  std::u16string column;
  // The rowset's PRIMARY_KEY; nothing when the source does not tell (ODBC never does).
  std::optional<bool> primaryKey;
};

// The columns an index rowset marks, by exact name: those alone in a unique index, and on
// Access those of the primary index.
struct IndexMarks {
  std::vector<std::u16string> unique;
  std::vector<std::u16string> primary;
};

// The rows in rowset order, each index's columns together.
IndexMarks groupIndexColumns(const std::vector<IndexColumn>& rows, std::int16_t dbmsKind);

// Calls the action for every field whose FldName is exactly the name.
template <typename Action>
void forFieldsNamed(AGPFields& fields, std::u16string_view name, Action&& action) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(fields.count()); ++i) {
    AGPField& field = fields.at(i);
    if (field.FldName() == name) action(field);
  }
}

}  // namespace vantorel
