#pragma once
// Ctrl-C as a cancel request. The host program opts in; the engine only polls the flag
// (through the progress display's cancel answer).
namespace vantorel::ui {

// The first Ctrl-C sets the flag; one more while it is set ends the program as Ctrl-C
// normally does.
void installInterruptHandler();
bool interruptRequested() noexcept;
void requestInterrupt() noexcept;
void clearInterrupt() noexcept;

}  // namespace vantorel::ui
