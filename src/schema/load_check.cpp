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

Expected<> TakeLoadSnapshot(AGP& project, const SnapshotSource& source) {
  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  project.schemaSnapshot() = snapshot;
  std::u16string name = source.name;
  const Ref<AGPDatabase> db = project.DB();
  if (db) expectStoredObjects(*snapshot, *db);
  snapshot->useSqlQuoteSetting(settingAsText(project.properties().setting(kProjSQLQuote)));
  Expected<> read =
      snapshot->read(name, source.type, source.path, source.phyPath, source.useServerMapPath,
                     source.uid, source.pwd, source.connStr, source.schema, u"");
  if (!read || !db) return read;
  return snapshotIsWhole(*snapshot, *db);
}

std::int16_t CountLoadDifferences(AGP& project) {
  AGPSchema* snapshot = HeldLoadSnapshot(project);
  if (!snapshot || !project.DB()) return 0;
  // What the passes note goes nowhere: the load's own ending says what it has to.
  CheckNotes notes;
  const Expected<std::int16_t> tables = CheckTablesViews(project, *snapshot, notes);
  // A snapshot that cannot be compared was refused when it was taken; should one get here, it
  // shows no difference rather than a count that would invite an update.
  if (!tables) return 0;
  return static_cast<std::int16_t>(*tables + CheckCustomViews(project, notes) +
                                   CheckReports(project, notes));
}

AGPSchema* HeldLoadSnapshot(AGP& project) {
  return dynamic_cast<AGPSchema*>(project.schemaSnapshot().get());
}

void ReleaseLoadSnapshot(AGP& project) {
  project.schemaSnapshot() = nullptr;
  projectContext().lastErrorText.clear();
}

}  // namespace vantorel
