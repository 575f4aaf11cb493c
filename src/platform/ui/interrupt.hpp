#pragma once
// Ctrl-C as a cancel request. The host program opts in; the engine only polls the flag
// (through the progress display's cancel answer).
namespace vantorel::ui {

// The first Ctrl-C (or SIGTERM) sets the flag; one more while it is set ends the program as
// that signal normally does.
void installInterruptHandler();
bool interruptRequested() noexcept;
// The signal that set the flag: SIGINT unless SIGTERM did.
int interruptSignal() noexcept;
void clearInterrupt() noexcept;

}  // namespace vantorel::ui
