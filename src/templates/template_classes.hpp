#pragma once
// Makes the template engine's public classes creatable as "vantorel4.<class>".
#include "platform/automation/class_factory.hpp"

namespace vantorel {

void registerTemplateClasses(ClassFactory& factory);

}  // namespace vantorel
