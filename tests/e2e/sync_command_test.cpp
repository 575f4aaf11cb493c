// `vantorel sync` as a user runs it, on a copy of the shop's SQLite database: the differences
// listed, --dry-run and a kept definition leaving the project file byte for byte, scripted
// answers bringing the project up to date without removals, and --yes removing.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"

namespace fs = std::filesystem;

namespace {

using vantorel::test::readFile;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();
const std::string kCli = VANTOREL_CLI_PATH;

class SyncCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = dir_.path() / "shop.sqlite";
    fs::copy_file(kSource / "examples" / "shop" / "shop.sqlite", database_);
    project_ = (dir_.path() / "shop.vtp").string();
    std::string output;
    ASSERT_EQ(vantorel::test::runCommand(kCli + " new " + project_ + " --connect 'Driver=SQLite3;" +
                                             "Database=" + database_.string() + "' </dev/null 2>&1",
                                         output),
              0)
        << output;
  }
  void TearDown() override { unsetenv("VANTOREL_ANSWERS"); }

  void change(const std::u16string& sql) {
    vantorel::data::Connection connection(u"Driver=SQLite3;Database=" +
                                          vantorel::fromUtf8(database_.string()));
    vantorel::data::execute(connection, sql);
  }
  int sync(const std::string& options, std::string& output) {
    return vantorel::test::runCommand(
        kCli + " sync " + project_ + " " + options + " </dev/null 2>&1", output);
  }

  vantorel::test::TempDir dir_;
  fs::path database_;
  std::string project_;
};

TEST_F(SyncCommand, ListsKeepsAndSynchronisesAsAsked) {
  std::string output;
  ASSERT_EQ(sync("", output), 0) << output;
  EXPECT_NE(output.find("the project matches its database"), std::string::npos) << output;

  change(u"ALTER TABLE Customers ADD COLUMN Nickname VARCHAR(20)");
  change(u"CREATE TABLE Extra (id INTEGER PRIMARY KEY, label VARCHAR(10))");
  change(u"DROP VIEW OrderTotals");
  const std::string before = readFile(project_);

  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  for (const char* line : {"ADDED   : (Field) Customers->Nickname", "ADDED   : (TABLE) Extra",
                           "DELETED : (VIEW) OrderTotals"}) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
  EXPECT_EQ(readFile(project_), before);

  // No terminal and no answers: the question takes its default, Keep.
  ASSERT_EQ(sync("", output), 0) << output;
  EXPECT_NE(output.find("Kept the old definition"), std::string::npos) << output;
  EXPECT_EQ(readFile(project_), before);

  // Scripted answers update, but without --yes nothing is removed.
  const fs::path answers = dir_.path() / "answers.txt";
  std::ofstream(answers) << "Update\n";
  setenv("VANTOREL_ANSWERS", answers.string().c_str(), 1);
  ASSERT_EQ(sync("", output), 0) << output;
  EXPECT_NE(output.find("Log: "), std::string::npos) << output;
  std::string saved = readFile(project_);
  EXPECT_NE(saved.find("TblName=\"Extra\""), std::string::npos);
  EXPECT_NE(saved.find("FldName=\"Nickname\""), std::string::npos);
  EXPECT_NE(saved.find("TblName=\"OrderTotals\""), std::string::npos);
  unsetenv("VANTOREL_ANSWERS");

  ASSERT_EQ(sync("--yes", output), 0) << output;
  saved = readFile(project_);
  EXPECT_EQ(saved.find("TblName=\"OrderTotals\""), std::string::npos) << output;
  EXPECT_NE(saved.find("TblName=\"Extra\""), std::string::npos);
}

TEST_F(SyncCommand, ADatabaseThatCannotBeReadChangesNothing) {
  const std::string before = readFile(project_);
  fs::remove(database_);
  std::ofstream(database_) << "not a database";
  std::string output;
  EXPECT_EQ(sync("--yes", output), 1) << output;
  EXPECT_EQ(readFile(project_), before);
}

}  // namespace
