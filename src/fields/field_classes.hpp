#pragma once
// Makes the field model's public classes creatable by ProgID ("vantorel4.<class>").
#include "platform/automation/class_factory.hpp"

namespace vantorel {

void registerFieldClasses(ClassFactory& factory);

}  // namespace vantorel
