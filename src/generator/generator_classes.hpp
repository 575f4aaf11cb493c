#pragma once
// Makes the generation subsystem's public classes creatable as "vantorel4.<class>".
#include "platform/automation/class_factory.hpp"

namespace vantorel {

void registerGeneratorClasses(ClassFactory& factory);

}  // namespace vantorel
