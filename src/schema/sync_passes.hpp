#pragma once
// The passes of an update (renames, tables and views, custom views, reports, references, the
// log, the keys) live in the synchronisation layer above this one; the project file's load runs
// them after the check through this entry, which that layer installs at start-up.
#include <string>

#include "platform/automation/ref.hpp"

namespace vantorel {

class AGP;
class AGPSchema;

// Returns "" or the message of a log that could not be written.
using SyncPassesEntry = std::u16string (*)(AGP& project, const Ref<AGPSchema>& snapshot);

// Process-wide; nullptr uninstalls.
void installSyncPasses(SyncPassesEntry entry) noexcept;
// Runs the installed passes; without any, nothing changes and the result is "".
std::u16string runSyncPasses(AGP& project, const Ref<AGPSchema>& snapshot);

}  // namespace vantorel
