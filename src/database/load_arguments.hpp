#pragma once
// The arguments of the database object's loaders, under their automation names.
#include <string>

namespace vantorel {

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

}  // namespace vantorel
