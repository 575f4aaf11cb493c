#include "e2e/host_run.hpp"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

#include "support/test_files.hpp"

namespace vantorel::test {

namespace {

std::atomic<int> gRuns{0};

}  // namespace

HostRun::HostRun(std::vector<std::string> arguments, const std::filesystem::path& folder,
                 const std::vector<std::string>& environment) {
  const std::filesystem::path logs =
      std::filesystem::temp_directory_path() /
      ("vantorel-host-" + std::to_string(::getpid()) + "-" + std::to_string(gRuns++));
  outFile_ = logs.string() + ".out";
  errFile_ = logs.string() + ".err";
  pid_ = ::fork();
  if (pid_ != 0) return;
  const int in = ::open("/dev/null", O_RDONLY);
  const int out = ::open(outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = ::open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(err, 2);
  ::unsetenv("VANTOREL_ANSWERS");
  for (const std::string& variable : environment) {
    const std::size_t equals = variable.find('=');
    if (equals == std::string::npos) {
      ::unsetenv(variable.c_str());
    } else {
      ::setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
    }
  }
  if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
  std::vector<char*> argv{const_cast<char*>(VANTOREL_CLI_PATH)};
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  ::execv(VANTOREL_CLI_PATH, argv.data());
  ::_exit(127);
}

HostRun::~HostRun() {
  if (!waited_ && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  std::error_code ec;
  std::filesystem::remove(outFile_, ec);
  std::filesystem::remove(errFile_, ec);
}

bool HostRun::running() const {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

std::string HostRun::errorsSoFar() const {
  return readFile(errFile_);
}

HostExit HostRun::wait() {
  int status = 0;
  ::waitpid(pid_, &status, 0);
  waited_ = true;
  HostExit e;
  if (WIFEXITED(status)) e.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) e.signal = WTERMSIG(status);
  e.out = readFile(outFile_);
  e.err = readFile(errFile_);
  return e;
}

HostExit runHost(std::vector<std::string> arguments, const std::filesystem::path& folder,
                 const std::vector<std::string>& environment) {
  return HostRun(std::move(arguments), folder, environment).wait();
}

}  // namespace vantorel::test
