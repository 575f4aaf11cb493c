#include "schema/load_check.hpp"

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "platform/ui/ui.hpp"
#include "project/project_catalogue.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

std::optional<std::u16string> TakeLoadSnapshot(AGP& project, const SnapshotSource& source) {
  ProjectContext& context = projectContext();
  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  project.schemaSnapshot() = snapshot;
  std::u16string name = source.name;
  if (const Ref<AGPDatabase> db = project.DB()) expectStoredObjects(*snapshot, *db);
  snapshot->useSqlQuoteSetting(settingAsText(project.properties().setting(kProjSQLQuote)));
  context.lastErrorText.clear();
  snapshot->LoadDB(name, source.type, source.path, source.phyPath, source.useServerMapPath,
                   source.uid, source.pwd, source.connStr, source.schema, u"");
  std::optional<std::u16string> reason;
  if (!context.lastErrorText.empty()) {
    reason = context.lastErrorText;
  } else if (const Ref<AGPDatabase> db = project.DB()) {
    reason = incompleteSnapshot(*snapshot, *db);
  }
  if (reason) context.lastErrorText.clear();
  return reason;
}

std::int16_t CountLoadDifferences(AGP& project) {
  AGPSchema* snapshot = HeldLoadSnapshot(project);
  if (!snapshot || !project.DB()) return 0;
  const std::int32_t tables = CheckTablesViews(project, *snapshot);
  // A snapshot that cannot be compared was refused when it was taken; should one get here, it
  // shows no difference rather than a count that would invite an update.
  if (tables < 0) return 0;
  return static_cast<std::int16_t>(tables + CheckCustomViews(project) + CheckReports(project));
}

AGPSchema* HeldLoadSnapshot(AGP& project) {
  return dynamic_cast<AGPSchema*>(project.schemaSnapshot().get());
}

void ReleaseLoadSnapshot(AGP& project) {
  project.schemaSnapshot() = nullptr;
  projectContext().lastErrorText.clear();
}

}  // namespace vantorel
