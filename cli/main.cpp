// vantorel: the host program of the engine.
#include <cstdio>
#include <cstring>
#include <string>

#include "check_command.hpp"
#include "engine/engine_setup.hpp"
#include "foundation/product.hpp"
#include "generate_command.hpp"
#include "new_command.hpp"
#include "platform/sys/folders.hpp"
#include "platform/sys/memory_tuning.hpp"
#include "platform/text/unicode.hpp"
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
      "              names each output it could not write\n"
      "  new         make a project from a database (an ODBC data source name, an ODBC\n"
      "              connection string or an Access file) and save its project file\n"
      "  sync        bring the project up to date with its changed database and save it;\n"
      "              --dry-run only lists the differences\n"
      "\n"
      "  --update-templates  unpack a changed template archive without asking\n"
      "\n"
      "Without a terminal, every message the engine shows goes to standard error.\n",
      out);
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
  if (argc >= 2 && std::strcmp(argv[1], "run") == 0) {
    return vantorel::cli::runScript(argc - 2, argv + 2);
  }
  if (argc >= 2 && std::strcmp(argv[1], "check") == 0) {
    return vantorel::cli::checkProject(argc - 2, argv + 2);
  }
  if (argc >= 2 && std::strcmp(argv[1], "generate") == 0) {
    return vantorel::cli::generateProject(argc - 2, argv + 2);
  }
  if (argc >= 2 && std::strcmp(argv[1], "new") == 0) {
    return vantorel::cli::newProject(argc - 2, argv + 2);
  }
  if (argc >= 2 && std::strcmp(argv[1], "sync") == 0) {
    return vantorel::cli::syncProject(argc - 2, argv + 2);
  }
  printUsage(stderr);
  return 2;
}
