#include "fields/field_classes.hpp"

#include <string>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/foundation_classes.hpp"

namespace vantorel {

namespace {

template <class T>
void registerClass(ClassFactory& factory, std::u16string_view name) {
  factory.registerClass(std::u16string(kProgIdPrefix) + std::u16string(name),
                        [] { return Ref<Object>(makeRef<T>()); });
}

}  // namespace

void registerFieldClasses(ClassFactory& factory) {
  registerClass<AGPField>(factory, u"AGPField");
  registerClass<AGPFields>(factory, u"AGPFields");
}

}  // namespace vantorel
