#pragma once
// The schema layer's members of the project object (CheckDB and the custom-view entries),
// installed once at start-up.
namespace vantorel {

class ClassFactory;

void registerSchemaClasses(ClassFactory& factory);
void installSchemaOperations() noexcept;

}  // namespace vantorel
