#pragma once
// `vantorel check PROJECT.vtp`: lists every file a generation of the project would write, by its
// path relative to the destination, as the engine's check pass finds them, without writing any.

namespace vantorel::cli {

// args are the words after "check"; returns the program's exit code.
int checkProject(int argc, char** argv);

}  // namespace vantorel::cli
