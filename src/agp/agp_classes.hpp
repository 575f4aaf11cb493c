#pragma once
// Makes the project object creatable as "vantorel4.AGP".
#include "platform/automation/class_factory.hpp"

namespace vantorel {

void registerAgpClasses(ClassFactory& factory);

}  // namespace vantorel
