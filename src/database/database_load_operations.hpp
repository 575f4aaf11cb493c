#pragma once
// Gives the database object its LoadADODB, LoadDAODB and LoadADOCustomView members; called
// once at start-up.
#include <string>
#include <vector>

namespace vantorel {

// Asks the user which Oracle schema to load, of the choices offered (element 0 empty); an
// unattended run takes the first.
std::u16string askForOracleSchema(const std::vector<std::u16string>& choices);

void installDatabaseLoadOperations() noexcept;

}  // namespace vantorel
