#pragma once
// Gives the database object its LoadADODB and LoadADOCustomView members; called once at
// start-up.

namespace vantorel {

void installDatabaseLoadOperations() noexcept;

}  // namespace vantorel
