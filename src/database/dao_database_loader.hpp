#pragma once
// AGPDatabase.LoadDAODB: an Access file into the project's database, every user table as a
// "TABLE" and every select query without parameters as a "VIEW" (tableName empty), or one of
// them again (tableName given). Returns 0 when loaded, 1 with projectContext().lastErrorText
// set when the file could not be named, opened or read.
#include <cstdint>
#include <string>

#include "model/database.hpp"

namespace vantorel {

std::int16_t loadDaoDatabase(AGPDatabase& database, const std::u16string& path,
                             const std::u16string& phyPath, bool useServerMapPath,
                             const std::u16string& uid, const std::u16string& pwd,
                             const std::u16string& tableName);

}  // namespace vantorel
