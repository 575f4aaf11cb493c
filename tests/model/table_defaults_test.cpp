#include <gtest/gtest.h>

#include <string>

#include "foundation/project_context.hpp"
#include "foundation/script_text.hpp"
#include "model/model_test_support.hpp"
#include "model/table.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

class TableDefaults : public test::ModelTest {};

// Each case starts from settings unlike the ones LoadTableDefault gives.
TEST_F(TableDefaults, FollowTheKindAndKeepWhatAReportChose) {
  struct Case {
    const char16_t* type;
    const char16_t* sql;
    const char16_t* search;
    const char16_t* rptSrc;
    const char16_t* reportType;
    bool pages;  // add, view, edit, delete, copy
    bool updatable;
    bool gen;
  } cases[] = {
      {u"TABLE", u"", u"BASIC", u"OrderDetails", u"rpt", true, true, false},
      {u"VIEW", u"q", u"BASIC", u"OrderDetails", u"rpt", false, true, false},
      {u"CUSTOMVIEW", u"q", u"BASIC", u"OrderDetails", u"rpt", false, true, false},
      {u"REPORT", u"q", u"NONE", u"src", u"x", false, false, true},
      // Another letter case is neither a table nor a report.
      {u"table", u"q", u"BASIC", u"OrderDetails", u"rpt", false, true, false},
  };
  projectContext().currentSecDefault = u"admin";
  test::addMenu(u"Table", u"OrderDetails");
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.type));
    Ref<AGPTable> table = makeRef<AGPTable>();
    AGProperties& bag = table->properties();
    table->setTblName(u"OrderDetails");
    bag.setting(kTblType) = Variant(c.type);
    bag.setting(kTblGen) = Variant(true);
    bag.setting(kTblDefault) = Variant(true);
    bag.setting(kTblList) = Variant(false);
    bag.setting(kTblUpdatable) = Variant(!c.updatable);
    for (SettingSlot s : {kTblAdd, kTblView, kTblEdit, kTblDelete, kTblCopy}) {
      bag.setting(s) = Variant(!c.pages);
    }
    bag.setting(kTblSQL) = Variant(u"q");
    bag.setting(kTblSrchType) = Variant(u"ADVANCED");
    bag.setting(kTblRptSrc) = Variant(u"src");
    bag.setting(kTblReportType) = Variant(u"x");
    bag.setting(kTblCaption) = Variant(u"old");

    table->LoadTableDefault();

    EXPECT_EQ(toString(bag.setting(kTblCaption)), u"Order Details");
    EXPECT_EQ(toString(bag.setting(kTblVar)), u"OrderDetails");
    EXPECT_FALSE(toBool(bag.setting(kTblDefault)));
    EXPECT_TRUE(toBool(bag.setting(kTblList)));
    for (SettingSlot s : {kTblAdd, kTblView, kTblEdit, kTblDelete, kTblCopy}) {
      EXPECT_EQ(toBool(bag.setting(s)), c.pages) << s;
    }
    EXPECT_EQ(toString(bag.setting(kTblSQL)), c.sql);
    EXPECT_EQ(toBool(bag.setting(kTblUpdatable)), c.updatable);
    EXPECT_EQ(toString(bag.setting(kTblSrchType)), c.search);
    EXPECT_EQ(toString(bag.setting(kTblSecurity)), u"admin");
    EXPECT_EQ(toBool(bag.setting(kTblGen)), c.gen);
    EXPECT_EQ(toString(bag.setting(kTblRptSrc)), c.rptSrc);
    EXPECT_EQ(toString(bag.setting(kTblReportType)), c.reportType);
  }
  // The bag is written directly: the table's menu entry stays as it was.
  EXPECT_EQ(test::menuText(), u"Table:OrderDetails:1");
}

TEST_F(TableDefaults, TakeTheNameAndSecurityOfTheMomentOfTheCall) {
  Ref<AGPTable> table = makeRef<AGPTable>();
  AGProperties& bag = table->properties();
  table->setTblName(u"ORDER_DETAILS");
  bag.setting(kTblType) = Variant(u"VIEW");
  projectContext().currentSecDefault = u"first";
  table->LoadTableDefault();
  projectContext().currentSecDefault = u"second";
  EXPECT_EQ(toString(bag.setting(kTblSecurity)), u"first");
  EXPECT_EQ(toString(bag.setting(kTblCaption)), u"ORDER DETAILS");

  table->setTblName(u"select");
  table->LoadTableDefault();
  EXPECT_EQ(toString(bag.setting(kTblSecurity)), u"second");
  EXPECT_EQ(toString(bag.setting(kTblCaption)), u"select");
  EXPECT_EQ(toString(bag.setting(kTblVar)), toString(GetVarName(Variant(u"select"), Variant(u""))));
}

}  // namespace
}  // namespace vantorel
