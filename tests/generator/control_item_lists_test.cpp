#include "generator/control_item_lists.hpp"

#include "foundation/control_items.hpp"
#include "generation_fixture.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel::test {
namespace {

class ControlItemListsTest : public GenerationFixture {
 protected:
  void SetUp() override {
    GenerationFixture::SetUp();
    addDatabase();
    addTable(u"Annual", u"REPORT", {u"Amount"});
    addTable(u"Hidden", u"REPORT", {u"Amount"});
    table(u"Hidden").setTblGen(false);
    add(u"list", u"table", u"list");
    add(u"rpt", u"report", u"rpt");
    add(u"menu", u"other", u"menu");
    add(u"fld", u"field", u"fld");
    add(u"dir", u"folder", u"dir");
    add(u"fn", u"function", u"fn");
    add(u"lib", u"copy", u"");
  }
  Ref<AGPControl> add(std::u16string id, std::u16string type, std::u16string file) {
    Ref<AGPControl> control = makeControl(id, type, file, u"asp");
    EXPECT_TRUE(run().templateControls->AddControl(control));
    return run().templateControls->Item(Variant(id));
  }
  std::string ids(AGControlItems& list) {
    std::string text;
    for (std::int32_t i = 1; i <= list.Count(); ++i) {
      const Ref<AGControlItem> item = list.Item(Variant(i));
      text += u8(item->ItemId()) + "=" + u8(item->ItemFn()) + (item->ItemGen() ? "+" : "-") + ";";
    }
    return text;
  }
};

TEST_F(ControlItemListsTest, ListsTheOutputsOfEachUnit) {
  run().templateControls->Item(Variant(u"rpt"))->fields().CtrlCond = u"table/TblName/ne/Summary";
  run().templateControls->Item(Variant(u"menu"))->fields().CtrlExt = u"Ext";
  run().templateControls->Item(Variant(u"menu"))->fields().CtrlRemark = u"Menu";
  UpdateControlItems(run());
  EXPECT_EQ(ids(proj_->controlList()), "menu=menu.asp+;lib=lib+;");
  EXPECT_EQ(u8(proj_->controlList().Item(Variant(u"menu"))->ItemRemark()), "Menu (Ext)");
  EXPECT_EQ(ids(table(u"Orders").controlList()), "list=Orderslist.asp+;");
  EXPECT_EQ(ids(table(u"Sales").controlList()), "list=Saleslist.asp+;");
  // The report control applies to one of the two listed reports; unlisted tables get nothing.
  EXPECT_EQ(ids(table(u"Summary").controlList()), "");
  EXPECT_EQ(ids(table(u"Annual").controlList()), "rpt=Annualrpt.asp+;");
  EXPECT_EQ(ids(table(u"Hidden").controlList()), "");
  EXPECT_FALSE(run().currentTable);

  // A table generated for a system unit only lists that unit.
  table(u"Hidden").properties().setting(kTblSysGenUnits) = Variant(u"rpt");
  ClearControlItems(run());
  EXPECT_EQ(proj_->controlList().Count(), 0);
  UpdateControlItems(run());
  EXPECT_EQ(ids(table(u"Hidden").controlList()), "rpt=Hiddenrpt.asp+;");
}

TEST_F(ControlItemListsTest, SavesAndReappliesTheUsersChoices) {
  const std::vector<std::pair<std::u16string, std::string>> cases = {
      {u"", "menu=menu.asp+;lib=lib+;"},
      {u"menu=0", "menu=menu.asp-;lib=lib+;"},
      // An entry for a longer id does not match a shorter one.
      {u"menu2=0,lib=1", "menu=menu.asp+;lib=lib+;"},
      {u" lib=0 ,menu=1", "menu=menu.asp+;lib=lib-;"},
      {u"Menu=0", "menu=menu.asp+;lib=lib+;"},
  };
  for (const auto& [saved, expected] : cases) {
    proj_->properties().setValue(*proj_->properties().declare(u"OtherGenList"), Variant(saved));
    ClearControlItems(run());
    UpdateControlItems(run());
    EXPECT_EQ(ids(proj_->controlList()), expected) << u8(saved);
  }

  table(u"Orders").properties().setting(kTblGenList) = Variant(u"list=0");
  ClearControlItems(run());
  UpdateControlItems(run());
  EXPECT_FALSE(table(u"Orders").controlList().Item(Variant(u"list"))->ItemGen());
  EXPECT_TRUE(table(u"Sales").controlList().Item(Variant(u"list"))->ItemGen());

  table(u"Sales").controlList().Item(Variant(u"list"))->setItemGen(false);
  proj_->controlList().Item(Variant(u"lib"))->setItemGen(true);
  table(u"Hidden").properties().setting(kTblGenList) = Variant(u"kept=1");
  SaveOtherGenList(*proj_);
  EXPECT_EQ(u8(toString(*proj_->properties().findValue(u"OtherGenList"))), "menu=1,lib=1");
  EXPECT_EQ(u8(toString(table(u"Sales").properties().setting(kTblGenList))), "list=0");
  EXPECT_EQ(u8(toString(table(u"Summary").properties().setting(kTblGenList))), "rpt=1");
  EXPECT_EQ(u8(toString(table(u"Hidden").properties().setting(kTblGenList))), "kept=1");
}

TEST_F(ControlItemListsTest, CountsTheOutputsToGenerate) {
  UpdateControlItems(run());
  // menu, lib, list for Orders and Sales, rpt for Summary and Annual.
  EXPECT_EQ(CountGenItems(run()).integerValue(), 6);
  table(u"Orders").controlList().Item(Variant(u"list"))->setItemGen(false);
  run().templateControls->Item(Variant(u"rpt"))->fields().CtrlCond = u"table/TblName/eq/Annual";
  // Items without a control, such as the project files, are not counted.
  proj_->controlList().Add(u"@css", u"site.css", true, u"");
  EXPECT_EQ(CountGenItems(run()).integerValue(), 4);
  EXPECT_FALSE(run().currentTable);
}

TEST_F(ControlItemListsTest, SetsItemsFromEntries) {
  AGControlItem item;
  item.setItemId(u"view");
  item.setItemGen(true);
  SetItemGenFromList(item, {});
  EXPECT_TRUE(item.ItemGen());
  SetItemGenFromList(item, {u"view=", u"view=1"});
  EXPECT_FALSE(item.ItemGen());
  SetItemGenFromList(item, {u"view=1x"});
  EXPECT_TRUE(item.ItemGen());
}

}  // namespace
}  // namespace vantorel::test
