#pragma once
// The database object's loaders, which the database-loading layer above this one defines and
// installs at start-up, so that this layer links without them; a member whose operation is not
// installed raises 445.
#include <cstdint>
#include <string>

namespace vantorel {

class AGPDatabase;

// The arguments of AGPDatabase.LoadADODB, under their automation names.
struct AdoLoadArguments {
  std::u16string DBType;  // "ODBC" or a connection-string kind
  std::u16string DBName;  // the data source name
  std::u16string uid;
  std::u16string pwd;
  std::u16string sConnStr;    // used as given unless DBType is "ODBC" and it is empty
  std::u16string sTableName;  // empty: the whole database
  std::u16string sSchema;     // the Oracle schema; empty: chosen while loading
};

// The arguments of AGPDatabase.LoadDAODB, under their automation names.
struct DaoLoadArguments {
  std::u16string DBPath;     // the file as the generated site names it; stored only
  std::u16string DBPhyPath;  // the file read
  bool DBUseServerMapPath = false;
  std::u16string uid;
  std::u16string pwd;
  std::u16string sTableName;  // empty: the whole file
};

struct DatabaseOperations {
  std::int16_t (*loadADODB)(AGPDatabase& db, const AdoLoadArguments& arguments) = nullptr;
  std::int16_t (*loadDAODB)(AGPDatabase& db, const DaoLoadArguments& arguments) = nullptr;
  std::int16_t (*loadADOCustomView)(AGPDatabase& db, const std::u16string& sConnStr,
                                    const std::u16string& sTableName,
                                    const std::u16string& sSQL) = nullptr;
};

// Process-wide, like the class factory: filled at start-up, before any database is loaded.
DatabaseOperations& databaseOperations() noexcept;

}  // namespace vantorel
