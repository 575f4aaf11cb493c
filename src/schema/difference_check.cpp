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

const std::u16string& CheckNotes::text() const noexcept {
  static const std::u16string nothing;
  return said_ ? *said_ : nothing;
}

namespace {

std::int16_t checkDifferences(AGP& project, AGPDatabase& db, AGPSchema& snapshot,
                              CheckNotes& notes) {
  if (Expected<> read = loadLiveSchema(snapshot, db, u""); !read) {
    notes.say(std::move(read.failure().text));
    return -1;
  }
  // A partial picture ends the check before anything is compared or changed.
  Expected<std::int16_t> tables = CheckTablesViews(project, snapshot, notes);
  if (!tables) {
    notes.say(std::move(tables.failure().text));
    return -1;
  }
  const std::int32_t views = CheckCustomViews(project, notes);
  const std::int32_t reports = CheckReports(project, notes);
  return static_cast<std::int16_t>(*tables + views + reports);
}

}  // namespace

std::int16_t CheckDB(AGP& project) {
  const Ref<AGPDatabase> db = project.DB();
  if (!db) return 0;
  ProjectContext& context = projectContext();
  context.statusText = context.productTitle + u" - Database Synchronization check...";
  context.lastErrorText.clear();
  HeldSnapshot snapshot(project);
  CheckNotes notes;
  const std::int16_t count = checkDifferences(project, *db, snapshot.get(), notes);
  context.lastErrorText = notes.text();
  return count;
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
