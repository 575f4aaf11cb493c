// Reports follow their source tables, and custom views their queries; what cannot be read
// leaves the object as it was with one change record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/unicode.hpp"
#include "sync/custom_sync.hpp"
#include "sync_fixture.hpp"

namespace vantorel::test {
namespace {

using Strings = std::vector<std::string>;

class CustomSync : public SyncFixture {
 protected:
  AGPTable& addReport(const std::u16string& name, const std::u16string& source,
                      const std::vector<ColumnSpec>& fields) {
    AGPTable& report = addTable(name, fields, u"REPORT");
    report.properties().setting(kTblRptSrc) = Variant(source);
    return report;
  }
  std::string text(const std::u16string& t, SettingSlot slot) {
    return toUtf8(settingAsText(table(t).properties().setting(slot)));
  }
  Strings syncReport(const std::u16string& name) {
    SyncRun run = makeRun(u"");
    SyncReport(run, name);
    return records(run.log);
  }
};

TEST_F(CustomSync, AReportFollowsItsSourceAndKeepsItsOwnSettings) {
  addTable(u"orders", {{u"id"}, {u"amount", 202}, {u"placed", 7}, {u"Status", 200}});
  addReport(u"sales", u"orders", {{u"id"}, {u"amount"}, {u"gone"}, {u"status", 200}});
  EXPECT_EQ(syncReport(u"sales"),
            (Strings{"C|Field|sales|status|Rename status to Status|sales|Status",
                     "C|Field|sales|amount|Change type from 3 to 202||",
                     "A|Field|sales|placed|Add field||", "D|Field|sales|gone|Delete field||"}));
  EXPECT_EQ(fieldNames(u"sales"), (Strings{"id", "amount", "Status", "placed"}));
  // The retyped and the respelt field keep the user's settings.
  EXPECT_EQ(caption(u"sales", u"amount"), "sales.amount");
  EXPECT_EQ(caption(u"sales", u"Status"), "sales.status");
  EXPECT_EQ(field(u"sales", u"amount").FldType(), 202);
  EXPECT_EQ(text(u"sales", kTblCustomError), "");
}

TEST_F(CustomSync, AReportWhoseSourceCannotBeFollowedKeepsItsFields) {
  addTable(u"listed", {});
  table(u"listed").properties().setting(kTblLoaded) = Variant(false);
  addTable(u"broken", {{u"id"}}, u"CUSTOMVIEW");
  table(u"broken").properties().setting(kTblCustomError) = Variant(u"syntax error");
  struct Case {
    const char16_t* source;
    const char* message;
  } cases[] = {
      {u"missing", "Vantorel: Source Table not found"},
      {u"listed", "Vantorel: Source Table not loaded"},
      {u"broken", "Vantorel: Source Table Error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const std::u16string name = std::u16string(u"r_") + c.source;
    addReport(name, c.source, {{u"id"}, {u"x"}});
    EXPECT_EQ(syncReport(name),
              Strings{"C|REPORT|" + toUtf8(name) + "||" + std::string(c.message) + "||"});
    EXPECT_EQ(fieldNames(name), (Strings{"id", "x"}));
    EXPECT_EQ(text(name, kTblCustomError), c.message);
  }
}

TEST_F(CustomSync, ACustomViewWhoseQueryFailsKeepsItsFields) {
  addTable(u"summary", {{u"n"}, {u"m"}}, u"CUSTOMVIEW");
  table(u"summary").properties().setting(kTblCustomSQL) = Variant(u"SELECT n, m FROM nowhere");
  projectContext().lastErrorText.clear();
  SyncRun run = makeRun(u"");
  SyncCustom(run, u"summary");
  const Strings log = records(run.log);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("C|CUSTOMVIEW|summary||", 0), 0u) << log[0];
  EXPECT_EQ(fieldNames(u"summary"), (Strings{"n", "m"}));
  EXPECT_NE(text(u"summary", kTblCustomError), "");
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
}

TEST_F(CustomSync, TheReportPassVisitsEveryReport) {
  addTable(u"orders", {{u"id"}, {u"placed", 7}});
  addReport(u"a", u"orders", {{u"id"}});
  addReport(u"b", u"orders", {{u"id"}, {u"placed", 7}});
  SyncRun run = makeRun();
  SyncReports(run);
  EXPECT_EQ(records(run.log), (Strings{"A|Field|a|placed|Add field||"}));
  EXPECT_EQ(recorder_->events(ui::RecordingBackend::Event::Kind::Opened).size(), 1u);
}

}  // namespace
}  // namespace vantorel::test
