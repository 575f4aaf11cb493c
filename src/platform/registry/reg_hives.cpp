#include "platform/registry/reg_hives.hpp"

#include <map>
#include <mutex>

#include "platform/fs/path.hpp"
#include "platform/sys/folders.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel::reg {

std::u16string_view hiveName(RegHive hive) noexcept {
  switch (hive) {
    case RegHive::ClassesRoot:
      return u"HKEY_CLASSES_ROOT";
    case RegHive::CurrentUser:
      return u"HKEY_CURRENT_USER";
    case RegHive::LocalMachine:
      return u"HKEY_LOCAL_MACHINE";
  }
  return {};
}

std::optional<RegHive> hiveFromName(std::u16string_view name) noexcept {
  static constexpr struct {
    RegHive hive;
    std::u16string_view full, abbreviation;
  } kHives[] = {{RegHive::ClassesRoot, u"HKEY_CLASSES_ROOT", u"HKCR"},
                {RegHive::CurrentUser, u"HKEY_CURRENT_USER", u"HKCU"},
                {RegHive::LocalMachine, u"HKEY_LOCAL_MACHINE", u"HKLM"}};
  for (const auto& entry : kHives) {
    if (equalsNoCase(name, entry.full) || equalsNoCase(name, entry.abbreviation)) {
      return entry.hive;
    }
  }
  return std::nullopt;
}

std::u16string hiveStorePath(RegHive hive) {
  switch (hive) {
    case RegHive::ClassesRoot:
      return fs::joinPath(sys::userConfigFolder(), u"classes.reg");
    case RegHive::CurrentUser:
      return fs::joinPath(sys::userConfigFolder(), u"registry.reg");
    case RegHive::LocalMachine:
      return fs::joinPath(sys::dataFolder(), u"machine.reg");
  }
  return {};
}

std::shared_ptr<RegStore> hiveStore(RegHive hive) {
  static std::mutex guard;
  static std::map<std::pair<RegHive, std::u16string>, std::shared_ptr<RegStore>> stores;
  std::u16string path = hiveStorePath(hive);
  std::lock_guard lock(guard);
  auto& store = stores[{hive, path}];
  if (!store) {
    store = std::make_shared<RegStore>(path, std::u16string(hiveName(hive)),
                                       hive == RegHive::LocalMachine);
  }
  return store;
}

}  // namespace vantorel::reg
