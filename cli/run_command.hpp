#pragma once
// `vantorel run FILE.vbs [arguments]`: runs a script as the Windows Script Host's console
// host does, with the WScript object.

namespace vantorel::cli {

// args are the words after "run"; returns the program's exit code.
int runScript(int argc, char** argv);

}  // namespace vantorel::cli
