#pragma once
// The update a project load runs when the user chose to bring the project in line with the
// snapshot its schema check holds.
namespace vantorel {

class AGP;

// The passes against the held snapshot; nothing without one. A log that could not be written is
// said once the project is complete; it stops nothing.
void SynchroniseLoadedProject(AGP& project);

}  // namespace vantorel
