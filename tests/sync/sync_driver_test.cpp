// The synchronisation driver: what it refuses to run on, and what a run leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text/unicode.hpp"
#include "support/failure_text.hpp"
#include "support/test_files.hpp"
#include "sync/sync_driver.hpp"
#include "sync_fixture.hpp"

namespace vantorel::test {
namespace {

class SyncDriver : public SyncFixture {
 protected:
  void SetUp() override {
    SyncFixture::SetUp();
    reportFolder_ = dir_.path() / "reports";
    projectContext().reportFolder = fromUtf8(reportFolder_.string());
  }
  std::size_t logFiles() const {
    if (!std::filesystem::exists(reportFolder_)) return 0;
    return static_cast<std::size_t>(std::distance(
        std::filesystem::directory_iterator(reportFolder_), std::filesystem::directory_iterator()));
  }
  std::filesystem::path reportFolder_;
};

TEST_F(SyncDriver, NothingHappensWithoutADatabase) {
  agp_->UnLoadDB();
  projectContext().lastErrorText = u"earlier";
  SynchronizeDB(*agp_);
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "earlier");
  EXPECT_EQ(logFiles(), 0u);
}

TEST_F(SyncDriver, ASnapshotThatCannotBeTakenLeavesItsMessageAndNoLog) {
  addTable(u"orders", {{u"id"}});
  agp_->properties().setting(kProjSyncLog) = Variant(u"");
  SynchronizeDB(*agp_);
  EXPECT_NE(projectContext().lastErrorText, u"");
  EXPECT_EQ(db().tables().count(), 1);
  EXPECT_EQ(logFiles(), 0u);
}

TEST_F(SyncDriver, AnEmptyOrPartialSnapshotRunsNoPassAndSaysWhy) {
  addTable(u"orders", {{u"id"}, {u"placed"}});
  addTable(u"totals", {{u"sum"}}, u"VIEW");
  struct Case {
    const char* name;
    bool record;
    const char16_t* tableListError;
    const char16_t* viewListError;
    const char* says;
  } cases[] = {
      {"tables unread", true, u"permission denied", u"",
       "The list of tables could not be read! permission denied"},
      {"views unread", true, u"", u"timeout", "The list of views could not be read! timeout"},
      {"nothing at all", false, u"", u"", "The database holds no table or view!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    snapshot_ = makeRef<AGPSchema>();
    // Taken at its word, this snapshot would delete the view and a column of the table.
    if (c.record) addRecord(u"orders", {{u"id"}});
    snapshot_->database().tableListError = c.tableListError;
    snapshot_->database().viewListError = c.viewListError;
    const std::string why = toUtf8(failureText(SynchronizeWith(*agp_, snapshot_)));
    EXPECT_NE(why.find(c.says), std::string::npos) << why;
    EXPECT_EQ(db().tables().count(), 2);
    EXPECT_EQ(table(u"orders").fields().count(), 2);
    EXPECT_EQ(logFiles(), 0u);
  }
}

TEST_F(SyncDriver, AnEmptyDatabaseMayMeetAnEmptyProject) {
  EXPECT_EQ(toUtf8(failureText(SynchronizeWith(*agp_, snapshot_))), "");
  EXPECT_EQ(logFiles(), 1u);
}

TEST_F(SyncDriver, AFailedLogComesAfterTheKeysAreSet) {
  addTable(u"orders", {{u"id"}, {u"no"}});
  // The key comes from the database, and the keys are set after the log failed.
  addRecord(u"orders", {{u"id"}, {u"no"}}).TblKey = u"no";
  test::writeFile(reportFolder_, "a file, not a folder");
  const std::string message = toUtf8(RunSyncPasses(*agp_, snapshot_).logFailure);
  EXPECT_EQ(message.rfind("Vantorel: The synchronization log could not be written: ", 0), 0u)
      << message;
  EXPECT_EQ(toUtf8(settingAsText(table(u"orders").properties().setting(kTblKey))), "no");
}

TEST_F(SyncDriver, ARunWithoutChangesWritesTheHeaderOnly) {
  addTable(u"orders", {{u"id"}});
  addRecord(u"orders", {{u"id"}});
  EXPECT_EQ(toUtf8(RunSyncPasses(*agp_, snapshot_).logFailure), "");
  EXPECT_EQ(logFiles(), 1u);
  EXPECT_EQ(toUtf8(agp_->SyncLog()), "");
  EXPECT_EQ(db().tables().count(), 1);
}

}  // namespace
}  // namespace vantorel::test
