// vantorel: the host program of the engine.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "check_command.hpp"
#include "command_line.hpp"
#include "engine/engine_setup.hpp"
#include "foundation/product.hpp"
#include "generate_command.hpp"
#include "new_command.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/sys/folders.hpp"
#include "platform/sys/memory_tuning.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/answer_script.hpp"
#include "platform/ui/backend.hpp"
#include "platform/ui/interrupt.hpp"
#include "run_command.hpp"
#include "sync_command.hpp"

namespace {

using vantorel::cli::CommandSpec;
using vantorel::cli::OptionSpec;

constexpr OptionSpec kHelp{"--help", "-h", nullptr, "show this help and exit"};
constexpr OptionSpec kDestination{"--destination", "-d", "DIR",
                                  "the site's folder for this run instead of the project's"};
constexpr OptionSpec kUpdateTemplates{"--update-templates", nullptr, nullptr,
                                      "unpack a changed template archive without asking"};

constexpr OptionSpec kCheckOptions[] = {kDestination, kUpdateTemplates, kHelp};
constexpr OptionSpec kNewOptions[] = {
    {"--connect", nullptr, "CONNECTION",
     "a data source name, a connection string (with \"=\") or an Access file"},
    {"--type", nullptr, "KIND", "access, odbc or string: the kind of CONNECTION"},
    {"--destination", nullptr, "DIR", "the folder the site is generated into"},
    {"--dynamic", nullptr, nullptr, "only list the tables and views, to load one by one later"},
    {"--user", nullptr, "NAME", "the user; without it a data source's stored login is used"},
    {"--password-file", nullptr, "FILE",
     "the password is FILE's first line, else VANTOREL_PASSWORD"},
    {"--language", nullptr, "FILE", "the language file, one of the language folder (lang.xml)"},
    {"--force", nullptr, nullptr, "replace an existing PROJECT.vtp, keeping a numbered backup"},
    kHelp,
};
constexpr OptionSpec kSyncOptions[] = {
    {"--dry-run", "-n", nullptr, "only list how the project differs; change nothing"},
    {"--yes", "-y", nullptr, "answer Update, and allow removals without a terminal"},
    kHelp,
};
constexpr OptionSpec kRunOptions[] = {kHelp};

// The list ends with an empty value.
constexpr std::string_view kTypes[] = {"access", "odbc", "string", ""};

constexpr CommandSpec kCommands[] = {
    {"run", &vantorel::cli::runScript, "FILE.vbs [ARGUMENTS]",
     "Runs a VBScript file with the WScript object; the ARGUMENTS after the file are the "
     "script's.\nA file without a byte-order mark is read as UTF-8 when it is valid UTF-8, else "
     "in the code page.",
     kRunOptions, "FILE.vbs", true},
    {"check", &vantorel::cli::checkProject, "PROJECT.vtp [--destination DIR] [--update-templates]",
     "Lists the files a generation of the project would write, relative to the destination,\n"
     "without writing any.",
     kCheckOptions, "PROJECT.vtp", false},
    {"generate", &vantorel::cli::generateProject,
     "PROJECT.vtp [--destination DIR] [--update-templates]",
     "Generates the project's site. Exits with 1 when the project's database cannot be read, and\n"
     "names each output it could not write and each part it went without.",
     kCheckOptions, "PROJECT.vtp", false},
    {"new", &vantorel::cli::newProject,
     "PROJECT.vtp --connect CONNECTION [--type KIND] [--destination DIR]\n"
     "                    [--dynamic] [--user NAME] [--password-file FILE] [--language FILE] "
     "[--force]",
     "Makes a project from a database and saves its project file; an existing file is kept\n"
     "unless --force is given.",
     kNewOptions, "PROJECT.vtp", false},
    {"sync", &vantorel::cli::syncProject, "PROJECT.vtp [--dry-run] [--yes]",
     "Brings the project up to date with its changed database and saves it; a second sync of\n"
     "the same project file stops at once while one runs.",
     kSyncOptions, "PROJECT.vtp", false},
};

const std::string_view* valuesOf(const CommandSpec& command, const OptionSpec& option) {
  if (std::strcmp(command.name, "new") == 0 && std::strcmp(option.longName, "--type") == 0) {
    return kTypes;
  }
  return nullptr;
}

void printUsage(std::FILE* out) {
  std::fputs("Usage: vantorel [--help | -h] [--version | -V]\n", out);
  for (const CommandSpec& command : kCommands) {
    std::fprintf(out, "       vantorel %s %s\n", command.name, command.synopsis);
  }
  std::fputs(
      "\n"
      "Builds a classic ASP web application from a database and a template set.\n"
      "\n"
      "Options:\n"
      "  -h, --help     show this help and exit; `vantorel COMMAND --help` shows the command's\n"
      "  -V, --version  print the program's name and full version and exit\n"
      "\n"
      "Commands:\n"
      "  run       run a VBScript file with the WScript object\n"
      "  check     list the files a generation of the project would write\n"
      "  generate  generate the project's site\n"
      "  new       make a project from a database and save its project file\n"
      "  sync      bring the project up to date with its changed database and save it\n"
      "\n"
      "Without a terminal, every message the engine shows goes to standard error.\n"
      "VANTOREL_ANSWERS names a file of answers to the engine's questions; one that cannot be\n"
      "read or parsed stops every command before it starts, with exit code 2.\n",
      out);
}

// An unattended run must not take answers its file did not mean: a file that cannot be read or
// parsed stops every command before it starts, as a wrong argument does.
bool answersFileReadable(const char* command) {
  const vantorel::ui::BackendEnvironment environment = vantorel::ui::detectEnvironment();
  if (!environment.answersFile) return true;
  try {
    (void)vantorel::ui::AnswerScript::load(*environment.answersFile);
  } catch (const vantorel::AutomationError& e) {
    std::fprintf(stderr, "vantorel %s: %s\n", command, vantorel::toUtf8(e.description()).c_str());
    return false;
  }
  return true;
}

// A command's own failures end with its message; this is for an answer that came too late to
// be checked (one that does not fit its question), which must not end the program by abort.
int runCommand(const CommandSpec& command, int argc, char** argv) {
  if (vantorel::cli::wantsHelp(command, argc, argv)) {
    vantorel::cli::printCommandHelp(command, stdout);
    return 0;
  }
  if (const std::string bad = vantorel::cli::badWord(command, argc, argv, &valuesOf);
      !bad.empty()) {
    std::fprintf(stderr, "vantorel %s: %s\n", command.name, bad.c_str());
    vantorel::cli::printCommandHelp(command, stderr);
    return 2;
  }
  if (!answersFileReadable(command.name)) return 2;
  try {
    return command.run(argc, argv);
  } catch (const vantorel::AutomationError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "vantorel %s: %s\n", command.name,
                 vantorel::toUtf8(e.description()).c_str());
    const bool interrupted = vantorel::ui::interruptRequested();
    return interrupted ? 128 + vantorel::ui::interruptSignal() : 1;
  }
}

int dispatch(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-V") == 0)) {
    std::printf("vantorel %s\n", vantorel::toUtf8(vantorel::fullVersion()).c_str());
    return 0;
  }
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    printUsage(stdout);
    return 0;
  }
  if (argc < 2) {
    std::fputs("vantorel: no command given\n", stderr);
    printUsage(stderr);
    return 2;
  }
  for (const CommandSpec& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return runCommand(command, argc - 2, argv + 2);
  }
  const bool option = argv[1][0] == '-';
  std::fprintf(stderr, "vantorel: unknown %s '%s'\n", option ? "option" : "command", argv[1]);
  printUsage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  vantorel::sys::keepFreedMemoryMapped();
  vantorel::sys::publishDataFolder();
  vantorel::setUpEngine();
  const int code = dispatch(argc, argv);
  // Output that never reached its file (a full disk, a closed pipe) is a failure of the run.
  if (!vantorel::cli::standardOutputWritten()) return code == 0 ? 1 : code;
  return code;
}
