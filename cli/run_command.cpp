#include "run_command.hpp"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "command_line.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"
#include "platform/vbscript/control/script_control.hpp"
#include "platform/vbscript/host/script_file.hpp"
#include "platform/vbscript/host/wscript.hpp"
#include "platform/vbscript/objects/text_stream.hpp"

namespace vantorel::cli {

namespace {

std::u16string hostPath() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? u"vantorel" : fs::fromNative(exe);
}

// Ctrl-C ends the script, as it does under the console script host. The engine gets a moment
// to stop on its own first; a script still running after it is ended with the process.
class InterruptWatch {
 public:
  InterruptWatch() : thread_([](std::stop_token stop) { watch(stop); }) {}

 private:
  static void watch(const std::stop_token& stop) {
    using namespace std::chrono_literals;
    std::mutex m;
    std::condition_variable_any wake;
    std::unique_lock lock(m);
    auto pause = [&](std::chrono::milliseconds d) {
      wake.wait_for(lock, stop, d, [] { return false; });
    };
    while (!stop.stop_requested() && !ui::interruptRequested()) pause(50ms);
    pause(500ms);
    if (stop.stop_requested()) return;
    std::fflush(stdout);
    std::_Exit(128 + ui::interruptSignal());
  }
  std::jthread thread_;
};

void printUsage() {
  std::fputs("Usage: vantorel run FILE.vbs [arguments]\n", stderr);
}

}  // namespace

int runScript(int argc, char** argv) {
  if (argc < 1 || argv[0][0] == '\0') {
    printUsage();
    return 2;
  }
  const std::u16string file = fromUtf8(argv[0]);
  const std::optional<std::string> bytes = fs::readFile(file);
  if (!bytes) {
    std::fprintf(stderr, "vantorel run: cannot read script file %s\n", argv[0]);
    return 1;
  }

  ui::installInterruptHandler();
  InterruptWatch interruptWatch;

  vbs::WScriptOptions options;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(fs::toNative(file), ec);
  options.scriptFullName = ec ? file : fs::fromNative(full.lexically_normal());
  options.hostFullName = hostPath();
  for (int i = 1; i < argc; ++i) options.arguments.push_back(fromUtf8(argv[i]));
  options.quit = [](int code) {
    // The script's objects are never released on this path; what its files hold must not be lost.
    vbs::closeOpenTextStreams();
    std::exit(standardOutputWritten() || code != 0 ? code : 1);
  };
  options.timedOut = [file = std::string(argv[0])] {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: script execution time was exceeded; the script was ended\n",
                 file.c_str());
    std::_Exit(1);
  };

  Ref<vbs::ScriptControl> control = makeRef<vbs::ScriptControl>();
  try {
    control->setLanguage(u"VBScript");
    control->setTimeout(vbs::kNoTimeout);
    control->addObject(u"WScript", makeRef<vbs::WScript>(std::move(options)), false);
    control->addCode(vbs::decodeScriptText(*bytes));
  } catch (const AutomationError& e) {
    std::fflush(stdout);
    const vbs::ScriptError& error = control->error()->value();
    std::fprintf(stderr, "%s(%d, %d) %s (%d)\n", argv[0], error.line, error.column,
                 toUtf8(e.description()).c_str(), e.number());
    return ui::interruptRequested() ? 128 + ui::interruptSignal() : 1;
  }
  std::fflush(stdout);
  return ui::interruptRequested() ? 128 + ui::interruptSignal() : 0;
}

}  // namespace vantorel::cli
