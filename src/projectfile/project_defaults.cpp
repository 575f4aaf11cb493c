#include "projectfile/project_defaults.hpp"

#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/c_registry.hpp"
#include "foundation/project_context.hpp"
#include "foundation/properties.hpp"
#include "foundation/reg_values.hpp"
#include "model/database.hpp"

namespace vantorel {

namespace {

// Registry value types.
constexpr std::int32_t kRegText = 1;
constexpr std::int32_t kRegNumber = 4;

void writeValue(const std::u16string& key, const std::u16string& name, std::int32_t type,
                const Variant& value) {
  SetRegValue(Variant(u"HKCU"), Variant(key), Variant(name), type, value);
}

void writeRegSaveSettings(const AGProperties& bag, const std::u16string& key) {
  struct Row {
    std::u16string name;
    std::int32_t format;
    Variant value;
  };
  std::vector<Row> rows;
  bag.forEachSetting([&](SettingSlot, const SettingRecord& record, const Variant& value) {
    if (record.regSave) rows.push_back({record.name, record.regFormat, value});
  });
  for (const Row& row : rows) writeValue(key, row.name, row.format, row.value);
}

}  // namespace

void saveProjectDefaults(AGP& project) {
  // One write of the store for the whole call; a failure on the way writes nothing.
  RegistryBatch batch(projectContext().registry);
  writeRegSaveSettings(project.properties(), projectContext().projectKey);
  if (const Ref<AGPDatabase> db = project.DB()) {
    writeRegSaveSettings(db->properties(), projectContext().databaseKey);
  }
  // Nothing gives the project a language of its own; the value is kept for hosts that read it.
  writeValue(projectContext().generalKey, u"Language", kRegText, Variant(u""));
  writeValue(projectContext().generalKey, u"BackupFile", kRegText,
             Variant(project.BackupFileFlag()));
  writeValue(projectContext().generalKey, u"USERCODE", kRegText, Variant(project.UserCodePath()));
  writeValue(projectContext().generalKey, u"ScriptEngineTimeout", kRegNumber,
             Variant(projectContext().scriptEngineTimeout));
  batch.commit();
}

}  // namespace vantorel
