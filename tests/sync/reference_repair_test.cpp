// Reference repair: settings naming a renamed table or field follow it, those naming a deleted
// one are cleared, each with one change record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/unicode.hpp"
#include "sync/reference_repair.hpp"
#include "sync_fixture.hpp"

namespace vantorel::test {
namespace {

using Strings = std::vector<std::string>;

class ReferenceRepair : public SyncFixture {
 protected:
  std::string setting(const std::u16string& t, const std::u16string& f, std::u16string_view name) {
    return toUtf8(settingAsText(*field(t, f).properties().findValue(name)));
  }
  void set(const std::u16string& t, const std::u16string& f, std::u16string_view name,
           const std::u16string& value) {
    field(t, f).properties().item(name)->setValue(Variant(value));
  }
  std::string tableSetting(const std::u16string& t, SettingSlot slot) {
    return toUtf8(settingAsText(table(t).properties().setting(slot)));
  }
  void setLink(const std::u16string& t, const std::u16string& master,
               const std::u16string& masterField, const std::u16string& detailField) {
    AGProperties& bag = table(t).properties();
    bag.setting(kTblMasterTbl) = Variant(master);
    bag.setting(kTblMasterFld) = Variant(masterField);
    bag.setting(kTblDetailFld) = Variant(detailField);
  }
  // Only the records the repair added, after those the test put in.
  Strings repairs(const SyncRun& run, std::size_t before) {
    Strings all = records(run.log);
    return Strings(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  }
};

TEST_F(ReferenceRepair, ALookupOnADeletedTableIsClearedWithItsDependentSettings) {
  addTable(u"orders", {{u"id"}, {u"customer"}});
  set(u"orders", u"customer", u"FldTagLnkTbl", u"customers");
  set(u"orders", u"customer", u"FldTagLnkFld", u"id");
  set(u"orders", u"customer", u"FldTagLnkDisplay", u"name");
  set(u"orders", u"customer", u"FldTagLnkDisp2", u"city");
  set(u"orders", u"customer", u"FldTagLnkOrderBy", u"name");
  set(u"orders", u"customer", u"FldSelectFilterFld", u"region");
  set(u"orders", u"customer", u"FldHtmlTag", u"SELECT");
  set(u"orders", u"customer", u"FldSelectType", u"Table");
  SyncRun run = makeRun();
  run.log.AddSyncLog(u"D", u"TABLE", u"customers", u"", u"Delete table");
  run.log.AddSyncLog(u"D", u"Field", u"customers", u"id", u"Delete field");
  SyncFieldRefs(run);
  EXPECT_EQ(repairs(run, 2), (Strings{"C|Field|orders|customer|Clear lookup table customers||"}));
  for (std::u16string_view name : {u"FldTagLnkTbl", u"FldTagLnkFld", u"FldTagLnkDisplay",
                                   u"FldTagLnkDisp2", u"FldTagLnkOrderBy", u"FldSelectFilterFld"}) {
    EXPECT_EQ(setting(u"orders", u"customer", name), "") << toUtf8(name);
  }
  EXPECT_EQ(setting(u"orders", u"customer", u"FldHtmlTag"), "TEXT");
  EXPECT_EQ(setting(u"orders", u"customer", u"FldSelectType"), "Values");
}

TEST_F(ReferenceRepair, ALookupFollowsItsRenamedTableAndFieldsFieldsFirst) {
  addTable(u"sales", {{u"order_id"}, {u"label"}, {u"note"}});
  addTable(u"lines", {{u"id"}, {u"sale"}});
  set(u"lines", u"sale", u"FldTagLnkTbl", u"orders");
  set(u"lines", u"sale", u"FldTagLnkFld", u"id");
  set(u"lines", u"sale", u"FldTagLnkDisplay", u"title");
  set(u"lines", u"sale", u"FldTagLnkDisp2", u"remark");
  SyncRun run = makeRun();
  run.log.AddSyncLog(u"C", u"TABLE", u"orders", u"", u"Rename orders to sales", u"sales");
  run.log.AddSyncLog(u"C", u"Field", u"orders", u"id", u"Rename id to order_id", u"sales",
                     u"order_id");
  run.log.AddSyncLog(u"C", u"Field", u"orders", u"title", u"Rename title to label", u"sales",
                     u"label");
  // A column of the renamed table deleted later in the run carries the table's new name.
  run.log.AddSyncLog(u"D", u"Field", u"sales", u"remark", u"Delete field");
  SyncFieldRefs(run);
  EXPECT_EQ(repairs(run, 4),
            (Strings{"C|Field|lines|sale|Clear lookup table display field 2 remark||",
                     "C|Field|lines|sale|Rename lookup table link field from id to order_id||",
                     "C|Field|lines|sale|Rename lookup table display field from title to label||",
                     "C|Field|lines|sale|Rename lookup table from orders to sales||"}));
  EXPECT_EQ(setting(u"lines", u"sale", u"FldTagLnkTbl"), "sales");
  EXPECT_EQ(setting(u"lines", u"sale", u"FldTagLnkFld"), "order_id");
  EXPECT_EQ(setting(u"lines", u"sale", u"FldTagLnkDisplay"), "label");
  EXPECT_EQ(setting(u"lines", u"sale", u"FldTagLnkDisp2"), "");
}

TEST_F(ReferenceRepair, SameTableReferencesFollowRenamesAlsoInARenamedTable) {
  addTable(u"photos", {{u"id"}, {u"image"}, {u"kind"}, {u"picture"}});
  set(u"photos", u"picture", u"FileNameFld", u"img");
  set(u"photos", u"picture", u"FileTypeFld", u"mime");
  set(u"photos", u"picture", u"FldTooltipFld", u"kind");
  SyncRun run = makeRun();
  run.log.AddSyncLog(u"C", u"TABLE", u"pictures", u"", u"Rename pictures to photos", u"photos");
  run.log.AddSyncLog(u"C", u"Field", u"pictures", u"img", u"Rename img to image", u"photos",
                     u"image");
  run.log.AddSyncLog(u"D", u"Field", u"photos", u"mime", u"Delete field");
  SyncFieldRefs(run);
  EXPECT_EQ(repairs(run, 3),
            (Strings{"C|Field|photos|picture|Rename FileNameFld field from img to image||",
                     "C|Field|photos|picture|Clear FileTypeFld field||"}));
  EXPECT_EQ(setting(u"photos", u"picture", u"FileNameFld"), "image");
  EXPECT_EQ(setting(u"photos", u"picture", u"FileTypeFld"), "");
  EXPECT_EQ(setting(u"photos", u"picture", u"FldTooltipFld"), "kind");
}

// A table's master/detail link names the master table, a field of it and a field of its own;
// its user id field names a field of its own. They follow renames, also in a table that is only
// listed, whose master is known while its fields are not.
TEST_F(ReferenceRepair, AMasterDetailLinkAndTheUserIdFieldFollowRenames) {
  addTable(u"formats", {{u"format_id"}});
  addTable(u"tracks", {{u"id"}, {u"format_ref"}, {u"owner_id"}});
  addTable(u"later", {});
  table(u"later").properties().setting(kTblLoaded) = Variant(false);
  setLink(u"tracks", u"media", u"id", u"media_id");
  table(u"tracks").properties().setting(kTblUserIDFld) = Variant(u"owner");
  setLink(u"later", u"MEDIA", u"id", u"media_id");
  SyncRun run = makeRun();
  run.log.AddSyncLog(u"C", u"TABLE", u"media", u"", u"Rename media to formats", u"formats");
  run.log.AddSyncLog(u"C", u"Field", u"media", u"id", u"Rename id to format_id", u"formats",
                     u"format_id");
  run.log.AddSyncLog(u"C", u"Field", u"tracks", u"media_id", u"Rename media_id to format_ref",
                     u"tracks", u"format_ref");
  run.log.AddSyncLog(u"C", u"Field", u"tracks", u"owner", u"Rename owner to owner_id", u"tracks",
                     u"owner_id");
  SyncFieldRefs(run);
  EXPECT_EQ(repairs(run, 4),
            (Strings{"C|TABLE|tracks||Rename master table field from id to format_id||",
                     "C|TABLE|tracks||Rename detail field from media_id to format_ref||",
                     "C|TABLE|tracks||Rename master table from media to formats||",
                     "C|TABLE|tracks||Rename user id field from owner to owner_id||",
                     "C|TABLE|later||Rename master table field from id to format_id||",
                     "C|TABLE|later||Rename master table from MEDIA to formats||"}));
  EXPECT_EQ(tableSetting(u"tracks", kTblMasterTbl), "formats");
  EXPECT_EQ(tableSetting(u"tracks", kTblMasterFld), "format_id");
  EXPECT_EQ(tableSetting(u"tracks", kTblDetailFld), "format_ref");
  EXPECT_EQ(tableSetting(u"tracks", kTblUserIDFld), "owner_id");
  EXPECT_EQ(tableSetting(u"later", kTblMasterTbl), "formats");
  EXPECT_EQ(tableSetting(u"later", kTblDetailFld), "media_id");
}

// A link that lost its master table, the master's field or its own field leads nowhere and is
// cleared whole; a user id field that is gone is cleared.
TEST_F(ReferenceRepair, AMasterDetailLinkMissingAnEndIsCleared) {
  struct Case {
    const char* what;
    std::vector<SyncLogEntry> deleted;
  } cases[] = {
      {"master table", {{u"D", u"TABLE", u"media", u"", u"Delete table"}}},
      {"master field", {{u"D", u"Field", u"media", u"id", u"Delete field"}}},
      {"detail field", {{u"D", u"Field", u"tracks", u"media_id", u"Delete field"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    addTable(u"media", {{u"name"}});
    addTable(u"tracks", {{u"id"}});
    setLink(u"tracks", u"media", u"id", u"media_id");
    SyncRun run = makeRun();
    for (const SyncLogEntry& e : c.deleted) {
      run.log.AddSyncLog(e.action, e.kind, e.table, e.field, e.message);
    }
    if (c.deleted[0].kind == u"TABLE") db().tables().remove(u"media");
    SyncFieldRefs(run);
    EXPECT_EQ(repairs(run, 1), (Strings{"C|TABLE|tracks||Clear master table media||"}));
    for (SettingSlot slot : {kTblMasterTbl, kTblMasterFld, kTblDetailFld}) {
      EXPECT_EQ(tableSetting(u"tracks", slot), "");
    }
    db().tables().remove(u"tracks");
    if (db().tables().tableExist(Variant(u"media"))) db().tables().remove(u"media");
  }
  addTable(u"notes", {{u"id"}});
  table(u"notes").properties().setting(kTblUserIDFld) = Variant(u"author");
  SyncRun run = makeRun();
  run.log.AddSyncLog(u"D", u"Field", u"notes", u"author", u"Delete field");
  SyncFieldRefs(run);
  EXPECT_EQ(repairs(run, 1), (Strings{"C|TABLE|notes||Clear user id field author||"}));
  EXPECT_EQ(tableSetting(u"notes", kTblUserIDFld), "");
}

TEST_F(ReferenceRepair, OnlyLoadedTablesAndOnlyRenamesThatHappened) {
  addTable(u"orders", {{u"id"}, {u"customer"}});
  addTable(u"archive", {{u"id"}, {u"customer"}});
  table(u"archive").properties().setting(kTblLoaded) = Variant(false);
  for (const char16_t* t : {u"orders", u"archive"}) set(t, u"customer", u"FldTagLnkTbl", u"people");
  SyncRun run = makeRun();
  // A rename whose new table does not exist (it was refused) repairs nothing.
  run.log.AddSyncLog(u"C", u"TABLE", u"people", u"", u"Rename people to persons", u"persons");
  // A type change carries no old value and repairs nothing either.
  run.log.AddSyncLog(u"C", u"Field", u"people", u"id", u"Changed type from 3 to 200");
  SyncFieldRefs(run);
  EXPECT_EQ(repairs(run, 2), Strings{});
  EXPECT_EQ(setting(u"orders", u"customer", u"FldTagLnkTbl"), "people");

  addTable(u"persons", {{u"id"}});
  SyncFieldRefs(run);
  EXPECT_EQ(repairs(run, 2),
            (Strings{"C|Field|orders|customer|Rename lookup table from people to persons||"}));
  EXPECT_EQ(setting(u"archive", u"customer", u"FldTagLnkTbl"), "people");
}

}  // namespace
}  // namespace vantorel::test
