#include <cstdlib>

#include "foundation/control_items.hpp"
#include "foundation/project_context.hpp"
#include "generation_run_support.hpp"
#include "generator/generation_driver.hpp"
#include "generator/generation_loop.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "platform/automation/automation_error.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

std::set<std::string> listedFiles(AGControlItems& items) {
  std::set<std::string> names;
  for (std::int32_t i = 1; i <= items.Count(); ++i) {
    const Ref<AGControlItem> item = items.Item(Variant(i));
    if (item->ItemGen()) names.insert(u8(item->ItemFn()));
  }
  return names;
}

TEST_F(GenerationRunTest, WritesWhatTheCheckListsAlsoWithoutACheck) {
  // No check first: the output lists are empty, and every output (field pages included) is
  // still written.
  addTable(u"Empty", u"TABLE", {});
  generate();
  const std::set<std::string> written = siteFiles();
  EXPECT_FALSE(table(u"Empty").tblGen());
  EXPECT_EQ(test::readFile(site_ / "Orders_Totalfld.asp"), "Orders.Total\r\n");

  // The check lists each table's and the project's outputs: exactly what was written, but for
  // the field page, which no list holds. Now that they exist it counts them.
  EXPECT_GT(checkSite(*proj_), 0);
  EXPECT_EQ(u8(projectContext().lastErrorText), "");
  std::set<std::string> listed = listedFiles(proj_->controlList());
  for (const char16_t* t : {u"Orders", u"Sales", u"Summary"}) {
    const std::set<std::string> names = listedFiles(table(t).controlList());
    EXPECT_EQ(names.size(), 1u) << u8(t);
    listed.insert(names.begin(), names.end());
  }
  listed.insert("Orders_Totalfld.asp");
  std::set<std::string> writtenNames;
  for (const std::string& f : written) writtenNames.insert(fsys::path(f).filename().string());
  EXPECT_EQ(writtenNames, listed);

  // A fresh site from the check's lists is the same site.
  fsys::remove_all(site_);
  fsys::create_directories(site_);
  EXPECT_EQ(checkSite(*proj_), 0);
  generate();
  EXPECT_EQ(siteFiles(), written);
}

TEST_F(GenerationRunTest, ReusesCompiledTemplatesAndRecompilesOnlyChangedOnes) {
  ASSERT_EQ(checkSite(*proj_), 0);
  EXPECT_FALSE(projectContext().syncKeepAnswer);  // a template never seen before
  generate();
  const auto first = compiledTemplates();
  ASSERT_EQ(first.size(), 4u);

  // An unchanged template: the check keeps everything and nothing is compiled again.
  EXPECT_GT(checkSite(*proj_), 0);
  EXPECT_TRUE(projectContext().syncKeepAnswer);
  generate();
  EXPECT_EQ(compiledTemplates(), first);

  // A template file changed in the working folder: only its control is compiled again.
  const fsys::path list = fsys::path(u8(projectContext().templateFolder)) / "list.htm";
  test::writeFile(list, "<h2><!--##=TABLE.TblName##--></h2>\r\n");
  fsys::last_write_time(list, fsys::last_write_time(list) + std::chrono::seconds(5));
  checkSite(*proj_);
  generate();
  const auto third = compiledTemplates();
  for (const auto& [name, time] : first) {
    if (name == "list.tpl") {
      EXPECT_NE(third.at(name), time);
    } else {
      EXPECT_EQ(third.at(name), time) << name;
    }
  }
  bool sawNewList = false;
  for (const std::string& f : siteFiles()) {
    if (test::readFile(site_ / f) == "<h2>Orders</h2>\r\n") sawNewList = true;
  }
  EXPECT_TRUE(sawNewList);
}

TEST_F(GenerationRunTest, BacksUpOverwrittenPagesWhenTheOptionIsOn) {
  generate();
  for (const std::string& f : siteFiles()) EXPECT_EQ(f.find(".bak"), std::string::npos) << f;
  setGeneral(u"BackupFile", u"True");
  generate();
  std::size_t backups = 0;
  for (const std::string& f : siteFiles()) {
    if (!f.ends_with(".bak")) continue;
    ++backups;
    EXPECT_TRUE(fsys::exists(site_ / f.substr(0, f.size() - 4))) << f;
  }
  // The three table pages, the field page and the menu are pages made with overwrite on.
  EXPECT_GE(backups, 5u);
}

class ScriptedAnswers {
 public:
  ScriptedAnswers(const fsys::path& file, const std::string& answers) {
    test::writeFile(file, answers);
    setenv("VANTOREL_ANSWERS", file.c_str(), 1);
    ui::setBackendForTesting(nullptr);
  }
  ~ScriptedAnswers() { unsetenv("VANTOREL_ANSWERS"); }
};

TEST_F(GenerationRunTest, AsksThroughScriptedAnswers) {
  ASSERT_EQ(checkSite(*proj_), 0);
  generate();
  const auto compiled = compiledTemplates();
  ASSERT_FALSE(compiled.empty());
  {
    // A new template file: the check asks whether to keep the unpacked set; "Overwrite" refreshes
    // it and throws the compiled templates away.
    fsys::last_write_time(zipPath(), fsys::last_write_time(zipPath()) + std::chrono::seconds(5));
    ScriptedAnswers answers(dir_.path() / "answers1.txt", "Overwrite\n");
    checkSite(*proj_);
    EXPECT_FALSE(projectContext().syncKeepAnswer);
    EXPECT_TRUE(compiledTemplates().empty());
  }
  {
    // A language file that does not load: "No" ends the run before anything is written.
    fsys::remove_all(site_);
    fsys::create_directories(site_);
    set(u"DefaultLanguageFile", Variant(u"missing.xml"));
    ScriptedAnswers answers(dir_.path() / "answers2.txt", "No\n");
    generateSite(*proj_);
    EXPECT_EQ(projectContext().lastErrorText,
              projectContext().productTitle +
                  u" - Error in loading the language file 'missing.xml'. Generation aborted.");
    EXPECT_TRUE(siteFiles().empty());
  }
  ui::setBackendForTesting(ui_);
}

// Unattended, a replaced template archive was kept without a word, run after run. The kept
// archive is now said, and the host can answer for the run.
TEST_F(GenerationRunTest, AChangedArchiveIsSaidUnattendedAndTheHostMayUpdate) {
  ASSERT_EQ(checkSite(*proj_), 0);
  generate();
  ASSERT_FALSE(compiledTemplates().empty());
  fsys::last_write_time(zipPath(), fsys::last_write_time(zipPath()) + std::chrono::seconds(5));
  ui_->setUnattended(true);
  ui_->clearEvents();
  checkSite(*proj_);
  EXPECT_TRUE(projectContext().syncKeepAnswer);
  const auto said = ui_->events(ui::RecordingBackend::Event::Kind::Said);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_TRUE(said[0].text.starts_with(projectContext().productTitle +
                                       u": Template version in zip file is different"));
  EXPECT_TRUE(said[0].text.ends_with(u"[answered Keep]"));

  projectContext().updateChangedTemplates = true;
  ui_->clearEvents();
  checkSite(*proj_);
  projectContext().updateChangedTemplates = false;
  ui_->setUnattended(false);
  EXPECT_FALSE(projectContext().syncKeepAnswer);
  EXPECT_TRUE(ui_->events(ui::RecordingBackend::Event::Kind::Asked).empty());
  EXPECT_TRUE(compiledTemplates().empty());
  // The archive's stamp is stored: the next check has nothing to ask.
  checkSite(*proj_);
  EXPECT_TRUE(projectContext().syncKeepAnswer);
}

TEST_F(GenerationRunTest, CancelBetweenTablesLeavesNoHalfWrittenFile) {
  auto backend = std::make_shared<CancellingBackend>();
  ui::setBackendForTesting(backend);
  try {
    generateSite(*proj_);
    ADD_FAILURE() << "the run was not cancelled";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), -1);
  }
  EXPECT_EQ(u8(projectContext().lastErrorText), "Generation cancelled by user!");
  bool ordersPage = false;
  for (const std::string& f : siteFiles()) {
    EXPECT_EQ(f.find("Sales"), std::string::npos) << f;
    EXPECT_EQ(fsys::path(f).filename().string().rfind('.', 0), std::string::npos) << f;
    if (test::readFile(site_ / f) == "<h1>Orders</h1>\r\n") ordersPage = true;
  }
  EXPECT_TRUE(ordersPage);
  // Every progress display opened was closed again.
  EXPECT_EQ(backend->events(ui::RecordingBackend::Event::Kind::Opened).size(),
            backend->events(ui::RecordingBackend::Event::Kind::Closed).size());
  ui::setBackendForTesting(ui_);
}

TEST_F(GenerationRunTest, RefusesToStartWithAClearMessage) {
  struct Case {
    std::string name;
    std::function<void()> arrange;
    std::u16string message;
  };
  const std::vector<Case> cases = {
      {"no database", [this] { proj_->setDB(nullptr); },
       projectContext().productTitle + u": Database not loaded! Generation aborted!"},
      {"no user code", [this] { proj_->setUserCodePath(u""); },
       projectContext().productTitle + u": User code file not found! Generation aborted!"},
      {"newer template",
       [this] {
         Files files = defaultFiles();
         files["control.xml"] = controlFile({}, "99.0");
         writeTemplate(files);
       },
       projectContext().productTitle + u": Template version (99.0) newer than software version (" +
           proj_->FullVersion() + u")! Generation aborted!"},
      {"no language", [this] { set(u"DefaultLanguageFile", Variant(u"")); },
       projectContext().productTitle +
           u": No language file specified in project! Generation aborted!"},
      {"clashing functions",
       [this] {
         Files files = defaultFiles();
         files["control.xml"] = controlFile(
             "<control id=\"a.b\" type=\"other\" ifiles=\"menu.htm\" ofile=\"ab1\" oext=\"asp\"/>"
             "<control id=\"a_b\" type=\"other\" ifiles=\"menu.htm\" ofile=\"ab2\" oext=\"asp\"/>");
         writeTemplate(files);
       },
       u""},
  };
  for (const Case& c : cases) {
    SetUp();
    c.arrange();
    generateSite(*proj_);
    if (c.message.empty()) {
      EXPECT_NE(projectContext().lastErrorText.find(u"a_b"), std::u16string::npos)
          << u8(projectContext().lastErrorText);
    } else {
      EXPECT_EQ(u8(projectContext().lastErrorText), u8(c.message)) << c.name;
    }
    EXPECT_TRUE(siteFiles().empty()) << c.name;
    TearDown();
  }
  SetUp();
}

TEST_F(GenerationRunTest, EmptyDestinationIsRefusedByBothCalls) {
  set(u"Destination", Variant(u""));
  projectContext().destinationFolder.clear();
  EXPECT_EQ(checkSite(*proj_), 0);
  const std::u16string checkMessage = projectContext().lastErrorText;
  EXPECT_FALSE(checkMessage.empty());
  generateSite(*proj_);
  EXPECT_EQ(projectContext().lastErrorText, checkMessage);
  EXPECT_FALSE(fsys::exists(fsys::path(u8(projectContext().templateCacheFolder)) / "list.tpl"));
}

TEST_F(GenerationRunTest, MakesVariableNamesUniqueWithinATable) {
  AGPTable& orders = table(u"Orders");
  ASSERT_TRUE(orders.charts().add(u"Orders", u"Chart1"));
  orders.charts().at(0).setChartVar(u"orders");
  field(u"Orders", u"OrderID").setFldVar(u"x_OrderID");
  field(u"Orders", u"Total").setFldVar(u"x_orderid");
  SetUniqueVarNames(orders);
  EXPECT_EQ(u8(orders.charts().at(0).chartVar()), "orders_1");
  EXPECT_EQ(u8(field(u"Orders", u"OrderID").FldVar()), "x_OrderID");
  EXPECT_EQ(u8(field(u"Orders", u"Total").FldVar()), "x_orderid_1");

  const std::vector<std::tuple<std::u16string, std::u16string, int>> versions = {
      {u"4.0", u"4.0", 0},  {u"4.2", u"4.0", 0},  {u"5.0", u"4.9", 1},
      {u"3.9", u"4.0", -1}, {u"4.0", u"4.1", -1}, {u"4", u"4.5", 0}};
  for (const auto& [tpl, own, verdict] : versions) {
    EXPECT_EQ(CompareTemplateVersion(tpl, own), verdict) << u8(tpl) << " " << u8(own);
  }
}

}  // namespace
}  // namespace vantorel::test
