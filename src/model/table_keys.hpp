#pragma once
// A table's primary key is kept twice: as each field's FldIsPrimaryKey flag and as the table's
// TblKey list (CR LF between the names). These keep the two in step; the project file's load,
// the synchronisation and generation all rely on them.
#include <string>
#include <string_view>

namespace vantorel {

class AGPDatabase;
class AGPTable;

// Every table's TblKey: the names of its primary-key fields, trimmed, sorted in binary order and
// joined by CR LF.
void SetTblKeyFromFields(AGPDatabase& db);

// Every field's FldIsPrimaryKey from the table's TblKey: set when an entry, unquoted, equals
// the field's name exactly (case counts); every other field loses its flag.
void SetFieldsFromTblKey(AGPTable& table);

// One key name without its quoting: enclosing quotation marks (a doubled one inside stands for
// one), then enclosing square brackets. Names shorter than two characters stay as they are.
std::u16string UnquoteName(std::u16string_view name);

}  // namespace vantorel
