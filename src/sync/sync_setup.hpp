#pragma once
// Installs what the synchronisation gives the layers below it: the passes the project file's
// load runs.
namespace vantorel {

void installSyncOperations() noexcept;

}  // namespace vantorel
