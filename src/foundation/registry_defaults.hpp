#pragma once
// The current user's defaults for new objects: every RegSave setting of a bag read from one
// registry key, value name = setting name, converted by the setting's type.
#include <string_view>

#include "foundation/properties.hpp"

namespace vantorel {

enum class MissingDefault {
  // A missing value is converted from the empty text: "" for a String setting, Empty otherwise.
  EmptyText,
  // A missing value gives the type's zero: "", False or 0.
  TypedZero,
};

// Store failures raise as the registry accessor raises them. The converted defaults of a
// catalog are kept per thread until the store changes, so making thousands of objects does not
// read and convert the same values thousands of times.
void loadRegistryDefaults(AGProperties& bag, std::u16string_view userKey, MissingDefault missing);

// While one exists on a thread, new objects there take their defaults from the store as it was
// when the outermost one began, so a bulk load need not look at the store file for each of its
// thousands of objects. Changes made to the store meanwhile are seen after it ends.
class RegistryDefaultsScope {
 public:
  RegistryDefaultsScope();
  ~RegistryDefaultsScope();
  RegistryDefaultsScope(const RegistryDefaultsScope&) = delete;
  RegistryDefaultsScope& operator=(const RegistryDefaultsScope&) = delete;

 private:
  bool outermost_ = false;
};

// The zero of a setting type: "", False, 0 or Empty.
Variant typedZero(SettingType type);

}  // namespace vantorel
