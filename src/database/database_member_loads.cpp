// The database object's loaders as a script calls them on the object itself. Each is one load:
// it starts with the quote characters the database was loaded with, shows what the load had to
// say, and puts the reason of a failure into LastErrorText.
#include "database/ado_database_loader.hpp"
#include "database/dao_database_loader.hpp"
#include "database/database_load.hpp"
#include "foundation/project_context.hpp"

namespace vantorel {

namespace {

DatabaseLoad loadOf(AGPDatabase& db) {
  DatabaseLoad load;
  load.quote = recordedSqlQuote(db);
  load.sqlQuoteSetting = recordedSqlQuoteSetting(db);
  return load;
}

}  // namespace

std::int16_t LoadADODB(AGPDatabase& db, const AdoLoadArguments& arguments,
                       const SchemaChooser& chooseSchema) {
  DatabaseLoad load = loadOf(db);
  const LoadOutcome outcome = loadAdoDatabase(load, db, arguments, chooseSchema);
  return reportLoad(load, outcome);
}

std::int16_t loadDaoDatabase(AGPDatabase& database, const DaoLoadArguments& arguments) {
  DatabaseLoad load = loadOf(database);
  const LoadOutcome outcome = loadAccessDatabase(load, database, arguments);
  return reportLoad(load, outcome);
}

std::int16_t LoadADOCustomView(AGPDatabase& db, const std::u16string& sConnStr,
                               const std::u16string& sTableName, const std::u16string& sSQL) {
  // A text left by an earlier failure must not stand for this load's outcome.
  projectContext().lastErrorText.clear();
  DatabaseLoad load = loadOf(db);
  const LoadOutcome outcome = loadAdoCustomView(load, db, sConnStr, sTableName, sSQL);
  return reportLoad(load, outcome);
}

}  // namespace vantorel
