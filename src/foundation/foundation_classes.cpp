#include "foundation/foundation_classes.hpp"

#include <string>

#include "foundation/custom_settings.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/properties.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"

namespace vantorel {

namespace {

template <class T>
void registerClass(ClassFactory& factory, std::u16string_view name) {
  factory.registerClass(std::u16string(kProgIdPrefix) + std::u16string(name),
                        [] { return Ref<Object>(makeRef<T>()); });
}

}  // namespace

void registerFoundationClasses(ClassFactory& factory) {
  registerClass<AGProperty>(factory, u"AGProperty");
  registerClass<AGProperties>(factory, u"AGProperties");
  registerClass<AGPStringBuilder>(factory, u"AGPStringBuilder");
  registerClass<AGPKeyword>(factory, u"AGPKeyword");
  registerClass<AGPSettings>(factory, u"AGPSettings");
  registerClass<AGPStatus>(factory, u"AGPStatus");
}

}  // namespace vantorel
