#include "sync/sync_setup.hpp"

#include "schema/sync_passes.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel {

namespace {

std::u16string loadTimePasses(AGP& project, const Ref<AGPSchema>& snapshot) {
  return RunSyncPasses(project, snapshot).logFailure;
}

}  // namespace

void installSyncOperations() noexcept {
  installSyncPasses(&loadTimePasses);
}

}  // namespace vantorel
