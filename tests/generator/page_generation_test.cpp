#include "generator/page_generation.hpp"
#include "foundation/project_context.hpp"

#include "foundation/control_items.hpp"
#include "generation_fixture.hpp"
#include "generator/control_item_lists.hpp"
#include "generator/template_compiler.hpp"
#include "generator/template_loading.hpp"
#include "platform/automation/automation_error.hpp"
#include "support/failure_text.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

class PageGenerationTest : public GenerationFixture {
 protected:
  void SetUp() override {
    GenerationFixture::SetUp();
    addDatabase();
    startEngine();
  }
  // Compiles a control whose template is text into the cache; returns the compiled path.
  std::u16string compiled(const Ref<AGPControl>& control, const std::string& text) {
    test::writeFile(tplPath(u8(control->CtrlID()) + ".htm"), text);
    control->fields().CtrlIFiles = control->CtrlID() + u".htm";
    LoadCtrlTplFiles(*run().fileCache, *control);
    const std::u16string path = GetTplFileName(*control);
    BuildTemplateScript(run(), *control, path);
    return path;
  }
  std::u16string out(const std::string& name) { return u16(site_ / name); }
};

TEST_F(PageGenerationTest, WritesTableAndFieldPagesFromCompiledTemplates) {
  Ref<AGPControl> list = makeControl(u"list", u"table", u"list", u"asp");
  list->setCtrlSpace(true);
  list->setCtrlOverwrite(true);
  const std::u16string listTpl =
      compiled(list,
               "<html><head></head>\r\n\r\n<h1><!--##=TABLE.TblName##--></h1>\r\n"
               "<!--## Dim f: For Each f In TABLE.Fields ##-->  <td><!--##=f.FldName##--></td>\r\n"
               "<!--## Next ##-->");
  projectContext().progressTotal = 4;
  ASSERT_TRUE(
      GenTablePage(run(), table(u"Orders"), listTpl, out("pages/orderslist.asp"), *list).written);
  EXPECT_EQ(test::readFile(site_ / "pages" / "orderslist.asp"),
            "<html><head><meta name=\"generator\" content=\"" + u8(projectContext().productTitle) +
                " v" + u8(proj_->FullVersion()) +
                "\" />\r\n</head>\r\n<h1>Orders</h1>\r\n  <td>OrderID</td>\r\n"
                "  <td>Total</td>\r\n");
  EXPECT_EQ(projectContext().progressCount, 1);

  Ref<AGPControl> view = makeControl(u"fview", u"field", u"view", u"asp");
  const std::u16string viewTpl =
      compiled(view, "\r\n\r\n  <!--##=TABLE.TblName & \".\" & FIELD.FldName##-->\r\n\r\nend");
  run().currentTable = Ref<AGPTable>(&table(u"Sales"));
  ASSERT_TRUE(
      GenFieldPage(run(), field(u"Sales", u"Region"), viewTpl, out("field.asp"), *view).written);
  // Without CtrlSpace only the leading blank lines go.
  EXPECT_EQ(test::readFile(site_ / "field.asp"), "  Sales.Region\r\n\r\nend");
  EXPECT_EQ(projectContext().progressCount, 1);
}

TEST_F(PageGenerationTest, AFailedScriptWritesNoPage) {
  Ref<AGPControl> page = makeControl(u"bad", u"other", u"bad", u"asp");
  const std::u16string tpl = compiled(page, "A<!--##=NoSuchThing.Value##-->B");
  test::writeFile(site_ / "bad.asp", "previous");
  page->setCtrlOverwrite(true);
  const PageOutcome failed = GenOtherPage(run(), tpl, out("bad.asp"), *page);
  EXPECT_FALSE(failed.written);
  EXPECT_FALSE(failureText(failed.result).empty());
  EXPECT_EQ(test::readFile(site_ / "bad.asp"), "previous");
  EXPECT_EQ(projectContext().progressCount, 0);
}

TEST_F(PageGenerationTest, SkipsKeptFilesAndStopsOnMissingCompiledFiles) {
  Ref<AGPControl> list = makeControl(u"list", u"table", u"list", u"asp");
  list->setCtrlOverwrite(false);
  test::writeFile(site_ / "kept.asp", "kept");
  // A kept table page still counts as a step; the compiled file is not even looked for.
  EXPECT_FALSE(GenTablePage(run(), table(u"Orders"), u"/none.tpl", out("kept.asp"), *list).written);
  EXPECT_EQ(test::readFile(site_ / "kept.asp"), "kept");
  EXPECT_EQ(projectContext().progressCount, 1);

  list->setCtrlOverwrite(true);
  EXPECT_EQ(u8(stopMessage(
                [&] { GenTablePage(run(), table(u"Orders"), u"/none.tpl", out("x.asp"), *list); })),
            "File /none.tpl not found. Generation aborted.");
  run().currentTable = Ref<AGPTable>(&table(u"Orders"));
  EXPECT_EQ(u8(stopMessage([&] {
              GenFieldPage(run(), field(u"Orders", u"Total"), u"/none.tpl", out("x.asp"), *list);
            })),
            "File /none.tpl not found. Generation aborted");
  EXPECT_FALSE(std::filesystem::exists(site_ / "x.asp"));

  // Without a running engine the compiled text is never written out as a page.
  test::writeFile(dir_.path() / "cache" / "x.tpl", "Function ztExlist()\r\nEnd Function\r\n");
  run().scriptEngine = nullptr;
  EXPECT_NE(stopMessage([&] {
              GenTablePage(run(), table(u"Orders"), u16(dir_.path() / "cache" / "x.tpl"),
                           out("x.asp"), *list);
            }).find(u"script engine"),
            std::u16string::npos);
  EXPECT_FALSE(std::filesystem::exists(site_ / "x.asp"));
}

TEST_F(PageGenerationTest, GeneratesProjectLevelControls) {
  Ref<AGPControl> menu = makeControl(u"menu", u"other", u"menu", u"asp");
  Ref<AGPControl> note = makeControl(u"note", u"Simple", u"note", u"txt", {}, u"docs");
  Ref<AGPControl> off = makeControl(u"off", u"other", u"off", u"asp");
  Ref<AGPControl> list = makeControl(u"list", u"table", u"list", u"asp");
  off->fields().CtrlCond = u"proj/Destination/eq/nowhere";
  for (const Ref<AGPControl>& c : {menu, note, off, list}) {
    c->setCtrlOverwrite(true);
    compiled(c, "<!--##=\"page \" & \"" + u8(c->CtrlID()) + "\"##-->");
    ASSERT_TRUE(run().templateControls->AddControl(c));
  }
  EXPECT_EQ(GenerateOtherFiles(run(), true, u"other, SIMPLE"), 0);
  EXPECT_FALSE(std::filesystem::exists(site_ / "docs"));

  EXPECT_EQ(GenerateOtherFiles(run(), false, u"other, SIMPLE"), 0);
  EXPECT_EQ(run().failure, std::nullopt) << u8(run().failure.value_or(u""));
  EXPECT_EQ(test::readFile(site_ / "menu.asp"), "page menu");
  EXPECT_EQ(test::readFile(site_ / "docs" / "note.txt"), "page note");
  EXPECT_FALSE(std::filesystem::exists(site_ / "off.asp"));
  EXPECT_FALSE(std::filesystem::exists(site_ / "list.asp"));
  EXPECT_EQ(GenerateOtherFiles(run(), true, u"other,simple"), 2);

  // An item switched off keeps its file from being made again.
  std::filesystem::remove(site_ / "menu.asp");
  proj_->controlList().Add(u"menu", u"menu.asp", false, u"");
  GenerateOtherFiles(run(), false, u"other");
  EXPECT_FALSE(std::filesystem::exists(site_ / "menu.asp"));
}

TEST_F(PageGenerationTest, StopsAtThePageThatFailed) {
  Ref<AGPControl> bad = makeControl(u"bad", u"other", u"bad", u"asp");
  Ref<AGPControl> next = makeControl(u"next", u"other", u"next", u"asp");
  compiled(bad, "<!--##=1/0##-->");
  compiled(next, "next");
  ASSERT_TRUE(run().templateControls->AddControl(bad));
  ASSERT_TRUE(run().templateControls->AddControl(next));
  EXPECT_EQ(GenerateOtherFiles(run(), false, u"other"), 0);
  const std::u16string failure = run().failure.value_or(u"");
  EXPECT_EQ(failure.rfind(projectContext().productTitle + u": Generate bad page error\r\n", 0), 0u)
      << u8(failure);
  EXPECT_FALSE(std::filesystem::exists(site_ / "bad.asp"));
  EXPECT_FALSE(std::filesystem::exists(site_ / "next.asp"));
}

}  // namespace
}  // namespace vantorel::test
