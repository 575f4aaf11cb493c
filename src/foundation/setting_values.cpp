#include "foundation/setting_values.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

bool settingAsBool(const Variant& value) {
  if (value.isNull() || value.isEmpty()) return false;
  try {
    return toBool(value);
  } catch (const AutomationError&) {
    return false;
  }
}

std::int32_t settingAsLong(const Variant& value) noexcept {
  try {
    return toLong(value);
  } catch (...) {
    return 0;
  }
}

std::int16_t settingAsInteger(const Variant& value) noexcept {
  try {
    return toInteger(value);
  } catch (...) {
    return 0;
  }
}

std::u16string settingAsText(const Variant& value) {
  if (value.isEmpty() || value.isNull()) return {};
  return toString(value);
}

std::u16string settingText(const Variant& value) {
  try {
    return settingAsText(value);
  } catch (const AutomationError&) {
    return {};
  }
}

}  // namespace vantorel
