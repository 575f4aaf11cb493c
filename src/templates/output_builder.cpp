#include "templates/output_builder.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

const ClassInfo& TemplateOutputBuilder::classInfo() const noexcept {
  return MemberTable<TemplateOutputBuilder>::get(u"StringBuilder");
}

void TemplateOutputBuilder::appendOther(const Variant& piece) {
  if (piece.isArray()) raiseVbError(vberr::kTypeMismatch);
  const Variant value = defaultValue(piece);
  if (value.isNull() || value.isEmpty()) return;
  text_.append(value);
}

}  // namespace vantorel
