#pragma once
// Makes the script host's public classes creatable as "vantorel4.<class>".
#include "platform/automation/class_factory.hpp"

namespace vantorel {

void registerScriptHostClasses(ClassFactory& factory);

}  // namespace vantorel
