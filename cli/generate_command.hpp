#pragma once
// `vantorel generate PROJECT.vtp [--destination DIR]`: generates the project's site, and names
// the pages an earlier run left that this one did not make. The engine's progress display shows
// on a terminal; Ctrl-C cancels with one line.

namespace vantorel::cli {

// args are the words after "generate"; returns the program's exit code.
int generateProject(int argc, char** argv);

}  // namespace vantorel::cli
