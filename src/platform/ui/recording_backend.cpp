#include "platform/ui/recording_backend.hpp"

#include <utility>

namespace vantorel::ui {

void RecordingBackend::queueAnswer(Answer answer) {
  std::lock_guard lock(mutex_);
  queue_.push_back(Reply{answer, 0});
}

void RecordingBackend::queuePick(std::size_t item) {
  std::lock_guard lock(mutex_);
  queue_.push_back(Reply{Answer::OK, item});
}

void RecordingBackend::queueTyped(std::u16string name) {
  queue_.push_back(Reply{Answer::OK, 0, std::move(name)});
}

void RecordingBackend::cancel(int handle) {
  std::lock_guard lock(mutex_);
  cancelled_.insert(handle);
}

std::vector<RecordingBackend::Event> RecordingBackend::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<RecordingBackend::Event> RecordingBackend::events(Event::Kind kind) const {
  std::lock_guard lock(mutex_);
  std::vector<Event> out;
  for (const Event& e : events_) {
    if (e.kind == kind) out.push_back(e);
  }
  return out;
}

void RecordingBackend::clearEvents() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

void RecordingBackend::record(Event e) {
  std::lock_guard lock(mutex_);
  events_.push_back(std::move(e));
}

Reply RecordingBackend::ask(const Question& question) {
  Reply r = defaultReply(question);
  {
    std::lock_guard lock(mutex_);
    if (!queue_.empty()) {
      r = queue_.front();
      queue_.pop_front();
    }
  }
  Event e{Event::Kind::Asked};
  e.text = question.text;
  e.question = question;
  e.reply = r;
  record(std::move(e));
  return r;
}

void RecordingBackend::progressOpened(int handle, std::u16string_view caption, ProgressLook look) {
  Event e{Event::Kind::Opened, handle, std::u16string(caption)};
  e.look = look;
  record(std::move(e));
}

void RecordingBackend::progressStatus(int handle, std::u16string_view text) {
  record(Event{Event::Kind::Status, handle, std::u16string(text)});
}

void RecordingBackend::progressPercent(int handle, int percent) {
  record(Event{Event::Kind::Percent, handle, {}, percent});
}

bool RecordingBackend::progressCancelled(int handle) {
  std::lock_guard lock(mutex_);
  return cancelled_.count(handle) != 0;
}

void RecordingBackend::progressClosed(int handle) {
  record(Event{Event::Kind::Closed, handle});
}

void RecordingBackend::say(std::u16string_view text) {
  record(Event{Event::Kind::Said, 0, std::u16string(text)});
}

}  // namespace vantorel::ui
