#include "platform/ui/backend.hpp"

#include <unistd.h>

#include "platform/sys/environment.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/scripted_backend.hpp"
#include "platform/ui/terminal_backend.hpp"
#include "platform/ui/terminal_progress.hpp"

namespace vantorel::ui {

namespace {

// No one to ask and nowhere to draw.
class SilentBackend : public Backend {
 public:
  Reply ask(const Question& question) override { return defaultReply(question); }
  bool unattended() const override { return true; }
};

}  // namespace

void Backend::say(std::u16string_view text) {
  writeAll(2, toUtf8(text) + "\n");
}

BackendEnvironment detectEnvironment() {
  BackendEnvironment env;
  env.progressTerminal = isatty(2) == 1;
  env.interactive = isatty(0) == 1 && env.progressTerminal;
  std::optional<std::u16string> answers = sys::environmentVariable(u"VANTOREL_ANSWERS");
  if (answers && !answers->empty()) env.answersFile = std::move(answers);
  return env;
}

std::unique_ptr<Backend> makeBackend(const BackendEnvironment& env) {
  if (env.answersFile)
    return std::make_unique<ScriptedBackend>(*env.answersFile, env.progressTerminal);
  if (env.interactive) return std::make_unique<TerminalBackend>();
  return std::make_unique<SilentBackend>();
}

}  // namespace vantorel::ui
