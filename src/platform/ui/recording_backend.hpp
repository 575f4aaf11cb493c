#pragma once
// The back-end for tests: keeps every call in order and answers from a queue the test fills;
// with the queue empty, a question gets its default.
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/backend.hpp"

namespace vantorel::ui {

class RecordingBackend : public Backend {
 public:
  struct Event {
    enum class Kind { Asked, Opened, Status, Percent, Closed, Said };
    Kind kind;
    int handle = 0;
    std::u16string text;  // caption, status line or what was said
    int percent = 0;
    ProgressLook look = ProgressLook::Standard;
    Question question;  // Asked
    Reply reply;        // Asked: what was answered
  };

  void queueAnswer(Answer answer);
  void queuePick(std::size_t item);  // 0-based
  void queueTyped(std::u16string name);
  // The user presses Cancel in that display.
  void cancel(int handle);
  // Plays an unattended run: the service then says every message box it is asked.
  void setUnattended(bool on) { unattended_ = on; }

  std::vector<Event> events() const;
  std::vector<Event> events(Event::Kind kind) const;
  void clearEvents();

  Reply ask(const Question& question) override;
  void progressOpened(int handle, std::u16string_view caption, ProgressLook look) override;
  void progressStatus(int handle, std::u16string_view text) override;
  void progressPercent(int handle, int percent) override;
  bool progressCancelled(int handle) override;
  void progressClosed(int handle) override;
  bool unattended() const override { return unattended_; }
  void say(std::u16string_view text) override;

 private:
  void record(Event e);

  mutable std::mutex mutex_;
  std::vector<Event> events_;
  std::deque<Reply> queue_;
  std::set<int> cancelled_;
  bool unattended_ = false;
};

}  // namespace vantorel::ui
