// What the project's error text says after each member of the check, the synchronisation and the
// snapshot, on the three servers: the text a script reads, and the fault kept on the custom view.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "schema/schema_snapshot.hpp"
#include "schema_db/schema_db.hpp"
#include "sync/custom_sync.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel::test {
namespace {

constexpr std::u16string_view kBadQuery = u"SELECT nothing FROM notes";

class ErrorTextDb : public SchemaDbTest {
 protected:
  // The shop with the custom views first and second over notes, both read cleanly.
  Ref<AGP> projectWithViews(Dbms server) {
    const std::u16string cs = freshShop(server);
    Ref<AGP> p = loadProject(cs);
    for (const char16_t* name : {u"first", u"second"}) {
      LoadCustomView(*p, name, u"SELECT id, body FROM notes", false);
      EXPECT_EQ(toUtf8(err()), "");
    }
    return p;
  }
  static AGProperties& bag(AGP& p, const std::u16string& name) {
    return p.DB()->tables().find(name)->properties();
  }
  static std::u16string customError(AGP& p, const std::u16string& name) {
    return toString(bag(p, name).setting(kTblCustomError));
  }
  static void breakView(AGP& p, const std::u16string& name) {
    bag(p, name).setting(kTblCustomSQL) = Variant(std::u16string(kBadQuery));
  }
};

TEST_F(ErrorTextDb, CheckAndSynchronisationSayWhatTheLastViewSaid) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const Ref<AGP> p = projectWithViews(server);
    // The last custom view's fault is the check's text, and the view keeps it.
    breakView(*p, u"second");
    EXPECT_EQ(CheckDB(*p), 0);
    EXPECT_TRUE(customError(*p, u"second").starts_with(u"Vantorel: "))
        << toUtf8(customError(*p, u"second"));
    EXPECT_EQ(err(), customError(*p, u"second"));

    // A view read cleanly after the broken one leaves the text empty.
    bag(*p, u"second").setting(kTblCustomSQL) = Variant(u"SELECT id, body FROM notes");
    breakView(*p, u"first");
    EXPECT_EQ(CheckDB(*p), 0);
    EXPECT_NE(customError(*p, u"first"), u"");
    EXPECT_EQ(customError(*p, u"second"), u"");
    EXPECT_EQ(toUtf8(err()), "");

    // Synchronised alone or with everything, the fault goes to the view and the log, not the
    // text; a name that is no table leaves the text as it was.
    const struct {
      const char* what;
      std::function<void()> call;
      std::u16string after;
    } calls[] = {
        {"SyncCustom", [&] { SyncCustom(*p, u"first"); }, u""},
        {"SyncCustom of no table", [&] { SyncCustom(*p, u"none"); }, u"earlier"},
        {"SynchronizeDB", [&] { SynchronizeDB(*p); }, u""},
    };
    for (const auto& c : calls) {
      SCOPED_TRACE(c.what);
      projectContext().lastErrorText = u"earlier";
      bag(*p, u"first").setting(kTblSyncMessage) = Variant(u"");
      c.call();
      EXPECT_EQ(err(), c.after);
      if (c.after.empty()) {
        EXPECT_NE(customError(*p, u"first"), u"");
        EXPECT_EQ(toString(bag(*p, u"first").setting(kTblSyncMessage)), customError(*p, u"first"));
      }
    }
  }
}

TEST_F(ErrorTextDb, SnapshotMembersSayTheirOutcome) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    projectContext().currentDbmsName = toString(p->DB()->properties().setting(kDBDBMSName));

    const Ref<AGPSchema> bad = makeRef<AGPSchema>();
    projectContext().lastErrorText = u"earlier";
    EXPECT_EQ(bad->LoadADOCustomView(cs, u"cv", std::u16string(kBadQuery)), 1);
    EXPECT_EQ(err(), u"Vantorel: " + bad->Tbl(1).TblReadError);
    EXPECT_NE(bad->Tbl(1).TblReadError, u"");

    const Ref<AGPSchema> good = makeRef<AGPSchema>();
    projectContext().lastErrorText = u"earlier";
    EXPECT_EQ(good->LoadADOCustomView(cs, u"cv", u"SELECT id FROM notes"), 0);
    EXPECT_EQ(toUtf8(err()), "");

    const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
    std::u16string name;
    projectContext().lastErrorText = u"earlier";
    snapshot->LoadDB(name, u"ADO", u"", u"", false, u"", u"", cs, u"", u"");
    EXPECT_EQ(toUtf8(err()), "");
    EXPECT_EQ(name, u"DB");
    snapshot->LoadDB(name, u"ADO", u"", u"", false, u"", u"", cs, u"", u"");
    EXPECT_EQ(err(), u"database already loaded!");
    const Ref<AGPSchema> unnamed = makeRef<AGPSchema>();
    name.clear();
    unnamed->LoadDB(name, u"ODBC", u"", u"", false, u"", u"", u"", u"", u"");
    EXPECT_EQ(err(), u"invalid DBName specified!");
  }
}

}  // namespace
}  // namespace vantorel::test
