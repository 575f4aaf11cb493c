#pragma once
// The back-end for a person at a terminal: questions are printed on stderr and answered on
// stdin, the progress display is a line on stderr.
#include "platform/ui/backend.hpp"
#include "platform/ui/terminal_progress.hpp"

namespace vantorel::ui {

class TerminalBackend : public Backend {
 public:
  TerminalBackend(int inFd = 0, int outFd = 2) : in_(inFd), out_(outFd), progress_(outFd) {}

  // Accepts a choice's number, its name, or a prefix that names one choice alone; an empty
  // line takes the default. End of input takes the default, Ctrl-C takes Cancel if offered.
  Reply ask(const Question& question) override;

  void progressOpened(int handle, std::u16string_view caption, ProgressLook look) override {
    progress_.opened(handle, caption, look);
  }
  void progressStatus(int handle, std::u16string_view text) override {
    progress_.status(handle, text);
  }
  void progressPercent(int handle, int percent) override { progress_.percent(handle, percent); }
  void progressClosed(int handle) override { progress_.closed(handle); }
  void idle() override { progress_.idle(); }
  void say(std::u16string_view text) override;

 private:
  int in_;
  int out_;
  TerminalProgress progress_;
};

// How the terminal reads one typed answer, apart from the terminal itself.
std::optional<Reply> parseTypedAnswer(const Question& question, std::u16string_view typed);

}  // namespace vantorel::ui
