// The first pass of a synchronisation: tables, views and fields found only in the database are
// paired with those found only in the project, by letter case alone or by the user's answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/tables.hpp"
#include "platform/text/unicode.hpp"
#include "sync/rename_mapping.hpp"
#include "sync_fixture.hpp"

namespace vantorel::test {
namespace {

using Strings = std::vector<std::string>;

class RenameMapping : public SyncFixture {
 protected:
  std::vector<ui::RecordingBackend::Event> questions() {
    return recorder_->events(ui::RecordingBackend::Event::Kind::Asked);
  }
  Strings tableNames() {
    Strings out;
    for (std::int32_t i = 0; i < db().tables().count(); ++i) {
      out.push_back(toUtf8(db().tables().at(static_cast<std::size_t>(i)).tblName()));
    }
    return out;
  }
};

TEST_F(RenameMapping, APairedTableKeepsItsSettingsUnderTheNewName) {
  addTable(u"orders", {{u"id"}, {u"placed"}});
  addTable(u"customers", {{u"id"}});
  addRecord(u"customers", {{u"id"}});
  addRecord(u"sales", {{u"id"}, {u"placed"}});
  recorder_->queuePick(1);
  SyncRun run = makeRun();
  MapRenamedObjects(run);

  const auto asked = questions();
  ASSERT_EQ(asked.size(), 1u);
  const ui::Question& q = asked[0].question;
  EXPECT_EQ(toUtf8(q.title), "New table found in schema");
  EXPECT_EQ(q.items, (std::vector<std::u16string>{u"(none)", u"orders"}));
  EXPECT_NE(q.text.find(u"New table: sales"), std::u16string::npos);
  EXPECT_EQ(tableNames(), (Strings{"sales", "customers"}));
  EXPECT_EQ(toUtf8(settingAsText(table(u"sales").properties().setting(kTblCaption))),
            "Caption of orders");
  EXPECT_EQ(records(run.log), (Strings{"C|TABLE|orders||Rename orders to sales|sales|"}));
}

TEST_F(RenameMapping, CancelledOrUnattendedPairsNothing) {
  for (const bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancel" : "unattended");
    agp_->UnLoadDB();
    agp_->databases().add(u"DB");
    agp_->setDB(Ref<AGPDatabase>(agp_->databases().find(u"DB")));
    snapshot_ = makeRef<AGPSchema>();
    addTable(u"orders", {{u"id"}});
    addTable(u"lines", {{u"id"}});
    addRecord(u"sales", {{u"id"}});
    addRecord(u"items", {{u"id"}});
    if (cancel) {
      recorder_->queuePick(2);  // a first choice, then Cancel for the whole dialog
      recorder_->queueAnswer(ui::Answer::Cancel);
    } else {
      recorder_->setUnattended(true);
    }
    SyncRun run = makeRun();
    MapRenamedObjects(run);
    EXPECT_EQ(tableNames(), (Strings{"orders", "lines"}));
    EXPECT_TRUE(run.log.entries().empty());
    recorder_->setUnattended(false);
  }
}

TEST_F(RenameMapping, NamesDifferingOnlyInCaseTakeTheLiveSpellingWithoutAQuestion) {
  addTable(u"Orders", {{u"ID"}, {u"Placed", 7}});
  addTable(u"totals", {{u"sum"}}, u"VIEW");
  addRecord(u"orders", {{u"id"}, {u"placed", 135}});
  addRecord(u"Totals", {{u"Sum"}}, u"VIEW");
  SyncRun run = makeRun();
  MapRenamedObjects(run);
  EXPECT_TRUE(questions().empty());
  EXPECT_EQ(tableNames(), (Strings{"orders", "Totals"}));
  EXPECT_EQ(toUtf8(field(u"orders", u"id").FldName()), "id");
  // The field whose type changed is renamed too: the table pass then sees the type change.
  EXPECT_EQ(toUtf8(field(u"orders", u"placed").FldName()), "placed");
  EXPECT_EQ(records(run.log),
            (Strings{"C|TABLE|Orders||Rename Orders to orders|orders|",
                     "C|VIEW|totals||Rename totals to Totals|Totals|",
                     "C|Field|Orders|ID|Rename ID to id|orders|id",
                     "C|Field|Orders|Placed|Rename Placed to placed|orders|placed",
                     "C|Field|totals|sum|Rename sum to Sum|Totals|Sum"}));
}

TEST_F(RenameMapping, AFieldOfARenamedTableIsRecordedUnderTheTablesOldName) {
  addTable(u"orders", {{u"id"}, {u"placed"}});
  addRecord(u"sales", {{u"id"}, {u"placed_on"}});
  recorder_->queuePick(1);  // sales is orders
  recorder_->queuePick(1);  // placed_on is placed
  SyncRun run = makeRun();
  MapRenamedObjects(run);
  ASSERT_EQ(questions().size(), 2u);
  EXPECT_EQ(toUtf8(questions()[1].question.title), "Table: sales - New fields found in schema");
  EXPECT_EQ(questions()[1].question.items, (std::vector<std::u16string>{u"(none)", u"placed"}));
  EXPECT_EQ(toUtf8(settingAsText(field(u"sales", u"placed_on").properties().setting(kFldCaption))),
            "orders.placed");
  EXPECT_EQ(records(run.log),
            (Strings{"C|TABLE|orders||Rename orders to sales|sales|",
                     "C|Field|orders|placed|Rename placed to placed_on|sales|placed_on"}));
}

TEST_F(RenameMapping, NoQuestionWithoutBothNewAndOldAndNoneForUnreadColumns) {
  addTable(u"orders", {{u"id"}, {u"placed", 7}});
  addTable(u"lines", {{u"id"}, {u"qty"}});
  // A type change alone is not a rename; a table whose columns could not be read offers none.
  addRecord(u"orders", {{u"id"}, {u"placed", 135}});
  addRecord(u"lines", {}).TblReadError = u"permission denied for table lines";
  SyncRun run = makeRun();
  MapRenamedObjects(run);
  EXPECT_TRUE(questions().empty());
  EXPECT_TRUE(run.log.entries().empty());
}

TEST_F(RenameMapping, ARefusedRenameWritesNoRecord) {
  addTable(u"orders", {{u"id"}});
  addTable(u"Sales", {{u"id"}}, u"VIEW");
  addRecord(u"sales", {{u"id"}});  // a table; the view of that name is gone
  recorder_->queuePick(1);
  SyncRun run = makeRun();
  MapRenamedObjects(run);
  EXPECT_EQ(tableNames(), (Strings{"orders", "Sales"}));
  EXPECT_TRUE(run.log.entries().empty());
}

TEST_F(RenameMapping, ReportsFollowTheirRenamedSource) {
  addTable(u"orders", {{u"id"}}).properties().setting(kTblRptSrc) = Variant(u"orders");
  addTable(u"order_report", {{u"id"}}, u"REPORT").properties().setting(kTblRptSrc) =
      Variant(u"orders");
  addRecord(u"sales", {{u"id"}});
  recorder_->queuePick(1);
  SyncRun run = makeRun();
  MapRenamedObjects(run);
  EXPECT_EQ(toUtf8(settingAsText(table(u"order_report").properties().setting(kTblRptSrc))),
            "sales");
  // The table's own report source, its name by default, follows it without a record.
  EXPECT_EQ(toUtf8(settingAsText(table(u"sales").properties().setting(kTblRptSrc))), "sales");
  EXPECT_EQ(records(run.log),
            (Strings{"C|TABLE|orders||Rename orders to sales|sales|",
                     "C|REPORT|order_report||Rename source table from orders to sales||"}));
}

TEST_F(RenameMapping, AnOldNameIsOfferedUntilChosenOnce) {
  addTable(u"a", {{u"id"}});
  addTable(u"b", {{u"id"}});
  addRecord(u"x", {{u"id"}});
  addRecord(u"y", {{u"id"}});
  recorder_->queuePick(2);  // x is b
  recorder_->queuePick(1);  // y is a
  SyncRun run = makeRun();
  MapRenamedObjects(run);
  ASSERT_EQ(questions().size(), 2u);
  EXPECT_EQ(questions()[1].question.items, (std::vector<std::u16string>{u"(none)", u"a"}));
  EXPECT_EQ(tableNames(), (Strings{"y", "x"}));
}

}  // namespace
}  // namespace vantorel::test
