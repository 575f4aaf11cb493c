#pragma once
// What the tests of the host program share: running it, reading what it wrote, and compiling a
// generated page's server script with our VBScript engine.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::test {

// Runs a command line (stdin from /dev/null); returns its exit code and leaves stdout and
// stderr in output.
int runCommand(const std::string& command, std::string& output);
// The same with standard error apart, in errors (by way of errorFile): unattended runs say their
// messages there.
int runCommand(const std::string& command, std::string& output, std::string& errors,
               const std::filesystem::path& errorFile);

// What `AGP.CheckDB` says of the project file, through the host program's script runner (as
// "CheckDB N", or the runner's messages when it failed). No answers file is passed on: the load's
// own question, should it come, takes its default, Keep.
std::string checkDatabase(const std::string& cli, const std::filesystem::path& project,
                          const std::filesystem::path& folder);

// Empty when the page's server script, with the files it includes, compiles; else where and why it
// does not.
std::string compileProblem(const std::filesystem::path& page);

// Every ".asp" page directly in the folder, by file name, with its compileProblem.
std::vector<std::pair<std::string, std::string>> pageProblems(const std::filesystem::path& site);

}  // namespace vantorel::test
