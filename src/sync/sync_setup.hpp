#pragma once
// Installs what the synchronisation gives the layers below it: the project object's
// synchronisation members.
namespace vantorel {

void installSyncOperations() noexcept;

}  // namespace vantorel
