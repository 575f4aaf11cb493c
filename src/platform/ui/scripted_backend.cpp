#include "platform/ui/scripted_backend.hpp"

#include "platform/fs/files.hpp"

namespace vantorel::ui {

ScriptedBackend::ScriptedBackend(std::u16string_view answersFile, bool drawProgress) {
  if (drawProgress) progress_ = std::make_unique<TerminalProgress>(2);
  std::optional<std::string> bytes = fs::readFile(answersFile);
  if (!bytes) {
    error_.emplace(vberr::kFileNotFound, u"Vantorel answers",
                   u"The answers file \"" + std::u16string(answersFile) +
                       u"\" named by VANTOREL_ANSWERS cannot be read");
    return;
  }
  try {
    script_ = AnswerScript::parse(*bytes, answersFile);
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
