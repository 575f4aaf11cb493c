#pragma once
// The project object's entries that read a live database (LoadDB, LoadTable) need the loaders
// of the database-loading layer above this one, which installs them at start-up; an entry whose
// operation is not installed raises 445.
#include <string>

namespace vantorel {

class AGP;

// The arguments of AGP.LoadDB, under their automation names.
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

struct DatabaseEntryOperations {
  void (*loadDB)(AGP& project, const DatabaseLoadArguments& arguments) = nullptr;
  void (*loadTable)(AGP& project, const std::u16string& sTableName) = nullptr;
};

// Process-wide, like the class factory: filled at start-up, before any project object runs.
DatabaseEntryOperations& databaseEntryOperations() noexcept;

}  // namespace vantorel
