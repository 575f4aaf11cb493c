#include "projectfile/schema_check_handler.hpp"

#include "agp/menu_sync.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "projectfile/project_file_seams.hpp"
#include "schema/difference_check.hpp"
#include "schema/load_check.hpp"

namespace vantorel {

namespace {

bool flagOf(const Variant& value) {
  try {
    return !value.isNull() && !value.isEmpty() && toBool(value);
  } catch (const AutomationError&) {
    return false;
  }
}

class SchemaCheckHandler final : public ProjectSchemaSync {
 public:
  void loadSnapshot(AGP& project, const StoredConnection& c) override {
    const SnapshotSource source{c.name, c.type, c.path,   c.phyPath, flagOf(c.useServerMapPath),
                                c.uid,  c.pwd,  c.connStr, c.schema};
    if (std::optional<std::u16string> reason = TakeLoadSnapshot(project, source)) {
      throw AutomationError(vberr::kInvalidProcedureCall, std::move(*reason));
    }
  }
  std::int16_t countDifferences(AGP& project) override { return CountLoadDifferences(project); }
  bool fieldTypeNamesEmpty(AGP& project) override { return FieldTypeNamesEmpty(project); }
  void synchronise(AGP& project, const std::u16string& scope) override {
    SynchroniseLoadedProject(project, scope);
  }
  void syncMenus(AGP& project) override { SyncMenus(project); }
  void releaseSnapshot(AGP& project) override { ReleaseLoadSnapshot(project); }
};

}  // namespace

void installProjectSchemaSync() noexcept {
  static SchemaCheckHandler handler;
  setProjectSchemaSync(&handler);
}

}  // namespace vantorel
