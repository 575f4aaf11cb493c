// The user's defaults of a project and the first-run copy of the machine-wide settings.
#include <vector>

#include "agp/agp.hpp"
#include "foundation/c_registry.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/value_conversion.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "project/project_catalogue.hpp"

namespace vantorel {

namespace {

// The registry value's text; a missing value gives the empty text.
std::u16string regText(const std::u16string& key, const std::u16string& name) {
  return toString(GetRegValue(u"HKCU", key, name));
}

}  // namespace

void AGP::LoadDefault() {
  AGProperties& bag = properties();
  struct Row {
    SettingSlot slot;
    std::u16string name;
    std::u16string dataType;
  };
  std::vector<Row> rows;
  bag.forEachSetting([&](SettingSlot slot, const SettingRecord& record, const Variant&) {
    if (record.regSave) rows.push_back({slot, record.name, record.dataType});
  });
  for (const Row& row : rows) {
    bag.setValue(row.slot, ConvertSetting(Variant(regText(projectContext().projectKey, row.name)),
                                          Variant(row.dataType)));
  }

  projectContext().languageFolderPath = regText(projectContext().generalKey, u"LanguageFolder");
  backupFileFlag_ = toBool(ConvertSetting(
      Variant(regText(projectContext().generalKey, u"BackupFile")), Variant(u"Boolean")));
  copyDateFormatSetting(bag);
  userCodePath_ = regText(projectContext().generalKey, u"USERCODE");
  projectContext().scriptEngineTimeout = toLong(ConvertSetting(
      Variant(regText(projectContext().generalKey, u"ScriptEngineTimeout")), Variant(u"Long")));

  applyProjectFixedValues(bag);

  const std::int16_t threshold =
      toInteger(GetRegValue(u"HKCU", projectContext().generalKey, u"UnloadThresholdCount"));
  unloadThreshold_ = threshold < 1 ? static_cast<std::int16_t>(20) : threshold;
}

void AGP::CopyDefaultSettings(bool missingOnly) {
  RegistryBatch batch(projectContext().registry);
  // The advanced filters were copied first, whole, before any general value existed; a user who
  // has removed some of them must not get them back.
  if (!missingOnly) CopyRegistryKey(projectContext().advancedFiltersKey, false);
  CopyRegistryKey(projectContext().settingsKey, missingOnly);
  CopyRegistryKey(projectContext().extensionsKey, missingOnly);
  // A store that cannot be written is not reported: the user's copy simply lacks the values.
  try {
    batch.commit();
  } catch (const AutomationError&) {
  }
}

void AGP::CopyRegistryKey(const std::u16string& key, bool missingOnly) {
  cRegistry& registry = projectContext().registry;
  std::vector<std::u16string> names;
  std::int32_t count = 0;
  registry.ClassKey(kHkeyLocalMachine);
  registry.SectionKey(key);
  if (registry.EnumerateValues(names, count)) {
    for (const std::u16string& name : names) {
      if (missingOnly) {
        registry.ClassKey(kHkeyCurrentUser);
        registry.SectionKey(key);
        registry.ValueKey(name);
        if (registry.ValueExists()) continue;
      }
      const Variant value = GetRegValue(u"HKLM", key, name);
      // Write failures are not reported: the user's copy simply lacks the value.
      try {
        SetRegValue(u"HKCU", key, name, projectContext().lastRegValueType, value);
      } catch (const AutomationError&) {
      }
    }
  }
  std::vector<std::u16string> subkeys;
  registry.ClassKey(kHkeyLocalMachine);
  registry.SectionKey(key);
  if (registry.EnumerateSections(subkeys, count)) {
    for (const std::u16string& subkey : subkeys) CopyRegistryKey(key + u"\\" + subkey, missingOnly);
  }
}

}  // namespace vantorel
