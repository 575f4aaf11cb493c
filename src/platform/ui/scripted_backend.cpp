#include "platform/ui/scripted_backend.hpp"

namespace vantorel::ui {

ScriptedBackend::ScriptedBackend(std::u16string_view answersFile, bool drawProgress) {
  if (drawProgress) progress_ = std::make_unique<TerminalProgress>(2);
  try {
    script_ = AnswerScript::load(answersFile);
  } catch (const AutomationError& e) {
    error_ = e;
  }
}

Reply ScriptedBackend::ask(const Question& q) {
  if (error_) throw *error_;
  if (q.kind != QuestionKind::PickOne && q.buttons.size() <= 1) return defaultReply(q);
  if (std::optional<Reply> r = script_->answer(q)) return *r;
  return defaultReply(q);
}

void ScriptedBackend::say(std::u16string_view text) {
  if (progress_) progress_->hide();
  Backend::say(text);
  if (progress_) progress_->show();
}

}  // namespace vantorel::ui
