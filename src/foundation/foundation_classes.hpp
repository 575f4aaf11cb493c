#pragma once
// Makes the foundation's public classes creatable by ProgID ("vantorel4.<class>"), as an
// automation server registers them.
#include <string>
#include <string_view>

#include "platform/automation/class_factory.hpp"

namespace vantorel {

inline constexpr char16_t kProgIdPrefix[] = u"vantorel4.";

// Registers T as "vantorel4.<name>", made by its default constructor.
template <class T>
void registerEngineClass(ClassFactory& factory, std::u16string_view name) {
  factory.registerClass(std::u16string(kProgIdPrefix) + std::u16string(name),
                        [] { return Ref<Object>(makeRef<T>()); });
}

void registerFoundationClasses(ClassFactory& factory);

}  // namespace vantorel
