// AGP.CheckDB: a fresh snapshot of the live schema, and the sum of the three passes over it.
#include "schema/difference_check.hpp"

#include "agp/agp.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "foundation/sql_quoting.hpp"
#include "model/database.hpp"
#include "schema/live_schema.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

namespace {

// Holds the snapshot in the project's slot for the length of one check.
class HeldSnapshot {
 public:
  explicit HeldSnapshot(AGP& project) : project_(project), snapshot_(makeRef<AGPSchema>()) {
    project_.schemaSnapshot() = snapshot_;
  }
  ~HeldSnapshot() { project_.schemaSnapshot() = nullptr; }
  HeldSnapshot(const HeldSnapshot&) = delete;
  HeldSnapshot& operator=(const HeldSnapshot&) = delete;
  AGPSchema& get() const noexcept { return *snapshot_; }

 private:
  AGP& project_;
  Ref<AGPSchema> snapshot_;
};

}  // namespace

std::int16_t CheckDB(AGP& project) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return 0;
  ProjectContext& context = projectContext();
  context.statusText = context.productTitle + u" - Database Synchronization check...";
  HeldSnapshot snapshot(project);
  loadLiveSchema(snapshot.get(), *db, u"");
  if (!context.lastErrorText.empty()) return -1;
  // A partial picture ends the check before anything is compared or changed.
  const std::int32_t tables = CheckTablesViews(project, snapshot.get());
  if (tables < 0) return -1;
  const std::int32_t views = CheckCustomViews(project);
  const std::int32_t reports = CheckReports(project);
  return static_cast<std::int16_t>(tables + views + reports);
}

bool FieldTypeNamesEmpty(AGP& project) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return false;
  AGProperties& bag = db->properties();
  const std::int16_t kind = GetDbmsType(settingAsText(bag.setting(kDBDBMSName)));
  const bool needsNames =
      kind == kDbmsSqlServer ||
      (kind == kDbmsPostgreSql && !settingAsText(bag.setting(kDBConnstr)).empty());
  if (!needsNames) return false;
  AGPTables& tables = db->tables();
  for (std::int32_t i = 0; i < tables.count(); ++i) {
    AGPFields& fields = tables.at(static_cast<std::size_t>(i)).fields();
    for (std::int32_t j = 0; j < fields.count(); ++j) {
      const AGProperties& fld = fields.at(static_cast<std::size_t>(j)).properties();
      if (settingAsText(fld.setting(kFldTypeName)).empty() &&
          settingAsBool(fld.setting(kFldSupport))) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace vantorel
