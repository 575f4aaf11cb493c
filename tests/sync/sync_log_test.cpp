// The synchronisation log: its records, its file name, its exact text, and a write that fails
// without taking the synchronisation down.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/sys/clock.hpp"
#include "platform/text/unicode.hpp"
#include "project/project_catalogue.hpp"
#include "support/test_files.hpp"
#include "sync/sync_log.hpp"
#include "sync_fixture.hpp"

namespace vantorel::test {
namespace {

std::tm at(int y, int mo, int d, int h, int mi, int s) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  return t;
}

TEST(SyncLogName, StaysInTheReportFolder) {
  const std::tm t = at(2026, 3, 4, 5, 6, 7);
  struct Case {
    std::u16string projVar;
    std::string expected;
  } cases[] = {
      {u"Shop", "Shop_20260304050607.log"},   {u"../../etc/passwd", "etcpasswd_20260304050607.log"},
      {u"a\\..\\b", "ab_20260304050607.log"}, {u".../x", ".x_20260304050607.log"},
      {u"", "_20260304050607.log"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf8(syncLogFileName(c.projVar, t)), c.expected) << toUtf8(c.projVar);
  }
}

TEST(SyncLogText, SortsByTableThenFieldAndShowsMessagesOfChangesOnly) {
  SyncChangeLog log;
  log.AddSyncLog(u"A", u"Field", u"Orders", u"placed", u"Added field");
  log.AddSyncLog(u"C", u"Field", u"Orders", u"amount", u"Changed type from 3 to 202");
  log.AddSyncLog(u"D", u"TABLE", u"Customers", u"", u"Delete table");
  log.AddSyncLog(u"D", u"Field", u"Customers", u"name", u"Delete field");
  log.AddSyncLog(u"C", u"TABLE", u"Orders", u"", u"Rename orders to Orders", u"Orders");
  log.AddSyncLog(u"X", u"VIEW", u"Totals", u"", u"odd");
  log.AddSyncLog(u"D", u"Field", u"customers", u"id", u"Delete field");
  log.sort();
  const std::string text = toUtf8(formatSyncLog(log.entries(), at(2026, 12, 9, 8, 5, 3)));
  EXPECT_EQ(text,
            "# Software: Vantorel\r\n"
            "# Version: " +
                toUtf8(projectContext().shortVersion) +
                "\r\n"
                "# Date: 2026-12-09 08:05:03\r\n"
                "#\r\n# Customers\r\n#\r\n"
                "DELETED : (TABLE) Customers\r\n"
                "DELETED : (Field) Customers->name\r\n"
                "#\r\n# Orders\r\n#\r\n"
                "CHANGED : (TABLE) Orders - Rename orders to Orders\r\n"
                "CHANGED : (Field) Orders->amount - Changed type from 3 to 202\r\n"
                "ADDED   : (Field) Orders->placed\r\n"
                "#\r\n# Totals\r\n#\r\n"
                "******* : (VIEW) Totals\r\n"
                "#\r\n# customers\r\n#\r\n"
                "DELETED : (Field) customers->id\r\n");
}

// A provider's message may run over several lines: the record keeps to one line of the log.
TEST(SyncLogText, AMessageOverSeveralLinesStaysOnItsRecordsLine) {
  struct Case {
    std::u16string message;
    std::string line;
  } cases[] = {
      {u"syntax error\r\nLINE 1: SELECT", "CHANGED : (CUSTOMVIEW) v - syntax error LINE 1: SELECT"},
      {u"first\n  second \r\n\r\nthird\r\n", "CHANGED : (CUSTOMVIEW) v - first second third"},
      {u"one line ", "CHANGED : (CUSTOMVIEW) v - one line "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf8(formatSyncLogLine({u"C", u"CUSTOMVIEW", u"v", u"", c.message})), c.line);
  }
}

class SyncLogFile : public SyncFixture {
 protected:
  void SetUp() override {
    SyncFixture::SetUp();
    // 2026-12-09 10:11:12 local time.
    std::tm t = at(2026, 12, 9, 10, 11, 12);
    t.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&t));
    sys::setClockForTesting([when] { return when; });
    reportFolder_ = dir_.path() / "reports";
    projectContext().reportFolder = fromUtf8(reportFolder_.string());
  }
  void TearDown() override {
    sys::setClockForTesting(nullptr);
    SyncFixture::TearDown();
  }
  std::filesystem::path logPath() const { return reportFolder_ / "Shop_20261209101112.log"; }
  std::u16string syncLogSetting() { return agp_->SyncLog(); }

  std::filesystem::path reportFolder_;
};

TEST_F(SyncLogFile, NoChangesGiveTheHeaderAndAnEmptySetting) {
  agp_->properties().setting(kProjSyncLog) = Variant(u"/old/path.log");
  SyncChangeLog log;
  // The report folder is missing: it is made.
  EXPECT_EQ(toUtf8(WriteSyncLog(*agp_, log)), "");
  EXPECT_EQ(test::readFile(logPath()),
            "# Software: Vantorel\r\n# Version: " + toUtf8(projectContext().shortVersion) +
                "\r\n# Date: 2026-12-09 10:11:12\r\n");
  EXPECT_EQ(toUtf8(syncLogSetting()), "");
}

TEST_F(SyncLogFile, ASecondRunInTheSameSecondAppends) {
  SyncChangeLog first;
  first.AddSyncLog(u"A", u"TABLE", u"orders", u"", u"Add TABLE");
  ASSERT_EQ(toUtf8(WriteSyncLog(*agp_, first)), "");
  EXPECT_EQ(toUtf8(syncLogSetting()), logPath().string());
  SyncChangeLog second;
  second.AddSyncLog(u"D", u"TABLE", u"lines", u"", u"Delete table");
  ASSERT_EQ(toUtf8(WriteSyncLog(*agp_, second)), "");
  const std::string text = test::readFile(logPath());
  EXPECT_NE(text.find("ADDED   : (TABLE) orders\r\n"), std::string::npos);
  EXPECT_NE(text.find("DELETED : (TABLE) lines\r\n"), std::string::npos);
  EXPECT_LT(text.find("orders"), text.find("lines"));
}

TEST_F(SyncLogFile, AFailedWriteIsReportedAndLeavesTheSettingEmpty) {
  // A file where the report folder should be: neither the folder nor the log can be made.
  test::writeFile(reportFolder_, "not a folder");
  agp_->properties().setting(kProjSyncLog) = Variant(u"/old/path.log");
  SyncChangeLog log;
  log.AddSyncLog(u"A", u"TABLE", u"orders", u"", u"Add TABLE");
  EXPECT_NE(toUtf8(WriteSyncLog(*agp_, log)), "");
  EXPECT_EQ(toUtf8(syncLogSetting()), "");
}

TEST_F(SyncLogFile, NamesOutsideAsciiAreWrittenInTheSystemCodePage) {
  SyncChangeLog log;
  log.AddSyncLog(u"A", u"Field", u"Caf\u00e9", u"pr\u00eax", u"Added field");
  ASSERT_EQ(toUtf8(WriteSyncLog(*agp_, log)), "");
  EXPECT_NE(test::readFile(logPath()).find("ADDED   : (Field) Caf\xe9->pr\xeax\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vantorel::test
