#include "platform/ui/ui.hpp"

#include <algorithm>
#include <climits>
#include <mutex>
#include <set>
#include <utility>

#include "platform/ui/interrupt.hpp"

namespace vantorel::ui {

namespace {

struct Service {
  std::mutex mutex;
  std::shared_ptr<Backend> backend;
  std::set<int> open;
  int nextHandle = 1;
  Notices notices;

  Backend& current() {
    if (!backend) backend = makeBackend(detectEnvironment());
    return *backend;
  }
  bool isOpen(int handle) const { return handle > 0 && open.count(handle) != 0; }
};

Service& service() {
  static Service s;
  return s;
}

bool offers(const Question& q, Answer a) {
  return std::find(q.buttons.begin(), q.buttons.end(), a) != q.buttons.end();
}

Answer defaultAmong(const std::vector<Answer>& buttons, Answer wanted) {
  return std::find(buttons.begin(), buttons.end(), wanted) != buttons.end() ? wanted : buttons[0];
}

// A question as an unattended run says it: its text and, where there was a choice, the answer
// taken, so that a log shows why the run went the way it did.
std::u16string transcript(const Question& q, const Reply& r) {
  std::u16string out = q.title.empty() ? q.text : q.title + u": " + q.text;
  if (q.kind == QuestionKind::PickOne && r.button == Answer::OK) {
    return out + u" [answered " + (r.typed.empty() ? q.items[r.item] : r.typed) + u"]";
  }
  if (q.kind == QuestionKind::PickOne || q.buttons.size() > 1) {
    out += u" [answered ";
    out += answerName(r.button);
    out += u"]";
  }
  return out;
}

}  // namespace

Reply ask(const Question& question) {
  Question q = question;
  if (q.buttons.empty()) q.buttons = {Answer::OK};
  q.defaultButton = defaultAmong(q.buttons, q.defaultButton);
  if (q.kind == QuestionKind::PickOne && q.defaultItem >= q.items.size()) q.defaultItem = 0;

  Service& s = service();
  std::lock_guard lock(s.mutex);
  Backend& backend = s.current();
  Reply r = backend.ask(q);
  // A back-end answer outside the question's choices would reach callers that trust it.
  const bool typedName = q.typable && r.button == Answer::OK && !r.typed.empty();
  if (!typedName) r.typed.clear();
  if (!offers(q, r.button) || (q.kind == QuestionKind::PickOne && r.button == Answer::OK &&
                               !typedName && r.item >= q.items.size())) {
    r = defaultReply(q);
  }
  // Nothing listed and nothing typed: no answer to give but Cancel.
  if (q.kind == QuestionKind::PickOne && r.button == Answer::OK && r.typed.empty() &&
      q.items.empty()) {
    r = Reply{Answer::Cancel, 0, {}};
  }
  if (backend.unattended()) {
    backend.say(transcript(q, r));
    ++s.notices.said;
  }
  return r;
}

Answer messageBox(std::u16string_view text, std::u16string_view title, Buttons buttons, Icon icon,
                  int defaultButton) {
  Question q;
  q.kind = QuestionKind::Message;
  q.title = title;
  q.text = text;
  q.icon = icon;
  q.buttons = buttonsOf(buttons);
  bool inRange = defaultButton >= 0 && static_cast<std::size_t>(defaultButton) < q.buttons.size();
  q.defaultButton = q.buttons[inRange ? static_cast<std::size_t>(defaultButton) : 0];
  return ask(q).button;
}

Answer askOverwrite(std::u16string_view text, std::u16string_view title, Answer defaultButton) {
  Question q;
  q.kind = QuestionKind::Overwrite;
  q.title = title;
  q.text = text;
  q.icon = Icon::Question;
  q.buttons = {Answer::Yes, Answer::YesToAll, Answer::No, Answer::NoToAll, Answer::Cancel};
  q.defaultButton = defaultAmong(q.buttons, defaultButton);
  return ask(q).button;
}

namespace {

Answer askKeepOr(Answer change, std::u16string_view text, std::u16string_view title,
                 Answer defaultButton) {
  Question q;
  q.kind = QuestionKind::KeepOrUpdate;
  q.title = title;
  q.text = text;
  q.icon = Icon::Question;
  q.buttons = {Answer::Keep, change, Answer::Cancel};
  q.defaultButton = defaultAmong(q.buttons, defaultButton);
  return ask(q).button;
}

}  // namespace

Answer askKeepOrUpdate(std::u16string_view text, std::u16string_view title, Answer defaultButton) {
  return askKeepOr(Answer::Update, text, title, defaultButton);
}

Answer askKeepOrOverwrite(std::u16string_view text, std::u16string_view title,
                          Answer defaultButton) {
  return askKeepOr(Answer::Overwrite, text, title, defaultButton);
}

namespace {

// A choice of one item, confirmed with OK or refused with Cancel.
Question pickQuestion(std::u16string_view text, std::u16string_view title,
                      const std::vector<std::u16string>& items) {
  Question q;
  q.kind = QuestionKind::PickOne;
  q.title = title;
  q.text = text;
  q.buttons = {Answer::OK, Answer::Cancel};
  q.defaultButton = Answer::OK;
  q.items = items;
  return q;
}

}  // namespace

std::optional<std::size_t> pickOne(std::u16string_view text, std::u16string_view title,
                                   const std::vector<std::u16string>& items,
                                   std::size_t defaultItem) {
  if (items.empty()) return std::nullopt;
  Question q = pickQuestion(text, title, items);
  q.defaultItem = defaultItem;
  Reply r = ask(q);
  if (r.button != Answer::OK) return std::nullopt;
  return r.item;
}

std::optional<std::u16string> pickOrType(std::u16string_view text, std::u16string_view title,
                                         const std::vector<std::u16string>& items) {
  Question q = pickQuestion(text, title, items);
  q.typable = true;
  const Reply r = ask(q);
  if (r.button != Answer::OK) return std::nullopt;
  if (!r.typed.empty()) return r.typed;
  return items[r.item];
}

int openProgress(std::u16string_view caption, ProgressLook look) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  int handle = s.nextHandle;
  while (s.open.count(handle)) handle = handle == INT_MAX ? 1 : handle + 1;
  s.nextHandle = handle == INT_MAX ? 1 : handle + 1;
  s.open.insert(handle);
  s.current().progressOpened(handle, caption, look);
  return handle;
}

void setProgressStatus(int handle, std::u16string_view text) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  if (s.isOpen(handle)) s.current().progressStatus(handle, text);
}

void setProgressPercent(int handle, int percent) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  if (s.isOpen(handle)) s.current().progressPercent(handle, std::clamp(percent, 0, 100));
}

bool isProgressCancelled(int handle) {
  if (interruptRequested()) return true;
  Service& s = service();
  std::lock_guard lock(s.mutex);
  return s.isOpen(handle) && s.current().progressCancelled(handle);
}

void closeProgress(int handle) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  if (!s.isOpen(handle)) return;
  s.open.erase(handle);
  s.current().progressClosed(handle);
}

void yieldToHost() {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  if (s.backend) s.backend->idle();
}

void warn(std::u16string_view text) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  s.current().say(text);
  ++s.notices.said;
}

void reportUnwritten(std::u16string_view path, std::u16string_view reason) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  s.notices.unwritten.push_back({std::u16string(path), std::u16string(reason)});
}

void reportLeftOut(std::u16string_view what, std::u16string_view reason) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  s.notices.leftOut.push_back({std::u16string(what), std::u16string(reason)});
}

Notices takeNotices() {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  return std::exchange(s.notices, Notices{});
}

void setBackendForTesting(std::shared_ptr<Backend> backend) {
  Service& s = service();
  std::lock_guard lock(s.mutex);
  s.backend = std::move(backend);
  s.open.clear();
}

}  // namespace vantorel::ui
