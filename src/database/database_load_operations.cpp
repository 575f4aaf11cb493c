// The database object's members that belong to database loading.
#include "database/database_load_operations.hpp"

#include <optional>
#include <vector>

#include "database/ado_database_loader.hpp"
#include "database/dao_database_loader.hpp"
#include "foundation/project_context.hpp"
#include "model/database_operations.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

namespace {

std::int16_t loadADODB(AGPDatabase& db, const AdoLoadArguments& arguments) {
  return LoadADODB(db, arguments, &askForOracleSchema);
}

}  // namespace

// The user picks the Oracle schema among those owning tables; an unattended run, which has no
// one to ask, takes the first, since a load without a schema would read nothing.
std::u16string askForOracleSchema(const std::vector<std::u16string>& choices) {
  const std::vector<std::u16string> listed(choices.begin() + (choices.empty() ? 0 : 1),
                                           choices.end());
  if (listed.empty()) return {};
  const std::optional<std::size_t> chosen = ui::pickOne(
      u"Please choose a schema for the Oracle ODBC Connection so that only a subset of tables "
      u"will be loaded.",
      projectContext().productTitle, listed);
  return listed[chosen && *chosen < listed.size() ? *chosen : 0];
}

void installDatabaseLoadOperations() noexcept {
  DatabaseOperations& operations = databaseOperations();
  operations.loadADODB = &loadADODB;
  operations.loadDAODB = &loadDaoDatabase;
  operations.loadADOCustomView = &LoadADOCustomView;
}

}  // namespace vantorel
