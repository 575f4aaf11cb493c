#include "sync/sync_settings.hpp"

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "project/project_catalogue.hpp"
#include "sync/sync_run.hpp"

namespace vantorel {

void SetSyncDefaults(SyncRun& run) {
  copyDateFormatSetting(run.project.properties());
  projectContext().currentSecDefault = settingAsText(run.db.properties().setting(kSecDefault));
}

}  // namespace vantorel
