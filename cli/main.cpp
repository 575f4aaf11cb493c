// vantorel: the host program of the engine.
#include <cstdio>
#include <cstring>
#include <string>

#include "check_command.hpp"
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
#include "run_command.hpp"
#include "sync_command.hpp"

namespace {

void printUsage(std::FILE* out) {
  std::fputs(
      "Usage: vantorel [--help] [--version]\n"
      "       vantorel run FILE.vbs [arguments]\n"
      "       vantorel check PROJECT.vtp [--destination DIR] [--update-templates]\n"
      "       vantorel generate PROJECT.vtp [--destination DIR] [--update-templates]\n"
      "       vantorel new PROJECT.vtp --connect CONNECTION [--type KIND] [--destination DIR]\n"
      "                    [--dynamic] [--user NAME] [--password-file FILE] [--language FILE]\n"
      "       vantorel sync PROJECT.vtp [--dry-run] [--yes]\n"
      "\n"
      "Builds a classic ASP web application from a database and a template set.\n"
      "\n"
      "Options:\n"
      "  --help      show this help and exit\n"
      "  --version   print the engine's full version and exit\n"
      "\n"
      "Commands:\n"
      "  run         run a VBScript file with the WScript object\n"
      "  check       list the files a generation of the project would write\n"
      "  generate    generate the project's site (into DIR when given); exits with 1 and\n"
      "              names each output it could not write and each extension it went without\n"
      "  new         make a project from a database (an ODBC data source name, an ODBC\n"
      "              connection string or an Access file) and save its project file\n"
      "  sync        bring the project up to date with its changed database and save it;\n"
      "              --dry-run only lists the differences; a second sync of the same project\n"
      "              file stops at once while one runs\n"
      "\n"
      "  --update-templates  unpack a changed template archive without asking\n"
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

using Command = int (*)(int argc, char** argv);

struct NamedCommand {
  const char* name;
  Command run;
};

constexpr NamedCommand kCommands[] = {
    {"run", &vantorel::cli::runScript},
    {"check", &vantorel::cli::checkProject},
    {"generate", &vantorel::cli::generateProject},
    {"new", &vantorel::cli::newProject},
    {"sync", &vantorel::cli::syncProject},
};

// A command's own failures end with its message; this is for an answer that came too late to
// be checked (one that does not fit its question), which must not end the program by abort.
int runCommand(const NamedCommand& command, int argc, char** argv) {
  if (!answersFileReadable(command.name)) return 2;
  try {
    return command.run(argc, argv);
  } catch (const vantorel::AutomationError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "vantorel %s: %s\n", command.name,
                 vantorel::toUtf8(e.description()).c_str());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  vantorel::sys::keepFreedMemoryMapped();
  vantorel::sys::publishDataFolder();
  vantorel::setUpEngine();
  if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-V") == 0)) {
    std::printf("%s\n", vantorel::toUtf8(vantorel::fullVersion()).c_str());
    return 0;
  }
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    printUsage(stdout);
    return 0;
  }
  for (const NamedCommand& command : kCommands) {
    if (argc >= 2 && std::strcmp(argv[1], command.name) == 0) {
      return runCommand(command, argc - 2, argv + 2);
    }
  }
  printUsage(stderr);
  return 2;
}
