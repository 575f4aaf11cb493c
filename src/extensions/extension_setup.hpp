#pragma once
// The extensions layer put into the engine: its classes in the class factory, and what the
// layers below reach through their seams.

namespace vantorel {

class ClassFactory;

void registerExtensionClasses(ClassFactory& factory);
// What the layers below reach through their seams; once per process, at start-up.
void installExtensionSeams() noexcept;

}  // namespace vantorel
