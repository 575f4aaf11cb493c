#pragma once
// The schema check a project load runs when the project asks for it (AutoSync): its own snapshot,
// held in the project object from the reading to the release, and the counts over it.
#include <cstdint>
#include <string>

#include "platform/automation/expected.hpp"

namespace vantorel {

class AGP;
class AGPSchema;

// The stored connection of the project's database, as the snapshot reads it.
struct SnapshotSource {
  std::u16string name, type, path, phyPath;
  bool useServerMapPath = false;
  std::u16string uid, pwd, connStr, schema;
};

// Reads the live schema into a new snapshot held by the project. Fails, with the reason for the
// caller to show, when the schema could not be read or was read only in part (see
// snapshotIsWhole).
Expected<> TakeLoadSnapshot(AGP& project, const SnapshotSource& source);
// Tables and views, custom views and reports, summed; 0 without a held snapshot.
std::int16_t CountLoadDifferences(AGP& project);
// The snapshot the project holds from the reading to the release; nullptr without one.
AGPSchema* HeldLoadSnapshot(AGP& project);
// Drops the held snapshot and empties LastErrorText: whatever the load said before the check is
// not what its ending says.
void ReleaseLoadSnapshot(AGP& project);

}  // namespace vantorel
