// `vantorel sync` as a user runs it, on a copy of the shop's SQLite database: the differences
// listed, --dry-run and a kept definition leaving the project file byte for byte, scripted
// answers bringing the project up to date without removals, --yes removing, and a site
// generated afterwards; a second run kept off the project file while one holds it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "projectfile/project_file_lock.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

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
  // The output of this run alone.
  int sync(const std::string& options, std::string& output) {
    output.clear();
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
  EXPECT_NE(output.find("no longer has were kept: run with --yes"), std::string::npos) << output;
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

// Changes the synchronisation copies without a record of their own (a new size, a column that
// may now be empty, a new unique index) are applied, listed, and leave the check at 0.
TEST_F(SyncCommand, AppliesWhatTheCheckCountsThatLeavesNoRecord) {
  change(
      u"CREATE TABLE Notes (NoteID INTEGER PRIMARY KEY, Body VARCHAR(40) NOT NULL, "
      u"Code VARCHAR(10))");
  std::string output;
  ASSERT_EQ(sync("--yes", output), 0) << output;
  change(u"DROP TABLE Notes");
  change(
      u"CREATE TABLE Notes (NoteID INTEGER PRIMARY KEY, Body VARCHAR(80), "
      u"Code VARCHAR(10) UNIQUE)");
  EXPECT_EQ(vantorel::test::checkDatabase(kCli, project_, dir_.path()), "CheckDB 3\n");

  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  EXPECT_NE(output.find("differs from its database (3 difference(s) found):"), std::string::npos)
      << output;
  ASSERT_EQ(sync("--yes", output), 0) << output;
  for (const char* line :
       {"Synchronized 2 change(s)",
        "CHANGED : (Field) Notes->Body - Changed definition: size from 40 to 80, no longer "
        "required",
        "CHANGED : (Field) Notes->Code - Changed definition: now uniquely indexed"}) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
  EXPECT_EQ(output.find("were kept"), std::string::npos) << output;
  EXPECT_EQ(vantorel::test::checkDatabase(kCli, project_, dir_.path()), "CheckDB 0\n");
  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  EXPECT_NE(output.find("the project matches its database"), std::string::npos) << output;
}

// After a synchronisation whose scripted answers pair a renamed table and column, with a table
// and a column added, the site generated from the project has the tables' pages under their new
// names, no page left under the old one, and every page compiles.
TEST_F(SyncCommand, TheSiteGeneratedAfterASyncCompiles) {
  change(u"ALTER TABLE Categories RENAME TO ProductGroups");
  change(u"ALTER TABLE Customers RENAME COLUMN City TO Town");
  change(u"ALTER TABLE Orders ADD COLUMN Carrier VARCHAR(30)");
  change(u"CREATE TABLE Suppliers (SupplierID INTEGER PRIMARY KEY, SupplierName VARCHAR(40))");
  // Update, then ProductGroups is Categories (item 2, after "none"), Town is City.
  const fs::path answers = dir_.path() / "answers.txt";
  std::ofstream(answers) << "Update\n2\n2\n";
  setenv("VANTOREL_ANSWERS", answers.string().c_str(), 1);
  std::string output;
  ASSERT_EQ(sync("", output), 0) << output;
  unsetenv("VANTOREL_ANSWERS");
  const std::string saved = readFile(project_);
  EXPECT_EQ(saved.find("TblName=\"Categories\""), std::string::npos) << output;
  EXPECT_EQ(saved.find("FldName=\"City\""), std::string::npos) << output;
  EXPECT_NE(saved.find("TblName=\"Suppliers\""), std::string::npos) << output;
  EXPECT_NE(saved.find("FldName=\"Carrier\""), std::string::npos) << output;
  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  EXPECT_NE(output.find("the project matches its database"), std::string::npos) << output;

  const fs::path site = dir_.path() / "site";
  ASSERT_EQ(
      vantorel::test::runCommand(
          kCli + " generate " + project_ + " --destination " + site.string() + " 2>&1", output),
      0)
      << output;
  for (const char* page : {"ProductGroupslist.asp", "Customerslist.asp", "Orderslist.asp"}) {
    EXPECT_TRUE(fs::is_regular_file(site / page)) << page;
  }
  EXPECT_FALSE(fs::exists(site / "Categorieslist.asp"));
  // The page reads the renamed column; the caption the user had is kept.
  const std::string customers = readFile(site / "Customerslist.asp");
  EXPECT_NE(customers.find("QName(\"Town\")"), std::string::npos);
  EXPECT_EQ(customers.find("QName(\"City\")"), std::string::npos);
  const auto pages = vantorel::test::pageProblems(site);
  for (const auto& [name, problem] : pages) EXPECT_EQ(problem, "") << name;
  EXPECT_GT(pages.size(), 20U);
}

// The driver would make an empty database where the file was: neither check nor sync may.
TEST_F(SyncCommand, AMissingDatabaseFileIsReportedAndNotMade) {
  const std::string before = readFile(project_);
  fs::remove(database_);
  std::string output;
  EXPECT_EQ(sync("--yes", output), 1) << output;
  EXPECT_NE(output.find("\"" + database_.string() + "\" does not exist"), std::string::npos)
      << output;
  output.clear();
  vantorel::test::runCommand(kCli + " check " + project_ + " </dev/null 2>&1", output);
  EXPECT_NE(output.find("\"" + database_.string() + "\" does not exist"), std::string::npos)
      << output;
  EXPECT_FALSE(fs::exists(database_));
  EXPECT_EQ(readFile(project_), before);

  // An empty file is an empty database: the warning gives its advice once.
  std::ofstream(database_).close();
  std::string warned;
  vantorel::test::runCommand(kCli + " check " + project_ + " </dev/null 2>&1", warned);
  const std::string advice = "Please check if correct database is in use.";
  ASSERT_NE(warned.find("The database holds no table or view! " + advice), std::string::npos)
      << warned;
  EXPECT_EQ(warned.find(advice, warned.find(advice) + 1), std::string::npos) << warned;
}

// A custom view whose query fails keeps its fields: the check counts nothing for it, and the
// command does not call the project different for the record that tells of it.
TEST_F(SyncCommand, ACustomViewWhoseQueryFailsIsNoDifference) {
  const fs::path script = dir_.path() / "add_view.vbs";
  std::ofstream(script) << "Set proj = CreateObject(\"vantorel4.AGP\")\n"
                           "proj.Load WScript.Arguments(0)\n"
                           "proj.LoadCustomView \"Recent\", \"SELECT OrderID, Note FROM Orders\", "
                           "False\n"
                           "If proj.ProjErr <> \"\" Then WScript.Quit 1\n"
                           "proj.Save WScript.Arguments(0)\n";
  std::string output;
  ASSERT_EQ(vantorel::test::runCommand(
                kCli + " run " + script.string() + " " + project_ + " </dev/null 2>&1", output),
            0)
      << output;
  std::string stored = readFile(project_);
  const std::string query = "TblCustomSQL=\"SELECT OrderID, Note FROM Orders\"";
  ASSERT_NE(stored.find(query), std::string::npos);
  stored.replace(stored.find(query), query.size(), "TblCustomSQL=\"SELECT Nothing FROM Orders\"");
  std::ofstream(project_, std::ios::trunc) << stored;
  for (const char* options : {"--dry-run", "--yes"}) {
    ASSERT_EQ(sync(options, output), 0) << output;
    EXPECT_NE(output.find("the project matches its database"), std::string::npos) << output;
  }
  EXPECT_EQ(readFile(project_), stored);
}

// A column that only changed its type is updated by scripted answers without --yes, and the
// command does not claim that something was kept from removal.
TEST_F(SyncCommand, ANewTypeAloneIsNoRemoval) {
  change(
      u"CREATE TABLE Categories_new (CategoryID INTEGER PRIMARY KEY, CategoryName "
      u"VARCHAR(30) NOT NULL UNIQUE, Description INTEGER)");
  change(u"INSERT INTO Categories_new SELECT CategoryID, CategoryName, NULL FROM Categories");
  change(u"DROP TABLE Categories");
  change(u"ALTER TABLE Categories_new RENAME TO Categories");
  std::string output;
  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  EXPECT_NE(output.find("CHANGED : (Field) Categories->Description - Changed type from "),
            std::string::npos)
      << output;
  const fs::path answers = dir_.path() / "answers.txt";
  std::ofstream(answers) << "Update\n";
  setenv("VANTOREL_ANSWERS", answers.string().c_str(), 1);
  ASSERT_EQ(sync("", output), 0) << output;
  EXPECT_EQ(output.find("run with --yes"), std::string::npos) << output;
  EXPECT_NE(output.find("Synchronized 1 change(s)"), std::string::npos) << output;
  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  EXPECT_NE(output.find("the project matches its database"), std::string::npos) << output;
}

TEST_F(SyncCommand, ADatabaseThatCannotBeReadChangesNothing) {
  const std::string before = readFile(project_);
  fs::remove(database_);
  std::ofstream(database_) << "not a database";
  std::string output;
  EXPECT_EQ(sync("--yes", output), 1) << output;
  EXPECT_EQ(readFile(project_), before);
}

// Another run holds the project file's lock, as a sync waiting for its user's answer does: a
// second sync, and another program's AGP.Save, stop with the file named and change nothing.
// Once the lock is free the sync goes through and leaves no lock file behind.
TEST_F(SyncCommand, AHeldProjectFileStopsASecondSyncAndAnotherSave) {
  change(u"ALTER TABLE Customers ADD COLUMN Nickname VARCHAR(20)");
  const std::string before = readFile(project_);
  const fs::path script = dir_.path() / "save.vbs";
  std::ofstream(script) << "Set p = CreateObject(\"vantorel4.AGP\")\n"
                        << "p.Load \"" << project_ << "\"\n"
                        << "p.Save \"" << project_ << "\"\n";
  std::string output;
  {
    const std::optional<vantorel::ProjectFileLock> held =
        vantorel::ProjectFileLock::tryAcquire(vantorel::fromUtf8(project_));
    ASSERT_TRUE(held);
    EXPECT_EQ(sync("--yes", output), 1) << output;
    EXPECT_NE(output.find("vantorel sync: The project file \"" + project_ + "\" is in use"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("Nothing was changed."), std::string::npos) << output;
    EXPECT_EQ(readFile(project_), before);

    EXPECT_EQ(
        vantorel::test::runCommand(kCli + " run " + script.string() + " </dev/null 2>&1", output),
        1)
        << output;
    EXPECT_NE(output.find("is in use by another program"), std::string::npos) << output;
    EXPECT_NE(output.find("Not saved. (70)"), std::string::npos) << output;
    EXPECT_EQ(readFile(project_), before);

    // A dry run only reads.
    EXPECT_EQ(sync("--dry-run", output), 0) << output;
  }
  ASSERT_EQ(sync("--yes", output), 0) << output;
  EXPECT_NE(readFile(project_).find("FldName=\"Nickname\""), std::string::npos);
  EXPECT_FALSE(fs::exists(project_ + ".lock"));
}

// A table replaced by a view of its name: one run rebuilds it as that view, with its columns once,
// and the project then matches its database.
TEST_F(SyncCommand, ATableReplacedByAViewIsSynchronisedInOneRun) {
  change(u"ALTER TABLE Categories RENAME TO ProductGroups");
  change(u"CREATE VIEW Categories AS SELECT CategoryID, CategoryName FROM ProductGroups");
  std::string output;
  ASSERT_EQ(sync("--yes", output), 0) << output;
  const std::string retyped = "CHANGED : (TABLE) Categories - Changed type from TABLE to VIEW";
  ASSERT_NE(output.find(retyped), std::string::npos) << output;
  EXPECT_EQ(output.find("Changed type from", output.find(retyped) + retyped.size()),
            std::string::npos)
      << output;
  const std::string saved = readFile(project_);
  const std::size_t element = saved.find("TblName=\"Categories\"");
  ASSERT_NE(element, std::string::npos);
  EXPECT_NE(saved.substr(element, saved.find('>', element) - element).find("TblType=\"VIEW\""),
            std::string::npos);
  EXPECT_EQ(vantorel::test::checkDatabase(kCli, project_, dir_.path()), "CheckDB 0\n");
  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  EXPECT_NE(output.find("the project matches its database"), std::string::npos) << output;
}

// A key column renamed: a dry run lists the key's change, the run takes the database's key
// without a question (the old one names a column that is gone), and the site has the pages that
// need a key again.
TEST_F(SyncCommand, ARenamedKeyColumnGivesTheTableItsNewKey) {
  change(u"ALTER TABLE Customers RENAME COLUMN CustomerID TO ClientID");
  const std::string record =
      "CHANGED : (TABLE) Customers - Changed key from CustomerID to ClientID";
  std::string output;
  ASSERT_EQ(sync("--dry-run", output), 0) << output;
  EXPECT_NE(output.find(record), std::string::npos) << output;
  ASSERT_EQ(sync("--yes", output), 0) << output;
  EXPECT_NE(output.find(record), std::string::npos) << output;
  EXPECT_EQ(output.find("Keep/Update primary Key"), std::string::npos) << output;
  const std::string saved = readFile(project_);
  const std::size_t field = saved.find("<Field FldName=\"ClientID\"");
  ASSERT_NE(field, std::string::npos);
  EXPECT_NE(saved.substr(field, saved.find('>', field) - field).find("FldIsPrimaryKey=\"1\""),
            std::string::npos);
  EXPECT_EQ(vantorel::test::checkDatabase(kCli, project_, dir_.path()), "CheckDB 0\n");

  const fs::path site = dir_.path() / "site";
  ASSERT_EQ(
      vantorel::test::runCommand(
          kCli + " generate " + project_ + " --destination " + site.string() + " 2>&1", output),
      0)
      << output;
  for (const char* page : {"Customerslist.asp", "Customersview.asp", "Customersedit.asp"}) {
    EXPECT_TRUE(fs::is_regular_file(site / page)) << page;
  }
}

}  // namespace
