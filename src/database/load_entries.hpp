#pragma once
// AGP.LoadDB and AGP.LoadTable, which read the live database through this layer's loaders. Each
// leaves its outcome in ProjErr: empty after success, else the reason.
#include <string>

#include "database/load_arguments.hpp"

namespace vantorel {

class AGP;

// Gives the project its one database, read from the live database (Access over the Access
// reader, anything else over ODBC). A failed load leaves the project without a database.
void LoadDB(AGP& project, const DatabaseLoadArguments& a);
// Reads one table or view of the loaded database, a registered one or one the model lacks.
void LoadTable(AGP& project, const std::u16string& sTableName);

}  // namespace vantorel
