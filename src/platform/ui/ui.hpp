#pragma once
// The engine's one user-interface service: message boxes, the engine's questions and the
// progress display. One per process, safe to call from any thread; the back-end is chosen on
// first use (see backend.hpp) unless a test installed one. Calls are serialised, so while a
// question waits at the terminal, progress updates from other threads wait with it.
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ui/backend.hpp"
#include "platform/ui/types.hpp"

namespace vantorel::ui {

// defaultButton is the position of the default among the buttons, as MsgBox numbers it;
// a position past the last button means the first.
Answer messageBox(std::u16string_view text, std::u16string_view title = {},
                  Buttons buttons = Buttons::OK, Icon icon = Icon::None, int defaultButton = 0);

// Yes, YesToAll, No, NoToAll or Cancel.
Answer askOverwrite(std::u16string_view text, std::u16string_view title,
                    Answer defaultButton = Answer::No);
// Keep, Update or Cancel.
Answer askKeepOrUpdate(std::u16string_view text, std::u16string_view title,
                       Answer defaultButton = Answer::Keep);
// Keep, Overwrite or Cancel: files on disk against their newer source.
Answer askKeepOrOverwrite(std::u16string_view text, std::u16string_view title,
                          Answer defaultButton = Answer::Keep);
// The chosen item (0-based), nothing when cancelled.
std::optional<std::size_t> pickOne(std::u16string_view text, std::u16string_view title,
                                   const std::vector<std::u16string>& items,
                                   std::size_t defaultItem = 0);

// The chosen item's text or a typed name (never empty); nothing when cancelled, or when an
// unattended run has no item to take.
std::optional<std::u16string> pickOrType(std::u16string_view text, std::u16string_view title,
                                         const std::vector<std::u16string>& items);

Reply ask(const Question& question);

// Progress displays. Handles are > 0; calls with a handle that is not open do nothing.
int openProgress(std::u16string_view caption, ProgressLook look = ProgressLook::Standard);
void setProgressStatus(int handle, std::u16string_view text);
// Clamped to 0..100.
void setProgressPercent(int handle, int percent);
// True after Cancel in that display or after Ctrl-C (the latter also for handle 0).
bool isProgressCancelled(int handle);
void closeProgress(int handle);
// Called by long operations between steps.
void yieldToHost();

// Holds a display open for a scope.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(std::u16string_view caption, ProgressLook look = ProgressLook::Standard)
      : handle_(openProgress(caption, look)) {}
  ~ProgressDisplay() { close(); }
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  int handle() const noexcept { return handle_; }
  void status(std::u16string_view text) { setProgressStatus(handle_, text); }
  void percent(int value) { setProgressPercent(handle_, value); }
  bool isCancelled() { return isProgressCancelled(handle_); }
  void close() {
    if (handle_ > 0) closeProgress(handle_);
    handle_ = 0;
  }

 private:
  int handle_;
};

// Unattended runs (no terminal, or scripted answers) have no one to read a message box: the
// service says each one on standard error with the answer it took, and counts it. Warnings and
// unwritten outputs go through here too, so that the host sees everything in one place.

// A message that needs no answer: said on standard error with any back-end, and counted.
void warn(std::u16string_view text);
// An output the run could not write, and the system's reason. Kept for the host, which names
// each one when the run ends; the caller still shows its own message.
void reportUnwritten(std::u16string_view path, std::u16string_view reason);

// A part of its output the run went on without (an extension it disabled), and why. Kept for
// the host as an unwritten output is: a run that left pages out must not end as a success.
void reportLeftOut(std::u16string_view what, std::u16string_view reason);

struct Unwritten {
  std::u16string path;
  std::u16string reason;
  friend bool operator==(const Unwritten&, const Unwritten&) = default;
};
struct LeftOut {
  std::u16string what;
  std::u16string reason;
  friend bool operator==(const LeftOut&, const LeftOut&) = default;
};
struct Notices {
  std::size_t said = 0;  // messages put on standard error: unattended message boxes, warnings
  std::vector<Unwritten> unwritten;
  std::vector<LeftOut> leftOut;
};
// What was reported since the last call, which starts the count afresh.
Notices takeNotices();

// Installs `backend` for every thread; nullptr returns to the automatic choice, made afresh
// on next use. Displays still open are forgotten.
void setBackendForTesting(std::shared_ptr<Backend> backend);

}  // namespace vantorel::ui
