#include "templates/output_builder.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

const ClassInfo& TemplateOutputBuilder::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"StringBuilder", [](ClassInfo& c) {
    ClassBuilder<TemplateOutputBuilder>(c)
        .method<&TemplateOutputBuilder::append>(u"Append")
        .method<&TemplateOutputBuilder::toString>(u"ToString")
        .method<&TemplateOutputBuilder::clear>(u"Clear")
        .get<&TemplateOutputBuilder::length>(u"Length");
  });
  return info;
}

void TemplateOutputBuilder::appendOther(const Variant& piece) {
  if (piece.isArray()) raiseVbError(vberr::kTypeMismatch);
  const Variant value = defaultValue(piece);
  if (value.isNull() || value.isEmpty()) return;
  text_.append(value);
}

}  // namespace vantorel
