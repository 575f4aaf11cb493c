#pragma once
// The extensions layer put into the engine: its classes in the class factory, and what the
// layers below reach through their seams.

namespace vantorel {

class ClassFactory;

void registerExtensionClasses(ClassFactory& factory);
// Once per process, at start-up.
void installExtensionOperations() noexcept;
// The seams alone (part of installExtensionOperations).
void installExtensionSeams() noexcept;

}  // namespace vantorel
