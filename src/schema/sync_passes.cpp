#include "schema/sync_passes.hpp"

#include <atomic>

namespace vantorel {

namespace {

std::atomic<SyncPassesEntry>& installed() noexcept {
  static std::atomic<SyncPassesEntry> entry{nullptr};
  return entry;
}

}  // namespace

void installSyncPasses(SyncPassesEntry entry) noexcept {
  installed().store(entry);
}

std::u16string runSyncPasses(AGP& project, const Ref<AGPSchema>& snapshot) {
  const SyncPassesEntry entry = installed().load();
  return entry ? entry(project, snapshot) : std::u16string();
}

}  // namespace vantorel
