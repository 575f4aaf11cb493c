#include "sync/load_time_sync.hpp"

#include "foundation/project_context.hpp"
#include "platform/ui/ui.hpp"
#include "schema/load_check.hpp"
#include "schema/schema_snapshot.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel {

void SynchroniseLoadedProject(AGP& project) {
  AGPSchema* snapshot = HeldLoadSnapshot(project);
  if (!snapshot) return;
  const std::u16string logFailure = RunSyncPasses(project, Ref<AGPSchema>(snapshot)).logFailure;
  if (!logFailure.empty()) {
    ui::messageBox(logFailure, projectContext().productTitle, ui::Buttons::OK,
                   ui::Icon::Exclamation);
  }
}

}  // namespace vantorel
