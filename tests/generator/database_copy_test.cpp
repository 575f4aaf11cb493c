#include "generator/database_copy.hpp"
#include "foundation/project_context.hpp"

#include <string>
#include <vector>

#include "foundation/control_items.hpp"
#include "generator_test_support.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "platform/automation/automation_error.hpp"
#include "support/failure_text.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;

class DatabaseCopyTest : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    test::writeFile(dir_.path() / "src" / "shop.mdb", "mdb");
    set(u"AppRootFolder", Variant(u16(dir_.path() / "approot")));
    ASSERT_TRUE(proj_->databases().add(u"db"));
    proj_->setDB(proj_->databases().item(Variant(u"db")));
    db(u"DBType", u"ACCESS");
    db(u"DBPhyPath", u16(dir_.path() / "src" / "shop.mdb"));
  }
  void db(std::u16string_view name, const std::u16string& value) {
    AGProperties& bag = proj_->DB()->properties();
    bag.setValue(*bag.declare(name), Variant(value));
  }
  std::vector<ui::RecordingBackend::Event> asked() {
    return ui_->events(ui::RecordingBackend::Event::Kind::Asked);
  }
};

TEST_F(DatabaseCopyTest, FindsTheFileOfAFileDatabase) {
  struct Case {
    std::u16string type, phyPath, connStr, expected;
  };
  const std::vector<Case> cases = {
      {u"ACCESS", u"C:\\db\\a.mdb", u"", u"C:\\db\\a.mdb"},
      {u"SQL", u"", u"Server=.\\SQLExpress;AttachDbFilename=C:\\d\\s.mdf;Trusted=yes",
       u"C:\\d\\s.mdf"},
      {u"SQL", u"", u"attachdbfilename = /d/s.mdf ;server=.\\sqlexpress", u"/d/s.mdf"},
      {u"SQL", u"", u"AttachDbFilename=C:\\d\\s.mdf;Server=.\\Other", u""},
      {u"SQL", u"", u"Server=.\\SQLExpress;AttachDbFilename", u""},
      {u"ODBC", u"C:\\db\\a.mdb", u"DSN=shop", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(u8(DatabaseSourceFile(c.type, c.phyPath, c.connStr)), u8(c.expected))
        << u8(c.connStr);
  }
}

TEST_F(DatabaseCopyTest, CopiesIntoTheFolderItsPathNames) {
  fsys::create_directories(dir_.path() / "approot" / "data");
  struct Case {
    std::u16string dbPath;
    std::string target;  // below the temporary folder; "" copies nothing
  };
  const std::vector<Case> cases = {
      {u"", "site/shop.mdb"},
      {u"~/data", "approot/data/shop.mdb"},
      {u"data", "approot/data/shop.mdb"},
      {u"~\\data\\", "approot/data/shop.mdb"},
      {u"C:\\data", ""},
      {u"\\\\server\\share", ""},
  };
  for (const Case& c : cases) {
    fsys::remove(site_ / "shop.mdb");
    fsys::remove(dir_.path() / "approot" / "data" / "shop.mdb");
    db(u"DBPath", c.dbPath);
    EXPECT_EQ(CopyDatabase(*proj_, false).count, 0) << u8(c.dbPath);
    if (!c.target.empty()) {
      EXPECT_EQ(test::readFile(dir_.path() / c.target), "mdb") << u8(c.dbPath);
    }
    EXPECT_EQ(fsys::exists(site_ / "shop.mdb"), c.target == "site/shop.mdb");
  }
  EXPECT_TRUE(asked().empty());

  // The check pass lists a database that would be replaced and copies nothing.
  db(u"DBPath", u"data");
  EXPECT_EQ(CopyDatabase(*proj_, false).count, 0);
  test::writeFile(dir_.path() / "src" / "shop.mdb", "new");
  EXPECT_EQ(CopyDatabase(*proj_, true).count, 0);
  ASSERT_TRUE(proj_->controlList().ItemExist(Variant(u"@db")));
  EXPECT_EQ(proj_->controlList().Item(Variant(u"@db"))->ItemFn(), u"shop.mdb");
  EXPECT_EQ(test::readFile(dir_.path() / "approot/data/shop.mdb"), "mdb");
  // Switched off, it stays as it is; switched on, it is replaced.
  proj_->controlList().Item(Variant(u"@db"))->setItemGen(false);
  EXPECT_EQ(CopyDatabase(*proj_, false).count, 0);
  EXPECT_EQ(test::readFile(dir_.path() / "approot/data/shop.mdb"), "mdb");
  proj_->controlList().Item(Variant(u"@db"))->setItemGen(true);
  EXPECT_EQ(CopyDatabase(*proj_, false).count, 0);
  EXPECT_EQ(test::readFile(dir_.path() / "approot/data/shop.mdb"), "new");
}

TEST_F(DatabaseCopyTest, AsksBeforeMakingTheFolder) {
  db(u"DBPath", u"~/newdb");
  const fsys::path folder = dir_.path() / "approot" / "newdb";
  ui_->queueAnswer(ui::Answer::No);
  EXPECT_EQ(CopyDatabase(*proj_, false).count, 0);
  ASSERT_EQ(asked().size(), 2u);
  EXPECT_NE(asked()[0].question.text.find(u"does not exist! Do you want to create it?"),
            std::u16string::npos);
  EXPECT_NE(asked()[1].question.text.find(u"for the ASP scripts"), std::u16string::npos);
  EXPECT_FALSE(fsys::exists(folder));

  ui_->queueAnswer(ui::Answer::Cancel);
  EXPECT_EQ(stopMessage([&] { CopyDatabase(*proj_, false); }), u"Generation cancelled by user!");
  EXPECT_FALSE(fsys::exists(folder));

  // Yes makes the folder, in the check pass too, where nothing is copied.
  ui_->queueAnswer(ui::Answer::Yes);
  EXPECT_EQ(CopyDatabase(*proj_, true).count, 0);
  EXPECT_TRUE(fsys::is_directory(folder));
  EXPECT_FALSE(fsys::exists(folder / "shop.mdb"));
}

TEST_F(DatabaseCopyTest, CopiesTheLogOfAnAttachedFileAndRefusesEscapes) {
  test::writeFile(dir_.path() / "src" / "sales.mdf", "mdf");
  test::writeFile(dir_.path() / "src" / "sales_log.ldf", "ldf");
  db(u"DBType", u"SQL");
  db(u"DBConnstr", u"Server=.\\SQLExpress;AttachDbFilename=" +
                       u16(dir_.path() / "src" / "sales.mdf") + u";Integrated Security=True");
  set(u"UploadPath", Variant(u"~/uploads"));
  const StepOutcome copied = CopyDatabase(*proj_, false);
  EXPECT_EQ(copied.count, 0) << u8(failureText(copied.result));
  EXPECT_EQ(test::readFile(site_ / "sales.mdf"), "mdf");
  EXPECT_EQ(test::readFile(site_ / "sales_log.ldf"), "ldf");
  EXPECT_TRUE(fsys::is_directory(dir_.path() / "approot" / "uploads"));

  // Folders that lead outside the application root are refused, before anything is asked.
  for (const auto& [setting, value] : std::vector<std::pair<std::u16string, std::u16string>>{
           {u"DBPath", u"~/../outside"}, {u"UploadPath", u"~/../../up"}}) {
    set(u"UploadPath", Variant(u""));
    db(u"DBPath", u"");
    if (setting == u"DBPath") {
      db(u"DBPath", value);
    } else {
      set(u"UploadPath", Variant(value));
    }
    const StepOutcome refused = CopyDatabase(*proj_, false);
    EXPECT_EQ(refused.count, 1) << u8(value);
    const std::u16string failure = failureText(refused.result);
    EXPECT_NE(failure.find(u"leads outside"), std::u16string::npos) << u8(failure);
  }
  EXPECT_FALSE(fsys::exists(dir_.path() / "outside"));
  EXPECT_TRUE(asked().empty());
}

}  // namespace
}  // namespace vantorel::test
