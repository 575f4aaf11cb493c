// `vantorel sync` on a terminal of its own (a pseudo-terminal), as a user at the keyboard: Ctrl-C
// or Cancel at any of its questions ends the run with exit code 130, the project file as it was
// and no lock file left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace fs = std::filesystem;

namespace {

using vantorel::test::readFile;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();
const std::string kCli = VANTOREL_CLI_PATH;

// The host program with a pseudo-terminal as its controlling terminal and its standard input,
// output and error: it asks its questions there, and Ctrl-C typed there interrupts it.
class TerminalRun {
 public:
  explicit TerminalRun(std::vector<std::string> arguments) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const std::string slave = ptsname(master_);
    pid_ = fork();
    if (pid_ != 0) return;
    setsid();
    // The first terminal a session leader opens becomes its controlling terminal.
    const int tty = ::open(slave.c_str(), O_RDWR);
    dup2(tty, 0);
    dup2(tty, 1);
    dup2(tty, 2);
    if (tty > 2) ::close(tty);
    ::close(master_);
    unsetenv("VANTOREL_ANSWERS");
    std::vector<char*> argv{const_cast<char*>(kCli.c_str())};
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(kCli.c_str(), argv.data());
    _exit(127);
  }
  ~TerminalRun() {
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
  }

  bool started() const { return master_ >= 0 && pid_ > 0; }
  // Reads what the program writes until `text` has come; false when the program stopped writing
  // (ended, or a minute passed) first.
  bool waitFor(const std::string& text) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (screen_.find(text) == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          until - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
      char buffer[4096];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return false;
      screen_.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
  }
  void type(const std::string& keys) {
    ASSERT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  // The exit code, or 128 + the signal that ended the program.
  int wait() {
    // Drained as it ends, so that a full terminal never holds it up.
    waitFor("\x01never\x01");
    int status = 0;
    // One that still runs after a minute without a word is stuck: it fails by the signal.
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      ::kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  const std::string& screen() const { return screen_; }

 private:
  int master_ = -1;
  pid_t pid_ = -1;
  bool waited_ = false;
  std::string screen_;
};

class SyncOnATerminal : public ::testing::Test {
 protected:
  // A new copy of the shop's database and the project `vantorel new` makes of it.
  void prepare() {
    database_ = dir_.path() / "shop.sqlite";
    project_ = (dir_.path() / "shop.vtp").string();
    fs::remove(database_);
    fs::remove(project_);
    fs::copy_file(kSource / "examples" / "shop" / "shop.sqlite", database_);
    std::string output;
    ASSERT_EQ(vantorel::test::runCommand(
                  "env -u VANTOREL_ANSWERS " + kCli + " new " + project_ +
                      " --connect 'Driver=SQLite3;Database=" + database_.string() + "' 2>&1",
                  output),
              0)
        << output;
  }
  void change(const std::vector<std::u16string>& statements) {
    vantorel::data::Connection connection(u"Driver=SQLite3;Database=" +
                                          vantorel::fromUtf8(database_.string()));
    for (const std::u16string& sql : statements) vantorel::data::execute(connection, sql);
  }

  vantorel::test::TempDir dir_;
  fs::path database_;
  std::string project_;
};

// Ctrl-C (the terminal's interrupt character) or Cancel typed at each question the command puts.
TEST_F(SyncOnATerminal, CtrlCAndCancelAtAQuestionEndTheRunWithNothingChanged) {
  const std::vector<std::u16string> renamedTable = {
      u"ALTER TABLE Categories RENAME TO ProductGroups"};
  // OrderDetails gains a column in its key; every column of the old key is still there. The view
  // over it goes while the table is made anew.
  const std::vector<std::u16string> widerKey = {
      u"DROP VIEW OrderTotals",
      u"CREATE TABLE OrderDetails_new (OrderID INTEGER NOT NULL, ProductID INTEGER NOT NULL, "
      u"Quantity INTEGER NOT NULL DEFAULT 1, UnitPrice NUMERIC(10,2) NOT NULL, PRIMARY KEY "
      u"(OrderID, ProductID, UnitPrice))",
      u"INSERT INTO OrderDetails_new SELECT * FROM OrderDetails",
      u"DROP TABLE OrderDetails",
      u"ALTER TABLE OrderDetails_new RENAME TO OrderDetails",
      u"CREATE VIEW OrderTotals AS SELECT o.OrderID, c.CompanyName, o.OrderDate, "
      u"SUM(d.Quantity * d.UnitPrice) AS Total FROM Orders o JOIN Customers c ON c.CustomerID = "
      u"o.CustomerID JOIN OrderDetails d ON d.OrderID = o.OrderID GROUP BY o.OrderID, "
      u"c.CompanyName, o.OrderDate"};
  struct Case {
    const char* what;
    std::vector<std::u16string> change;
    std::vector<std::string> options;
    std::vector<std::pair<std::string, std::string>> dialogue;  // awaited text, then keys typed
  } const cases[] = {
      {"Ctrl-C at the keep-or-update question",
       renamedTable,
       {},
       {{"Do you want to keep old definition", "\x03"}}},
      {"Cancel at the keep-or-update question",
       renamedTable,
       {},
       {{"Do you want to keep old definition", "Cancel\n"}}},
      {"Ctrl-C at the table pairing question",
       renamedTable,
       {"--yes"},
       {{"New table found in schema", "\x03"}}},
      {"Cancel at the table pairing question",
       renamedTable,
       {},
       {{"Do you want to keep old definition", "Update\n"},
        {"New table found in schema", "Cancel\n"}}},
      {"Ctrl-C at the key question", widerKey, {"--yes"}, {{"Keep/Update primary Key?", "\x03"}}},
      {"Cancel at the key question",
       widerKey,
       {"--yes"},
       {{"Keep/Update primary Key?", "Cancel\n"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    prepare();
    change(c.change);
    const std::string before = readFile(project_);
    std::vector<std::string> arguments{"sync", project_};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    TerminalRun run(arguments);
    ASSERT_TRUE(run.started());
    for (const auto& [awaited, keys] : c.dialogue) {
      ASSERT_TRUE(run.waitFor(awaited)) << run.screen();
      run.type(keys);
    }
    EXPECT_EQ(run.wait(), 130) << run.screen();
    EXPECT_NE(run.screen().find("cancelled; the project file is unchanged"), std::string::npos)
        << run.screen();
    EXPECT_EQ(readFile(project_), before);
    EXPECT_FALSE(fs::exists(project_ + ".lock"));
    // The next run is not kept off the file.
    std::string output;
    EXPECT_EQ(vantorel::test::runCommand(kCli + " sync " + project_ + " --dry-run", output), 0)
        << output;
  }
}

}  // namespace
