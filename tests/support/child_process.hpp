#pragma once
// Programs the tests start (database servers and their set-up tools), as the current user or,
// when the tests run as root, as a named system user. A running child is stopped by its
// process id when its owner goes.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace vantorel::test {

class ChildProcess {
 public:
  // Starts argv[0] (a path) with the arguments, output appended to the log file, input read
  // from the input file (nothing when empty). An empty user runs it as the current one.
  ChildProcess(const std::vector<std::string>& argv, const std::string& logFile,
               const std::string& user = {}, const std::string& inputFile = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const noexcept { return pid_; }
  bool running();
  // Sends the signal and waits; SIGKILL after the timeout. Returns the exit status.
  int stop(int signal, std::chrono::seconds timeout);
  // Waits for the end; the exit status, or 128 + the signal that ended it.
  int wait();

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// Runs the program to its end; raises std::runtime_error, with the log's tail, unless it exits 0.
void runToCompletion(const std::vector<std::string>& argv, const std::string& logFile,
                     const std::string& user = {}, const std::string& inputFile = {});

// The last lines of a log, for failure messages.
std::string logTail(const std::string& logFile, std::size_t lines = 20);

}  // namespace vantorel::test
