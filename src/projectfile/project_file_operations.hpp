#pragma once
// Gives the project object its Save, Load and SaveDefault members; called once at start-up.

namespace vantorel {

void installProjectFileOperations() noexcept;

}  // namespace vantorel
