#pragma once
// A table's primary key is kept twice: as each field's FldIsPrimaryKey flag and as the table's
// TblKey list (CR LF between the names). These keep the two in step and prepare a table for
// generation. The list is rebuilt from the flags by SetTblKeyFromFields (model layer).
#include <string>
#include <string_view>

#include "model/table_keys.hpp"

namespace vantorel {

class GenerationRun;

class AGPTable;

bool TableHasPrimaryKey(AGPTable& table);

// Makes the table the one whose TblVar names field outputs (CurrentTableVar); a table without
// a key loses its add, copy, view, edit, inline-edit and delete pages, in the project too.
// A null table does nothing.
void LoadTableGenSettings(GenerationRun& run, AGPTable* table);

}  // namespace vantorel
