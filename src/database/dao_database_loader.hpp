#pragma once
// AGPDatabase.LoadDAODB: an Access file into the project's database, every user table as a
// "TABLE" and every select query without parameters as a "VIEW" (tableName empty), or one of
// them again (tableName given). Returns 0 when loaded, 1 with projectContext().lastErrorText
// set when the file could not be named, opened or read.
#include <cstdint>

#include "model/database.hpp"

namespace vantorel {

std::int16_t loadDaoDatabase(AGPDatabase& database, const DaoLoadArguments& arguments);

}  // namespace vantorel
