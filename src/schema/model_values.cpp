#include "schema/model_values.hpp"

namespace vantorel {

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
