// The table and view pass: what remains keeps every setting, what is new is added, what is gone
// is deleted, and the mends for unread columns, name clashes and letter case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/unicode.hpp"
#include "project/project_catalogue.hpp"
#include "sync/rename_mapping.hpp"
#include "sync/table_sync.hpp"
#include "sync_fixture.hpp"

namespace vantorel::test {
namespace {

using Strings = std::vector<std::string>;

class TableSync : public SyncFixture {
 protected:
  Strings tableNames() {
    Strings out;
    for (std::int32_t i = 0; i < db().tables().count(); ++i) {
      out.push_back(toUtf8(db().tables().at(static_cast<std::size_t>(i)).tblName()));
    }
    return out;
  }
  Strings run(SyncOptions options = {}) {
    SyncRun r(*agp_, db(), snapshot_, u"ALL", options);
    MapRenamedObjects(r);
    SyncTablesViews(r);
    return records(r.log);
  }
};

TEST_F(TableSync, ColumnsAddedDroppedAndRetypedKeepTheSettingsOfTheRest) {
  addTable(u"orders", {{u"id"}, {u"placed", 7}, {u"gone"}, {u"amount"}});
  addRecord(u"orders", {{u"id"}, {u"placed", 7}, {u"amount", 202}, {u"fresh", 200}});
  EXPECT_EQ(run(),
            (Strings{"C|Field|orders|amount|Changed type from 3 to 202||",
                     "A|Field|orders|fresh|Added field||", "D|Field|orders|gone|Delete field||"}));
  EXPECT_EQ(fieldNames(u"orders"), (Strings{"id", "placed", "amount", "fresh"}));
  EXPECT_EQ(caption(u"orders", u"id"), "orders.id");
  EXPECT_EQ(caption(u"orders", u"placed"), "orders.placed");
  EXPECT_EQ(field(u"orders", u"amount").FldType(), 202);
}

TEST_F(TableSync, TablesAddedAndDroppedAndAViewRetyped) {
  addTable(u"orders", {{u"id"}});
  addTable(u"old", {{u"id"}, {u"x"}});
  addTable(u"totals", {{u"sum"}});
  addRecord(u"orders", {{u"id"}});
  addRecord(u"totals", {{u"sum"}}, u"VIEW");
  addRecord(u"fresh", {{u"id"}, {u"name", 202}});
  EXPECT_EQ(run(), (Strings{"C|TABLE|totals||Changed type from TABLE to VIEW||",
                            "A|Field|totals|sum|New field||", "A|TABLE|fresh||Add TABLE||",
                            "A|Field|fresh|id|New field||", "A|Field|fresh|name|New field||",
                            "D|TABLE|old||Delete table||", "D|Field|old|id|Delete field||",
                            "D|Field|old|x|Delete field||"}));
  EXPECT_EQ(tableNames(), (Strings{"orders", "totals", "fresh"}));
  EXPECT_EQ(toUtf8(table(u"totals").tblType()), "VIEW");
}

TEST_F(TableSync, UnreadColumnsChangeNothingAndSayWhy) {
  addTable(u"orders", {{u"id"}, {u"placed"}});
  addRecord(u"orders", {}).TblReadError = u"permission denied for table orders";
  EXPECT_EQ(run(), (Strings{"C|TABLE|orders||permission denied for table orders||"}));
  EXPECT_EQ(fieldNames(u"orders"), (Strings{"id", "placed"}));
}

TEST_F(TableSync, ANewTableNeverRetypesACustomViewOrReportOfItsName) {
  addTable(u"summary", {{u"n"}}, u"CUSTOMVIEW");
  addTable(u"monthly", {{u"n"}}, u"REPORT");
  addRecord(u"summary", {{u"n"}, {u"m"}});
  addRecord(u"Monthly", {{u"n"}});
  const Strings log = run();
  EXPECT_EQ(log,
            (Strings{"C|CUSTOMVIEW|summary||Not synchronized: the database has a TABLE of the "
                     "same name||",
                     "C|REPORT|monthly||Not synchronized: the database has a TABLE of the same "
                     "name||"}));
  EXPECT_EQ(toUtf8(table(u"summary").tblType()), "CUSTOMVIEW");
  EXPECT_EQ(fieldNames(u"summary"), (Strings{"n"}));
  EXPECT_EQ(toUtf8(table(u"monthly").tblType()), "REPORT");
}

TEST_F(TableSync, WithoutRemovalsNothingIsDeleted) {
  addTable(u"orders", {{u"id"}, {u"gone"}});
  addTable(u"old", {{u"id"}});
  addRecord(u"orders", {{u"id"}});
  EXPECT_EQ(run(SyncOptions{.ask = false, .removals = false, .writeLog = false}), Strings{});
  EXPECT_EQ(tableNames(), (Strings{"orders", "old"}));
  EXPECT_EQ(fieldNames(u"orders"), (Strings{"id", "gone"}));
}

TEST_F(TableSync, ACaseOnlyRenameIsOneChange) {
  addTable(u"Orders", {{u"ID"}, {u"placed"}});
  addRecord(u"orders", {{u"id"}, {u"placed"}});
  EXPECT_EQ(run(), (Strings{"C|TABLE|Orders||Rename Orders to orders|orders|",
                            "C|Field|Orders|ID|Rename ID to id|orders|id"}));
  EXPECT_EQ(caption(u"orders", u"id"), "Orders.ID");
}

TEST_F(TableSync, AChangedKeyIsKeptOrUpdatedAsAnswered) {
  for (const ui::Answer answer : {ui::Answer::Keep, ui::Answer::Update}) {
    SCOPED_TRACE(static_cast<int>(answer));
    agp_->UnLoadDB();
    agp_->databases().add(u"DB");
    agp_->setDB(Ref<AGPDatabase>(agp_->databases().find(u"DB")));
    snapshot_ = makeRef<AGPSchema>();
    addTable(u"lines", {{u"id"}, {u"no"}});
    table(u"lines").properties().setting(kTblKey) = Variant(u"id");
    addRecord(u"lines", {{u"id"}, {u"no"}}).TblKey = u"id\r\nno";
    recorder_->queueAnswer(answer);
    const Strings log = run();
    const bool update = answer == ui::Answer::Update;
    EXPECT_EQ(log,
              update ? Strings{"C|TABLE|lines||Changed key from id to id\r\nno||"} : Strings{});
    EXPECT_EQ(field(u"lines", u"no").FldIsPrimaryKey(), update);
    EXPECT_TRUE(field(u"lines", u"id").FldIsPrimaryKey());
  }
}

TEST_F(TableSync, UnattendedRunsKeepTheKey) {
  recorder_->setUnattended(true);
  addTable(u"lines", {{u"id"}, {u"no"}});
  table(u"lines").properties().setting(kTblKey) = Variant(u"id");
  addRecord(u"lines", {{u"id"}, {u"no"}}).TblKey = u"no";
  EXPECT_EQ(run(), Strings{});
  EXPECT_EQ(toUtf8(settingAsText(table(u"lines").properties().setting(kTblKey))), "id");
}

TEST_F(TableSync, DynamicLoadListsNewTablesOnly) {
  agp_->properties().setting(kProjDynamicLoadDB) = Variant(true);
  addRecord(u"fresh", {{u"id"}});
  EXPECT_EQ(run(), (Strings{"A|TABLE|fresh||Add TABLE||"}));
  EXPECT_FALSE(settingAsBool(table(u"fresh").properties().setting(kTblLoaded)));
  EXPECT_EQ(table(u"fresh").fields().count(), 0);
}

}  // namespace
}  // namespace vantorel::test
