#pragma once
// The schema layer's members of the project object (CheckDB and the custom-view entries),
// installed once at start-up.
namespace vantorel {

void installSchemaOperations() noexcept;

}  // namespace vantorel
