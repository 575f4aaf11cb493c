#include "projectfile/project_defaults.hpp"

#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "foundation/properties.hpp"
#include "foundation/reg_values.hpp"
#include "model/database.hpp"
#include "project/project_state.hpp"

namespace vantorel {

namespace {

// Registry value types.
constexpr std::int32_t kRegText = 1;
constexpr std::int32_t kRegNumber = 4;

void writeValue(const std::u16string& key, const std::u16string& name, std::int32_t type,
                const Variant& value) {
  RegValueName() = name;
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
  writeRegSaveSettings(project.properties(), ProjectKey());
  if (const Ref<AGPDatabase> db = project.DB()) {
    writeRegSaveSettings(db->properties(), DatabaseKey());
  }
  // Nothing gives the project a language of its own; the value is kept for hosts that read it.
  writeValue(GeneralKey(), u"Language", kRegText, Variant(u""));
  writeValue(GeneralKey(), u"BackupFile", kRegText, Variant(project.BackupFileFlag()));
  writeValue(GeneralKey(), u"USERCODE", kRegText, Variant(project.UserCodePath()));
  writeValue(GeneralKey(), u"ScriptEngineTimeout", kRegNumber, Variant(ScriptEngineTimeout()));
}

}  // namespace vantorel
