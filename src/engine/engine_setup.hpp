#pragma once
// The whole engine, put together once per process: every public class in the class factory,
// and the operations each layer gives the objects of the layers below it.

namespace vantorel {

class ClassFactory;

// Registers every engine class as "vantorel4.<Class>".
void registerEngineClasses(ClassFactory& factory);

// Installs the project object's members that later layers define (Save, Load, GenScript, ...).
void installEngineOperations() noexcept;

// Both of the above, for the process-wide class factory; a second call does nothing.
void setUpEngine();

}  // namespace vantorel
