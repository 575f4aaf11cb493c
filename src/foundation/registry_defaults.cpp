#include "foundation/registry_defaults.hpp"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "foundation/c_registry.hpp"
#include "foundation/project_context.hpp"
#include "foundation/value_conversion.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/registry/reg_error.hpp"
#include "platform/registry/reg_hives.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

namespace {

std::shared_ptr<const reg::RegKey> userHive() {
  ProjectContext& context = projectContext();
  if (context.userHivePinned && context.pinnedUserHive) return context.pinnedUserHive;
  std::shared_ptr<const reg::RegKey> hive;
  try {
    hive = reg::hiveStore(reg::RegHive::CurrentUser)->snapshot();
  } catch (const reg::RegStoreError& e) {
    throw AutomationError(26001, u"cRegistry", fromUtf8(e.what()));
  }
  if (context.userHivePinned) context.pinnedUserHive = hive;
  return hive;
}

Variant defaultOf(const reg::RegKey* key, const SettingRecord& row, MissingDefault missing) {
  const reg::RegValue* stored = key ? key->findValue(row.name) : nullptr;
  if (!stored && missing == MissingDefault::TypedZero) return typedZero(row.type);
  Variant text = stored ? cRegistry::valueOf(*stored) : Variant(u"");
  return ConvertSetting(text, Variant(row.dataType));
}

}  // namespace

// The converted defaults of each catalog under each key new objects on the thread asked for,
// valid for one state of the store. A load asks for the same few catalogs once per object, so
// a short list searched in order serves them without making a key.
struct RegistryDefaultsCache {
  struct Entry {
    const SettingCatalog* catalog = nullptr;
    std::u16string userKey;
    MissingDefault missing = MissingDefault::TypedZero;
    bool filled = false;
    std::shared_ptr<const reg::RegKey> hive;
    std::vector<std::pair<SettingSlot, Variant>> values;
  };
  std::vector<Entry> entries;
};

namespace {

const RegistryDefaultsCache::Entry& cached(const SettingCatalog& catalog,
                                           std::u16string_view userKey, MissingDefault missing,
                                           const std::shared_ptr<const reg::RegKey>& hive) {
  std::shared_ptr<RegistryDefaultsCache>& cache = projectContext().registryDefaults;
  if (!cache) cache = std::make_shared<RegistryDefaultsCache>();
  std::vector<RegistryDefaultsCache::Entry>& entries = cache->entries;
  auto entry = std::find_if(entries.begin(), entries.end(), [&](const auto& e) {
    return e.catalog == &catalog && e.missing == missing && e.userKey == userKey;
  });
  if (entry == entries.end()) {
    entries.push_back({&catalog, std::u16string(userKey), missing});
    entry = std::prev(entries.end());
  }
  if (!entry->filled || entry->hive != hive) {
    entry->filled = true;
    entry->hive = hive;
    entry->values.clear();
    const reg::RegKey* key = hive ? hive->findPath(userKey) : nullptr;
    for (SettingSlot s = 0; s < catalog.size(); ++s) {
      if (catalog[s].regSave) entry->values.emplace_back(s, defaultOf(key, catalog[s], missing));
    }
  }
  return *entry;
}

}  // namespace

RegistryDefaultsScope::RegistryDefaultsScope() {
  ProjectContext& context = projectContext();
  if (context.userHivePinned) return;
  context.userHivePinned = true;
  context.userHiveWritten = false;
  outermost_ = true;
}

RegistryDefaultsScope::~RegistryDefaultsScope() {
  if (!outermost_) return;
  ProjectContext& context = projectContext();
  context.userHivePinned = false;
  context.userHiveWritten = false;
  context.pinnedUserHive.reset();
}

Variant typedZero(SettingType type) {
  switch (type) {
    case SettingType::String:
      return Variant(u"");
    case SettingType::Boolean:
      return Variant(false);
    case SettingType::Integer:
      return Variant(std::int16_t{0});
    case SettingType::Long:
      return Variant(std::int32_t{0});
    case SettingType::Single:
      return Variant(0.0f);
    case SettingType::Double:
      return Variant(0.0);
    case SettingType::Variant:
      break;
  }
  return Variant();
}

void loadRegistryDefaults(AGProperties& bag, std::u16string_view userKey, MissingDefault missing) {
  std::shared_ptr<const reg::RegKey> hive = userHive();
  const SettingCatalog* catalog = bag.catalog();
  if (catalog) {
    const bool asDeclared = bag.matchesCatalog();
    for (const auto& [slot, value] : cached(*catalog, userKey, missing, hive).values) {
      // A row whose declaration a caller edited is read by its own record below.
      if (asDeclared || bag.record(slot).regSave) bag.setting(slot) = value;
    }
    // Nothing added or edited: every registry-saved setting is a catalog row, done above.
    if (asDeclared) return;
  }
  const reg::RegKey* key = hive ? hive->findPath(userKey) : nullptr;
  const SettingSlot fixed = catalog ? catalog->size() : 0;
  std::vector<std::pair<SettingSlot, Variant>> others;
  bag.forEachSetting([&](SettingSlot slot, const SettingRecord& row, const Variant&) {
    const bool edited = slot < fixed && !(*catalog)[slot].regSave;
    if (row.regSave && (slot >= fixed || edited)) {
      others.emplace_back(slot, defaultOf(key, row, missing));
    }
  });
  for (auto& [slot, value] : others) bag.setValue(slot, std::move(value));
}

}  // namespace vantorel
