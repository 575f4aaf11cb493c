#pragma once
// AGPDatabase.LoadADODB and AGPDatabase.LoadADOCustomView over ODBC: the connection from the
// stored settings, the provider's particulars written to the database, the tables catalogue
// walked into AGPTable entries (each read by Load_ADO), and one custom view read into a new
// table. Neither shows anything: the chooser answers the one question a load may have (which
// Oracle schema), and failures come back as the load's outcome.
#include <cstdint>
#include <string>

#include "database/catalogue_selection.hpp"
#include "database/database_load.hpp"
#include "database/load_arguments.hpp"
#include "database/schema_question.hpp"
#include "model/database.hpp"
#include "platform/automation/automation_error.hpp"

namespace vantorel {

// Code 1 the connection did not open (no reason), 3 failed with its reason.
LoadOutcome loadAdoDatabase(DatabaseLoad& load, AGPDatabase& db, const AdoLoadArguments& arguments,
                            const SchemaChooser& chooseSchema = &askForOracleSchema);

// Code 1: refused (no name, a name taken in any case) or failed, with the reason (none for an
// empty name or a connection that did not open).
LoadOutcome loadAdoCustomView(DatabaseLoad& load, AGPDatabase& db, const std::u16string& sConnStr,
                              const std::u16string& sTableName, const std::u16string& sSQL);

// The loads as the database object's LoadADODB and LoadADOCustomView run them: the outcome's
// code, with its reason in LastErrorText (LoadADOCustomView empties it first).
std::int16_t LoadADODB(AGPDatabase& db, const AdoLoadArguments& arguments,
                       const SchemaChooser& chooseSchema = &askForOracleSchema);
std::int16_t LoadADOCustomView(AGPDatabase& db, const std::u16string& sConnStr,
                               const std::u16string& sTableName, const std::u16string& sSQL);

// The reason a load failed, as LastErrorText gets it: the login refusal, else every provider
// line numbered with its number, description and source, else the error's own description.
// Unnumbered, the provider lines go without their "Error #" heading.
std::u16string adoFailureText(const AutomationError& error, bool numbered = true);

}  // namespace vantorel
