// Every command of the host program reads its answers file before it starts: a file that is
// missing or that cannot be parsed ends the command with the file, the line and the reason on
// standard error and exit code 2, with nothing written; an answer that turns out not to fit its
// question ends the run with its message instead of a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace fs = std::filesystem;

namespace {

using vantorel::test::readFile;
using vantorel::test::runCommand;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();
const std::string kCli = VANTOREL_CLI_PATH;

class AnswersFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path database = dir_.path() / "shop.sqlite";
    fs::copy_file(kSource / "examples" / "shop" / "shop.sqlite", database);
    connect_ = "'Driver=SQLite3;Database=" + database.string() + "'";
    project_ = (dir_.path() / "shop.vtp").string();
    std::string output;
    ASSERT_EQ(runCommand(kCli + " new " + project_ + " --connect " + connect_, output), 0)
        << output;
    // A change a sync would save, were it not stopped.
    vantorel::data::Connection connection(u"Driver=SQLite3;Database=" +
                                          vantorel::fromUtf8(database.string()));
    vantorel::data::execute(connection, u"ALTER TABLE Customers ADD COLUMN Nickname VARCHAR(20)");
  }

  // The command run with VANTOREL_ANSWERS naming answers; standard error apart in errors.
  int run(const fs::path& answers, const std::string& command, std::string& output,
          std::string& errors) {
    return runCommand("VANTOREL_ANSWERS='" + answers.string() + "' " + kCli + " " + command, output,
                      errors, dir_.path() / "stderr.txt");
  }

  vantorel::test::TempDir dir_;
  std::string connect_;
  std::string project_;
};

TEST_F(AnswersFile, AWrongOrMissingFileStopsEveryCommandBeforeItStarts) {
  const fs::path site = dir_.path() / "site";
  const fs::path script = dir_.path() / "echo.vbs";
  std::ofstream(script) << "WScript.Echo \"ran\"\n";
  const std::string before = readFile(project_);

  struct Bad {
    const char* name;
    const char* content;  // nullptr: no such file
    const char* line;     // "" where no line applies
    const char* reason;
  } bad[] = {
      {"missing.txt", nullptr, "", "cannot be read: No such file or directory"},
      {"unknown.txt", "Y\n", ", line 1: ", "unknown answer \"Y\""},
      {"unparsed.txt", "# the sync question\nUpdate\n\n=> No\n",
       ", line 4: ", "nothing before \"=>\""},
  };
  const struct {
    const char* name;
    std::string arguments;
  } commands[] = {
      {"new", project_ + " --connect " + connect_},
      {"check", project_},
      {"generate", project_ + " --destination " + site.string()},
      {"sync", project_ + " --yes"},
      {"run", script.string()},
  };
  for (const Bad& b : bad) {
    const fs::path answers = dir_.path() / b.name;
    if (b.content) std::ofstream(answers) << b.content;
    for (const auto& c : commands) {
      SCOPED_TRACE(std::string(b.name) + " " + c.name);
      std::string output;
      std::string errors;
      EXPECT_EQ(run(answers, std::string(c.name) + " " + c.arguments, output, errors), 2);
      EXPECT_EQ(output, "");
      EXPECT_EQ(errors.rfind(std::string("vantorel ") + c.name + ": ", 0), 0U) << errors;
      EXPECT_NE(errors.find(answers.string() + b.line), std::string::npos) << errors;
      EXPECT_NE(errors.find(b.reason), std::string::npos) << errors;
      EXPECT_EQ(readFile(project_), before);
    }
  }
  EXPECT_FALSE(fs::exists(site));
}

// The file reads well, but its answer is no answer to the question the sync asks.
TEST_F(AnswersFile, AnAnswerThatDoesNotFitItsQuestionEndsTheSyncWithItsLine) {
  const std::string before = readFile(project_);
  const fs::path answers = dir_.path() / "answers.txt";
  std::ofstream(answers) << "# the sync question\n3\n";
  std::string output;
  std::string errors;
  EXPECT_EQ(run(answers, "sync " + project_, output, errors), 1) << errors;
  EXPECT_NE(errors.find("vantorel sync: " + answers.string() + ", line 2: \"3\" does not answer"),
            std::string::npos)
      << errors;
  EXPECT_EQ(readFile(project_), before);
}

}  // namespace
