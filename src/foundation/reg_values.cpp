#include "foundation/reg_values.hpp"

#include "platform/automation/variant_convert.hpp"

namespace vantorel {

std::int32_t& LastRegValueType() {
  thread_local std::int32_t value = 0;
  return value;
}
std::u16string& RegValueName() {
  thread_local std::u16string value;
  return value;
}

cRegistry& Registry() {
  thread_local cRegistry registry;
  return registry;
}

namespace {

void selectValue(cRegistry& registry, const Variant& hive, const Variant& section,
                 const Variant& valueName) {
  // Only the exact spelling selects the machine-wide tree.
  registry.ClassKey(toString(hive) == u"HKLM" ? kHkeyLocalMachine : kHkeyCurrentUser);
  registry.SectionKey(toString(section));
  registry.ValueKey(toString(valueName));
}

}  // namespace

Variant GetRegValue(const Variant& hive, const Variant& section, const Variant& valueName) {
  cRegistry& registry = Registry();
  selectValue(registry, hive, section, valueName);
  Variant value = registry.Value();
  LastRegValueType() = registry.ValueType();
  return value;
}

void SetRegValue(const Variant& hive, const Variant& section, const Variant& valueName,
                 std::int32_t valueType, const Variant& value) {
  cRegistry& registry = Registry();
  selectValue(registry, hive, section, valueName);
  registry.ValueType(valueType);
  registry.Value(value);
}

}  // namespace vantorel
