#pragma once
// AGPDatabase.LoadDAODB: an Access file into the project's database, every user table as a
// "TABLE" and every select query without parameters as a "VIEW" (tableName empty), or one of
// them again (tableName given).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/database_load.hpp"
#include "database/load_arguments.hpp"
#include "model/database.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/data/access_file.hpp"

namespace vantorel {

// The DAO engine version the reader stands for: the newest, which reads every file format.
inline constexpr char16_t kAccessEngineVersion[] = u"12.0";

// The objects of a file that a load reads: every user table but the switchboard's items, and
// the stored queries that would be listed among its views.
bool isLoadableAccessTable(std::u16string_view name);
bool isLoadableAccessView(const data::access::QueryInfo& info,
                          const std::vector<std::u16string>& viewNames);

// A table's columns as a load takes them: those with a name, the first of names that differ
// only in letter case. `duplicate` tells whether one was left out for its name.
std::vector<const data::access::AccessColumn*> loadedAccessColumns(
    const std::vector<data::access::AccessColumn>& columns, bool* duplicate = nullptr);

// The reason an open file could not be read, in the loader's lines.
std::u16string daoFailureText(const AutomationError& e);

// Code 1 and the reason when the file could not be named, opened or read. Stored queries that
// could not be read leave the views out and a notice for the user; the tables still load.
LoadOutcome loadAccessDatabase(DatabaseLoad& load, AGPDatabase& database,
                               const DaoLoadArguments& arguments);

// The load as the database object's LoadDAODB runs it: 0 loaded, 1 with the reason in
// LastErrorText; the load's notices are shown.
std::int16_t loadDaoDatabase(AGPDatabase& database, const DaoLoadArguments& arguments);

}  // namespace vantorel
