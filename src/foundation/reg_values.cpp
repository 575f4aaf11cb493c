#include "foundation/reg_values.hpp"

#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

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
  cRegistry& registry = projectContext().registry;
  selectValue(registry, hive, section, valueName);
  Variant value = registry.Value();
  projectContext().lastRegValueType = registry.ValueType();
  return value;
}

void SetRegValue(const Variant& hive, const Variant& section, const Variant& valueName,
                 std::int32_t valueType, const Variant& value) {
  cRegistry& registry = projectContext().registry;
  selectValue(registry, hive, section, valueName);
  registry.ValueType(valueType);
  registry.Value(value);
}

}  // namespace vantorel
