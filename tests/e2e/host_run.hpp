#pragma once
// One run of the host program as the e2e tests start it: in a folder of its choice, with
// variables of its own, standard output and standard error apart, and the process at hand for a
// signal while it runs.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::test {

struct HostExit {
  int code = -1;   // the exit code; -1 when a signal ended the run
  int signal = 0;  // the signal that ended it
  std::string out;
  std::string err;
};

class HostRun {
 public:
  // Starts the program with the arguments in folder (the test's own folder when empty), with
  // each "NAME=VALUE" of environment set and each "NAME" alone unset; standard input is empty.
  HostRun(std::vector<std::string> arguments, const std::filesystem::path& folder = {},
          const std::vector<std::string>& environment = {});
  ~HostRun();
  HostRun(const HostRun&) = delete;
  HostRun& operator=(const HostRun&) = delete;

  pid_t pid() const { return pid_; }
  bool running() const;
  // What the run has said on standard error so far.
  std::string errorsSoFar() const;
  HostExit wait();

 private:
  std::filesystem::path outFile_;
  std::filesystem::path errFile_;
  pid_t pid_ = -1;
  bool waited_ = false;
};

// Runs the program to its end.
HostExit runHost(std::vector<std::string> arguments, const std::filesystem::path& folder = {},
                 const std::vector<std::string>& environment = {});

}  // namespace vantorel::test
