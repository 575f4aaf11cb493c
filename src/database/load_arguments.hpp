#pragma once
// The arguments of the project's and the database object's loaders, under their automation
// names.
#include <string>

namespace vantorel {

// The arguments of AGP.LoadDB.
struct DatabaseLoadArguments {
  std::u16string sDbName;   // the ODBC data source name
  std::u16string sDbType;   // "ACCESS", "ODBC" or a connection-string kind (any case)
  std::u16string sPath;     // the Access file as the generated site names it
  std::u16string sPhyPath;  // the Access file here
  bool bDBUseServerMapPath = false;
  std::u16string sUID;
  std::u16string sPwd;
  std::u16string sConnStr;  // for kinds other than "ACCESS" and "ODBC"
  std::u16string sSchema;   // empty: chosen while loading
};

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
