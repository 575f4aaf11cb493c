#include "schema/model_values.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

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

AGPField* fieldNamedExactly(AGPFields& fields, const std::u16string& name) {
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    if (field.FldName() == name) return &field;
  }
  return nullptr;
}

bool isTableOrView(const std::u16string& type) noexcept {
  return type == u"TABLE" || type == u"VIEW";
}

}  // namespace vantorel
