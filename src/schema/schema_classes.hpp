#pragma once
// Registers the schema layer's public classes with the class factory.
#include "platform/automation/class_factory.hpp"

namespace vantorel {

void registerSchemaClasses(ClassFactory& factory);

}  // namespace vantorel
