#include "model/databases.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/model_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "project/language.hpp"

namespace vantorel {
namespace {

using Kind = ui::RecordingBackend::Event::Kind;
using test::joined;

class DatabasesTest : public test::ModelTest {
 protected:
  void SetUp() override {
    test::ModelTest::SetUp();
    ui::setBackendForTesting(rec);
  }
  void TearDown() override { ui::setBackendForTesting(nullptr); }
  std::shared_ptr<ui::RecordingBackend> rec = std::make_shared<ui::RecordingBackend>();
};

TEST_F(DatabasesTest, OneDatabaseOnly) {
  auto dbs = makeRef<AGPDatabases>();
  EXPECT_EQ(dbs->curSeq(), u"0");
  projectContext().lastErrorText = u"old";
  dbs->call(u"Add", {Variant(u"Main")});
  EXPECT_EQ(projectContext().lastErrorText, u"");
  EXPECT_EQ(dbs->curSeq(), u"1");
  Ref<AGPDatabase> db = dbs->item(Variant(u"MAIN"));
  db->tables().add(u"Orders");
  for (const char16_t* name : {u"Other", u""}) {
    EXPECT_FALSE(dbs->add(name));
    dbs->call(u"Add", {Variant(name)});
    EXPECT_EQ(projectContext().lastErrorText, u"support 1 db only!");
    EXPECT_EQ(dbs->count(), 1);
    EXPECT_EQ(dbs->curName(), u"Main");
    EXPECT_EQ(dbs->item(Variant(std::int32_t{1})).get(), db.get());
    EXPECT_EQ(db->tables().count(), 1);
  }
}

TEST_F(DatabasesTest, RenamedDatabaseIsStillRemoved) {
  auto dbs = makeRef<AGPDatabases>();
  ASSERT_TRUE(dbs->add(u"Main"));
  Ref<AGPDatabase> db = dbs->item(Variant(u"Main"));
  db->let(u"DBName", Variant(u"Renamed"));
  EXPECT_EQ(toString(db->get(u"Key")), u"Renamed");
  // Bad indexes raise and remove nothing.
  const std::vector<Variant> bad = {Variant(u"Nope"), Variant(std::int32_t{2}), Variant()};
  for (const Variant& index : bad) {
    EXPECT_THROW(dbs->call(u"Delete", {index}), AutomationError);
    EXPECT_THROW(dbs->call(u"Item", {index}), AutomationError);
    EXPECT_EQ(dbs->count(), 1);
    EXPECT_EQ(dbs->curName(), u"Main");
  }
  // The key stays the name it was added under; the new DBName is no key (0x80000501).
  for (const char16_t* member : {u"Delete", u"Item"}) {
    try {
      dbs->call(member, {Variant(u"renamed")});
      ADD_FAILURE() << toUtf8(member) << " found the database by its new DBName";
    } catch (const AutomationError& e) {
      EXPECT_EQ(static_cast<std::uint32_t>(e.number()), 0x80000501u) << toUtf8(member);
    }
  }
  EXPECT_EQ(dbs->count(), 1);
  dbs->call(u"Delete", {Variant(u"main")});
  EXPECT_EQ(dbs->count(), 0);
  ASSERT_TRUE(dbs->add(u"Second"));
  Ref<AGPDatabase> second = dbs->item(Variant(u"Second"));
  second->setDbName(u"Third");
  EXPECT_FALSE(dbs->removeDatabase(*db));
  EXPECT_TRUE(dbs->removeDatabase(*second));
  EXPECT_EQ(dbs->count(), 0);
  // Any name is accepted, the empty one too; that one is no key, so only its position finds it.
  ASSERT_TRUE(dbs->add(u""));
  EXPECT_THROW(dbs->item(Variant(u"")), AutomationError);
  EXPECT_EQ(dbs->item(Variant(std::int32_t{1})).get(), &dbs->at(0));
  dbs->remove(Variant(std::int32_t{1}));
  EXPECT_EQ(dbs->count(), 0);
}

TEST_F(DatabasesTest, SecDefaultIsTheSecurityOfNewTablesWhileTheDatabaseLives) {
  auto db = makeRef<AGPDatabase>();
  db->let(u"SecDefault", Variant(u"X"));
  EXPECT_EQ(projectContext().currentSecDefault, u"X");
  db = nullptr;
  EXPECT_EQ(projectContext().currentSecDefault, u"");
}

TEST_F(DatabasesTest, ReleaseUnloadsTablesUnderAProgressDisplay) {
  auto dbs = makeRef<AGPDatabases>();
  ASSERT_TRUE(dbs->add(u"Main"));
  {
    Ref<AGPDatabase> db = dbs->item(Variant(u"Main"));
    for (const char16_t* name : {u"A", u"B", u"C", u"D"}) {
      ASSERT_TRUE(db->tables().add(name));
      test::addMenu(u"Table", name);
      SharedLanguage().SetTablePhrase(u"en", name, u"Caption", name);
    }
    db->tables().at(1).let(u"TblType", Variant(u"VIEW"));
    // A gap left by a script: every table still goes.
    db->tables().at(2).let(u"TblSeq", Variant(std::int16_t{6}));
    db->let(u"SecDefault", Variant(u"S"));
  }
  ext.calls.clear();
  dbs->call(u"Delete", {Variant(std::int32_t{1})});
  std::vector<std::u16string> events;
  for (const auto& e : rec->events()) {
    switch (e.kind) {
      case Kind::Opened:
        events.push_back(u"open " + e.text);
        break;
      case Kind::Status:
        events.push_back(e.text);
        break;
      case Kind::Percent:
        events.push_back(fromAscii(std::to_string(e.percent)));
        break;
      case Kind::Closed:
        events.push_back(u"close");
        break;
      default:
        break;
    }
  }
  EXPECT_EQ(toUtf8(joined(events)),
            "open " + toUtf8(projectContext().productTitle) +
                " - Unloading Database...,Unloading  C...,75,Unloading  D...,50,"
                "Unloading VIEW B...,25,Unloading  A...,0,close");
  EXPECT_EQ(toUtf8(joined(ext.calls)), "deleteTable:C,deleteTable:D,deleteTable:B,deleteTable:A");
  EXPECT_EQ(test::menuText(), u"");
  EXPECT_EQ(test::phraseText(), u"");
  EXPECT_EQ(projectContext().currentSecDefault, u"");

  rec->clearEvents();
  ASSERT_TRUE(dbs->add(u"Empty"));
  dbs->call(u"Delete", {Variant(u"Empty")});
  ASSERT_EQ(rec->events().size(), 2u);
  EXPECT_EQ(rec->events(Kind::Closed).size(), 1u);
}

}  // namespace
}  // namespace vantorel
