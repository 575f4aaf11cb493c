#pragma once
// `vantorel new PROJECT.vtp --connect CONNECTION [--type KIND] [--destination DIR] [--dynamic]
// [--user NAME] [--password-file FILE] [--language FILE] [--force]`: makes a project from a live
// database and saves its project file, replacing an existing one only with --force. The
// connection is an ODBC data source name, a DSN-less ODBC connection string or an Access file;
// the kind is guessed from it unless --type names it. A password comes from the file or from
// VANTOREL_PASSWORD, never from the command line, and not at all for a data source named without
// a user, which logs in as its entry says. Nothing is written when the load fails or Ctrl-C
// interrupts it.

namespace vantorel::cli {

// args are the words after "new"; returns the program's exit code.
int newProject(int argc, char** argv);

}  // namespace vantorel::cli
