#pragma once
// A table's primary key is kept twice: as each field's FldIsPrimaryKey flag and as the table's
// TblKey list (CR LF between the names). These keep the two in step and prepare a table for
// generation. The list is rebuilt from the flags by SetTblKeyFromFields (project file layer).
#include <string>
#include <string_view>

#include "projectfile/table_keys.hpp"

namespace vantorel {

class GenerationRun;

class AGPTable;

// Every field's FldIsPrimaryKey from the table's TblKey: set when an entry, unquoted, equals
// the field's name exactly (case counts); every other field loses its flag.
void SetFieldsFromTblKey(AGPTable& table);

// One key name without its quoting: enclosing quotation marks (a doubled one inside stands for
// one), then enclosing square brackets. Names shorter than two characters stay as they are.
std::u16string UnquoteName(std::u16string_view name);

bool TableHasPrimaryKey(AGPTable& table);

// Makes the table the one whose TblVar names field outputs (CurrentTableVar); a table without
// a key loses its add, copy, view, edit, inline-edit and delete pages, in the project too.
// A null table does nothing.
void LoadTableGenSettings(GenerationRun& run, AGPTable* table);

}  // namespace vantorel
