// A generation the user stops or has to wait for: Ctrl-C in the middle of the pages ends it with
// one line, Ctrl-C at a question on a terminal ends the run instead of taking the default, and a
// run that waits for another one's template set says so.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/host_run.hpp"
#include "foundation/template_lookup.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/fs/file_lock.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vantorel::test::HostExit;
using vantorel::test::HostRun;
using vantorel::test::runHost;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

bool anyFileIn(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) return true;
  }
  return false;
}

class Interrupts : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder());
    fs::copy_file(kSource / "examples" / "shop" / "shop.sqlite", folder() / "shop.sqlite");
  }
  fs::path folder() const { return dir_.path() / "work"; }

  // The example database with many more tables, so that its generation takes a while.
  void addTables(int count) {
    vantorel::data::Connection connection(
        vantorel::fromUtf8("Driver=SQLite3;Database=" + (folder() / "shop.sqlite").string()));
    for (int i = 0; i < count; ++i) {
      vantorel::data::execute(connection,
                              vantorel::fromUtf8("CREATE TABLE extra" + std::to_string(i) +
                                                 " (id INTEGER PRIMARY KEY, name "
                                                 "TEXT, price REAL, sold DATE)"));
    }
  }

  vantorel::test::TempDir dir_;
};

TEST_F(Interrupts, CtrlCAmongThePagesEndsTheRunWithOneLine) {
  addTables(300);
  ASSERT_EQ(
      runHost({"new", "big.vtp", "--connect", "Driver=SQLite3;Database=shop.sqlite"}, folder())
          .code,
      0);
  const fs::path site = folder() / "site";
  HostRun run({"generate", "big.vtp", "-d", site.string()}, folder());
  // Pages are on their way once their files appear (their temporaries first).
  while (run.running() && !anyFileIn(site)) std::this_thread::sleep_for(2ms);
  ASSERT_TRUE(run.running());
  ::kill(run.pid(), SIGINT);
  const HostExit e = run.wait();
  EXPECT_EQ(e.code, 130);
  EXPECT_EQ(e.err, "vantorel generate: Generation cancelled by user!\n");
  EXPECT_EQ(e.out, "");
}

// The question a project whose language file is gone asks has no Cancel: Ctrl-C there ends the
// run, where the default (Yes) would have gone on without the language file.
TEST_F(Interrupts, CtrlCAtAQuestionOnATerminalEndsTheRun) {
  ASSERT_EQ(
      runHost({"new", "shop.vtp", "--connect", "Driver=SQLite3;Database=shop.sqlite"}, folder())
          .code,
      0);
  std::string text = vantorel::test::readFile(folder() / "shop.vtp");
  const std::string from = "DefaultLanguageFile=\"lang.xml\"";
  ASSERT_NE(text.find(from), std::string::npos);
  text.replace(text.find(from), from.size(), "DefaultLanguageFile=\"gone.xml\"");
  vantorel::test::writeFile(folder() / "shop.vtp", text);

  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string terminal = ::ptsname(master);
  const std::string site = (folder() / "site").string();
  const pid_t child = ::fork();
  if (child == 0) {
    ::setsid();
    const int slave = ::open(terminal.c_str(), O_RDWR);
    ::ioctl(slave, TIOCSCTTY, 0);
    ::dup2(slave, 0);
    ::dup2(slave, 1);
    ::dup2(slave, 2);
    ::unsetenv("VANTOREL_ANSWERS");
    if (::chdir(folder().c_str()) != 0) ::_exit(126);
    ::execl(VANTOREL_CLI_PATH, VANTOREL_CLI_PATH, "generate", "shop.vtp", "-d", site.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  std::string shown;
  bool asked = false;
  const auto deadline = std::chrono::steady_clock::now() + 120s;
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n <= 0) break;  // the terminal's other end closed: the run ended
    shown.append(buffer, static_cast<std::size_t>(n));
    if (!asked && shown.find("Answer [") != std::string::npos) {
      asked = true;
      const char interrupt = static_cast<char>(3);  // Ctrl-C as the terminal sends it
      ASSERT_EQ(::write(master, &interrupt, 1), 1);
    }
  }
  ::close(master);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(asked) << shown;
  EXPECT_NE(shown.find("Load language file 'gone.xml' failed!"), std::string::npos) << shown;
  ASSERT_TRUE(WIFEXITED(status)) << shown;
  EXPECT_EQ(WEXITSTATUS(status), 130) << shown;
  EXPECT_NE(shown.find("Interrupted (Ctrl-C) at the question; nothing more was done."),
            std::string::npos)
      << shown;
  EXPECT_EQ(shown.find("Generated"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("generated without"), std::string::npos) << shown;
}

// A run that finds the template set's working folders held by another waits, and says so.
TEST_F(Interrupts, ARunWaitingForAnotherSaysSo) {
  ASSERT_EQ(
      runHost({"new", "shop.vtp", "--connect", "Driver=SQLite3;Database=shop.sqlite"}, folder())
          .code,
      0);
  const char* data = std::getenv("VANTOREL_DATA");
  const char* documents = std::getenv("XDG_DOCUMENTS_DIR");
  ASSERT_NE(data, nullptr);
  ASSERT_NE(documents, nullptr);
  const fs::path work = fs::path(documents) / "Vantorel" / "Templates" /
                        vantorel::toUtf8(vantorel::TemplateWorkName(vantorel::fromUtf8(
                            (fs::path(data) / "templates" / "sample.zip").string())));
  fs::create_directories(work);
  std::optional<vantorel::fs::FolderLock> held =
      vantorel::fs::FolderLock::acquire(vantorel::fromUtf8(work.string()), false);
  ASSERT_TRUE(held);

  HostRun run({"generate", "shop.vtp", "-d", "site"}, folder());
  const std::string said = "Waiting for another generation with the template set";
  while (run.running() && run.errorsSoFar().find(said) == std::string::npos) {
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_TRUE(run.running()) << run.errorsSoFar();
  held.reset();
  const HostExit e = run.wait();
  EXPECT_EQ(e.code, 0) << e.err;
  EXPECT_NE(e.err.find(said + " \"" + (fs::path(data) / "templates" / "sample.zip").string() +
                       "\" to finish"),
            std::string::npos)
      << e.err;
  EXPECT_EQ(e.out, "Generated " + (folder() / "site").string() + "\n");
}

}  // namespace
