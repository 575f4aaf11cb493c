#pragma once
// The two ways a generation or a check ends early. Both close the progress display and raise
// error -1 to the caller of GenScript or GenCheck, whose ProjErr then reads the message.
namespace vantorel {

// The user cancelled: LastErrorText becomes "Generation cancelled by user!".
[[noreturn]] void RaiseCancelled();
// A fatal error whose message the caller has left in LastErrorText.
[[noreturn]] void RaiseGenError();

}  // namespace vantorel
