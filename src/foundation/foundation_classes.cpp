#include "foundation/foundation_classes.hpp"

#include <string>

#include "foundation/custom_settings.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/properties.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"

namespace vantorel {

void registerFoundationClasses(ClassFactory& factory) {
  registerEngineClass<AGProperty>(factory, u"AGProperty");
  registerEngineClass<AGProperties>(factory, u"AGProperties");
  registerEngineClass<AGPStringBuilder>(factory, u"AGPStringBuilder");
  registerEngineClass<AGPKeyword>(factory, u"AGPKeyword");
  registerEngineClass<AGPSettings>(factory, u"AGPSettings");
  registerEngineClass<AGPStatus>(factory, u"AGPStatus");
}

}  // namespace vantorel
