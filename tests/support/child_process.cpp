#include "support/child_process.hpp"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace vantorel::test {

namespace {

int exitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& logFile,
                           const std::string& user, const std::string& inputFile) {
  // Everything the child needs is made here: after fork only async-signal-safe calls are made.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  uid_t uid = 0;
  gid_t gid = 0;
  const bool switchUser = !user.empty();
  if (switchUser) {
    const passwd* pw = getpwnam(user.c_str());
    if (!pw) throw std::runtime_error("no system user " + user);
    uid = pw->pw_uid;
    gid = pw->pw_gid;
  }
  const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  const std::string inputPath = inputFile.empty() ? "/dev/null" : inputFile;
  const int input = open(inputPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (log < 0 || input < 0) {
    if (log >= 0) close(log);
    if (input >= 0) close(input);
    throw std::runtime_error("cannot open " + (log < 0 ? logFile : inputPath));
  }
  if (switchUser && fchown(log, uid, gid) != 0) throw std::runtime_error("cannot chown the log");
  pid_ = fork();
  if (pid_ == 0) {
    dup2(input, 0);
    dup2(log, 1);
    dup2(log, 2);
    if (switchUser && (setgroups(1, &gid) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) _exit(126);
    // Set after the change of user, which clears it: a test program that dies takes its
    // servers with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    execv(args[0], args.data());
    _exit(127);
  }
  close(log);
  close(input);
  if (pid_ < 0) throw std::runtime_error("cannot start " + argv[0]);
}

ChildProcess::~ChildProcess() {
  if (running()) stop(SIGTERM, std::chrono::seconds(60));
}

bool ChildProcess::running() {
  if (pid_ <= 0 || status_ >= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = status;
    return false;
  }
  return true;
}

int ChildProcess::stop(int signal, std::chrono::seconds timeout) {
  if (!running()) return status_ >= 0 ? exitCode(status_) : -1;
  kill(pid_, signal);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (running()) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid_, SIGKILL);
      return wait();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return exitCode(status_);
}

int ChildProcess::wait() {
  if (pid_ <= 0) return -1;
  if (status_ < 0) {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
      if (errno != EINTR) return -1;
    }
    status_ = status;
  }
  return exitCode(status_);
}

void runToCompletion(const std::vector<std::string>& argv, const std::string& logFile,
                     const std::string& user, const std::string& inputFile) {
  ChildProcess child(argv, logFile, user, inputFile);
  const int code = child.wait();
  if (code != 0) {
    throw std::runtime_error(argv[0] + " exited with " + std::to_string(code) + ":\n" +
                             logTail(logFile));
  }
}

std::string logTail(const std::string& logFile, std::size_t lines) {
  std::ifstream in(logFile);
  std::deque<std::string> last;
  // A server's closing advice can push its actual error out of the tail; its error lines are
  // kept apart.
  std::vector<std::string> errors;
  for (std::string line; std::getline(in, line);) {
    last.push_back(line);
    if (last.size() > lines) {
      const std::string& dropped = last.front();
      const bool isError = dropped.find("ERROR") != std::string::npos ||
                           dropped.find("FATAL") != std::string::npos;
      if (isError && errors.size() < lines) errors.push_back(dropped);
      last.pop_front();
    }
  }
  std::string text;
  for (const std::string& line : errors) text += line + "\n";
  if (!errors.empty()) text += "...\n";
  for (const std::string& line : last) text += line + "\n";
  return text;
}

}  // namespace vantorel::test
