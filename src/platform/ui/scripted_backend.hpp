#pragma once
// The back-end for unattended runs: answers come from an answers file (answer_script.hpp);
// progress is drawn only when stderr is a terminal.
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/ui/answer_script.hpp"
#include "platform/ui/backend.hpp"
#include "platform/ui/terminal_progress.hpp"

namespace vantorel::ui {

class ScriptedBackend : public Backend {
 public:
  // A file that cannot be read or parsed makes every question raise the error, so an
  // unattended run stops instead of taking defaults it was never meant to take.
  ScriptedBackend(std::u16string_view answersFile, bool drawProgress);

  Reply ask(const Question& question) override;

  void progressOpened(int handle, std::u16string_view caption, ProgressLook look) override {
    if (progress_) progress_->opened(handle, caption, look);
  }
  void progressStatus(int handle, std::u16string_view text) override {
    if (progress_) progress_->status(handle, text);
  }
  void progressPercent(int handle, int percent) override {
    if (progress_) progress_->percent(handle, percent);
  }
  void progressClosed(int handle) override {
    if (progress_) progress_->closed(handle);
  }
  void idle() override {
    if (progress_) progress_->idle();
  }
  bool unattended() const override { return true; }
  void say(std::u16string_view text) override;

 private:
  std::optional<AnswerScript> script_;
  std::optional<AutomationError> error_;
  std::unique_ptr<TerminalProgress> progress_;
};

}  // namespace vantorel::ui
