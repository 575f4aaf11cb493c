#pragma once
// Sources a custom view's query names with a schema or database in front of the table. Such a
// table is the model's table of that bare name only when the qualifier names where the model's
// table lives; any other is a table the model does not hold, however its name reads.
#include "agp/agp.hpp"
#include "model/database.hpp"

namespace vantorel {

// Empties FldSourceTable and FldSourceField of each field of `view` whose source is qualified by
// a schema (PostgreSQL: not the model table's TblSchema, or the current schema when that is
// empty) or a database (MariaDB, MySQL: not the connection's) other than the model table's.
void dropForeignQualifiedSources(AGP& project, AGPDatabase& db, AGPTable& view);

}  // namespace vantorel
