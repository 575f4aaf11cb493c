#pragma once
// What a user-interface back-end implements. The service (ui.hpp) serialises every call, hands
// out the progress handles and drops calls for handles that are not open, so a back-end sees
// only well-formed sequences.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/types.hpp"

namespace vantorel::ui {

class Backend {
 public:
  virtual ~Backend() = default;

  // May raise AutomationError when the back-end cannot answer (a broken answers file).
  virtual Reply ask(const Question& question) = 0;

  virtual void progressOpened(int /*handle*/, std::u16string_view /*caption*/,
                              ProgressLook /*look*/) {}
  virtual void progressStatus(int /*handle*/, std::u16string_view /*text*/) {}
  virtual void progressPercent(int /*handle*/, int /*percent*/) {}
  // Cancel pressed in that display; Ctrl-C is answered by the service itself.
  virtual bool progressCancelled(int /*handle*/) { return false; }
  virtual void progressClosed(int /*handle*/) {}
  // The engine is between steps: a good moment to draw what was held back.
  virtual void idle() {}

  // No one reads message boxes here, so the service says each one (see say()) and counts it.
  virtual bool unattended() const { return false; }
  // Puts a message that needs no answer on standard error, one line or more, ending the line.
  virtual void say(std::u16string_view text);
};

// The facts the automatic choice of back-end depends on.
struct BackendEnvironment {
  bool interactive = false;       // stdin and stderr are terminals
  bool progressTerminal = false;  // stderr is a terminal
  std::optional<std::u16string> answersFile;
};

// Reads the terminal state and VANTOREL_ANSWERS.
BackendEnvironment detectEnvironment();

// Scripted answers when an answers file is named, else the terminal when interactive, else
// the silent back-end (default buttons, no progress output).
std::unique_ptr<Backend> makeBackend(const BackendEnvironment& env);

}  // namespace vantorel::ui
