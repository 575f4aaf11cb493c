#pragma once
// Makes the foundation's public classes creatable by ProgID ("vantorel4.<class>"), as an
// automation server registers them.
#include "platform/automation/class_factory.hpp"

namespace vantorel {

inline constexpr char16_t kProgIdPrefix[] = u"vantorel4.";

void registerFoundationClasses(ClassFactory& factory);

}  // namespace vantorel
