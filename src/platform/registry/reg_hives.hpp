#pragma once
// The three hives the engine reaches and the store file of each:
//   HKEY_CURRENT_USER   <user config folder>/registry.reg   read and written
//   HKEY_LOCAL_MACHINE  <data folder>/machine.reg           read only
//   HKEY_CLASSES_ROOT   <user config folder>/classes.reg    read and written (file types)
// The folders are looked up on every call, so a changed VANTOREL_HOME or VANTOREL_DATA_DIR
// takes effect at once.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/reg_store.hpp"

namespace vantorel::reg {

enum class RegHive { ClassesRoot, CurrentUser, LocalMachine };

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE".
std::u16string_view hiveName(RegHive hive) noexcept;
// The hive of a full name or its short form (HKCR, HKCU, HKLM), without regard to case.
std::optional<RegHive> hiveFromName(std::u16string_view name) noexcept;

std::u16string hiveStorePath(RegHive hive);
// The process's one store object for the hive's current file; shared by all threads.
std::shared_ptr<RegStore> hiveStore(RegHive hive);

}  // namespace vantorel::reg
