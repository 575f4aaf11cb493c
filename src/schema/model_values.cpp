#include "schema/model_values.hpp"

#include "platform/text/case_fold.hpp"

namespace vantorel {

AGPField* fieldNamedExactly(AGPFields& fields, const std::u16string& name) {
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    if (field.FldName() == name) return &field;
  }
  return nullptr;
}

std::vector<AGPField*> fieldsForColumns(AGPFields& fields,
                                        const std::vector<std::u16string>& columns) {
  const auto count = static_cast<std::size_t>(fields.count());
  std::vector<AGPField*> out(columns.size(), nullptr);
  std::vector<bool> taken(count, false);
  auto namedByAColumn = [&](const std::u16string& name) {
    for (const std::u16string& c : columns) {
      if (c == name) return true;
    }
    return false;
  };
  // Exact names first, so that a case-only match never takes a field another column names.
  for (const bool exact : {true, false}) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (out[c]) continue;
      for (std::size_t i = 0; i < count; ++i) {
        AGPField& field = fields.at(i);
        const std::u16string name = field.FldName();
        const bool fits = exact ? name == columns[c]
                                : equalsNoCase(name, columns[c]) && !namedByAColumn(name);
        if (taken[i] || !fits) continue;
        taken[i] = true;
        out[c] = &field;
        break;
      }
    }
  }
  return out;
}

bool isTableOrView(const std::u16string& type) noexcept {
  return type == u"TABLE" || type == u"VIEW";
}

}  // namespace vantorel
