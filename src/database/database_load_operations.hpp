#pragma once
// Gives the database object its LoadADODB, LoadDAODB and LoadADOCustomView members; called
// once at start-up.

namespace vantorel {

void installDatabaseLoadOperations() noexcept;

}  // namespace vantorel
