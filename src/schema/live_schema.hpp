#pragma once
// Reading the live schema of the project's database into a snapshot, and the guard that decides
// whether a snapshot may be compared with the model at all.
#include <cstddef>
#include <string>

#include "platform/automation/expected.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

class AGPDatabase;

// The records a snapshot holds, within its arrays: a count beyond them reads as the records there
// are.
std::size_t tableRecordCount(const AGSchemaDB& live) noexcept;
std::size_t fieldRecordCount(const AGSchemaTable& table) noexcept;

// Tells the snapshot which tables and views the model holds (see AGPSchema::expectObjects).
void expectStoredObjects(AGPSchema& snapshot, AGPDatabase& db);

// The snapshot read with the database's stored connection; sTableName "" reads every table and
// view, looking up by name the stored ones the catalogue leaves out. The failure is the read's.
Expected<> loadLiveSchema(AGPSchema& snapshot, AGPDatabase& db, const std::u16string& sTableName);

// Fails, saying why, when the snapshot cannot stand for the whole database: its list of tables or
// of views was not read, or it holds no table or view while the model holds some (a database
// emptied, renamed or switched under the data source's name looks the same as one whose
// catalogue failed). Taken at its word, every stored table would count as removed and an update
// would delete them all.
Expected<> snapshotIsWhole(const AGPSchema& snapshot, AGPDatabase& db);

}  // namespace vantorel
