#pragma once
// `vantorel sync PROJECT.vtp [--dry-run] [--yes]`: brings a project up to date with its
// database. It loads the project and reads the live schema once, decides from the difference
// check's count, asks (or takes the answers file's word), synchronises, saves the project file
// with its backup and lists what changed and where the synchronisation log is. --dry-run only
// lists; without a terminal and without --yes nothing the database no longer has is removed.

namespace vantorel::cli {

// args are the words after "sync"; returns the program's exit code.
int syncProject(int argc, char** argv);

}  // namespace vantorel::cli
