#include "generator/copy_controls.hpp"
#include "foundation/project_context.hpp"

#include <string>
#include <vector>

#include "foundation/control_items.hpp"
#include "foundation/template_lookup.hpp"
#include "generator/output_naming.hpp"
#include "generator_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/ui/ui.hpp"
#include "support/failure_text.hpp"
#include "support/test_files.hpp"
#include "templates/script_host.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;

Ref<AGPControl> copyControl(std::u16string id, std::u16string files, std::u16string folder = {},
                            std::u16string outFolderId = {}, std::u16string outFile = {}) {
  Ref<AGPControl> c = makeControl(id, u"copy", outFile, u"txt", files);
  c->fields().CtrlIFolder = folder;
  c->fields().CtrlOFolderID = outFolderId;
  c->fields().CtrlOverwrite = true;
  return c;
}

class CopyControlsTest : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    tpl_ = dir_.path() / "tpl";
    for (const char* f : {"js/a.js", "js/b.js", "main.txt", "sub/deep.txt", "images/x/y.png"}) {
      test::writeFile(tpl_ / f, f);
    }
    projectContext().templateFolder = u16(tpl_);
    use({});
  }
  void TearDown() override {
    run().templateControls = makeRef<AGPControls>();
    projectContext().templateFolder.clear();
    GeneratorTest::TearDown();
  }
  void use(const std::vector<Ref<AGPControl>>& controls) {
    run().templateControls = makeRef<AGPControls>();
    Ref<AGPControl> folder = makeControl(u"_js", u"folder", u"", u"", u"", u"scripts");
    run().templateControls->AddControl(folder);
    for (const Ref<AGPControl>& c : controls) run().templateControls->AddControl(c);
  }

  fsys::path tpl_;
};

TEST_F(CopyControlsTest, CopiesFilesAndFoldersIntoTheSite) {
  const Ref<AGPControl> single = copyControl(u"c2", u"main.txt", u"", u"", u"start");
  use({copyControl(u"c1", u"js/a.js,js/b.js", u"", u"_js"), single,
       copyControl(u"c3", u"sub/deep.txt"), copyControl(u"c4", u"", u"images\\"),
       makeControl(u"c5", u"Copy", u"", u"", u"main.txt")});
  const std::string startName = u8(GetOutputFileName(*proj_, *single, u"", u""));

  // The check pass copies and creates nothing and counts what is there.
  EXPECT_EQ(CopyTemplateFiles(run(), true).count, 0);
  EXPECT_TRUE(fsys::is_empty(site_));

  const StepOutcome copied = CopyTemplateFiles(run(), false);
  EXPECT_EQ(copied.count, 0);
  EXPECT_TRUE(copied.result.ok());
  for (const std::string f : {"scripts/a.js", "scripts/b.js", "sub/deep.txt", "images/x/y.png"}) {
    EXPECT_TRUE(fsys::is_regular_file(site_ / f)) << f;
  }
  EXPECT_EQ(test::readFile(site_ / startName), "main.txt");
  EXPECT_FALSE(fsys::exists(site_ / "main.txt"));  // "Copy" is not "copy"

  EXPECT_EQ(CopyTemplateFiles(run(), true).count, 5);

  // A folder copy that may not overwrite still fills a folder that is missing or empty.
  Ref<AGPControl> keep = copyControl(u"k", u"", u"images\\");
  keep->fields().CtrlOFolder = u"pics";
  keep->fields().CtrlOverwrite = false;
  use({keep});
  EXPECT_EQ(CopyTemplateFiles(run(), false).count, 0);
  EXPECT_TRUE(fsys::is_regular_file(site_ / "pics/x/y.png"));
  test::writeFile(site_ / "pics/x/y.png", "mine");
  EXPECT_EQ(CopyTemplateFiles(run(), false).count, 0);
  EXPECT_EQ(test::readFile(site_ / "pics/x/y.png"), "mine");
  use({copyControl(u"c3", u"sub/deep.txt")});

  // A control switched off in the project's list is left out.
  proj_->controlList().Add(u"c3", u"deep.txt", false, u"");
  fsys::remove(site_ / "sub/deep.txt");
  EXPECT_EQ(CopyTemplateFiles(run(), false).count, 0);
  EXPECT_FALSE(fsys::exists(site_ / "sub/deep.txt"));
}

TEST_F(CopyControlsTest, StopsOrGoesOnAsTheFailureDemands) {
  struct Case {
    Ref<AGPControl> bad;
    bool check;
    std::int16_t result;
    std::u16string message;  // part of the failure
    bool nextRuns;
  };
  const std::vector<Case> cases = {
      {copyControl(u"b", u"nope.js"), false, 1, u"Source file does not exist - \"nope.js\"", false},
      {copyControl(u"b", u"nope.js"), true, 1, u"Source file does not exist", false},
      {copyControl(u"b", u"", u"nofolder\\"), false, 0, u"Source folder does not exist", true},
      {copyControl(u"b", u"../tpl/main.txt"), false, 1, u"leads outside", false},
      {copyControl(u"b", u"main.txt", u"..\\"), false, 1, u"leads outside", false},
      {copyControl(u"b", u"", u"/etc/"), false, 1, u"leads outside", false},
  };
  for (const Case& c : cases) {
    fsys::remove_all(site_);
    fsys::create_directories(site_);
    use({c.bad, copyControl(u"next", u"main.txt")});
    const StepOutcome copied = CopyTemplateFiles(run(), c.check);
    EXPECT_EQ(copied.count, c.result) << u8(c.message);
    const std::u16string failure = failureText(copied.result);
    EXPECT_NE(failure.find(c.message), std::u16string::npos) << u8(failure);
    EXPECT_EQ(fsys::exists(site_ / "main.txt"), c.nextRuns && !c.check) << u8(c.message);
  }

  // An output folder outside the site ends the run.
  Ref<AGPControl> out = copyControl(u"o", u"main.txt");
  out->fields().CtrlOFolder = u"../elsewhere";
  use({out});
  EXPECT_THROW(CopyTemplateFiles(run(), false), AutomationError);
  EXPECT_FALSE(fsys::exists(dir_.path() / "elsewhere"));
}

// A failed copy named only its target; a full disk and a folder in the way read the same.
TEST_F(CopyControlsTest, AFailedCopyGivesTheSystemsReason) {
  ui::takeNotices();
  fsys::create_directories(site_ / "main.txt" / "in the way");
  use({copyControl(u"c", u"main.txt")});
  const StepOutcome copied = CopyTemplateFiles(run(), false);
  EXPECT_EQ(copied.count, 1);
  const std::u16string target = u16(site_ / "main.txt");
  EXPECT_EQ(failureText(copied.result),
            u"Copying to file \"" + target + u"\" failed! Error = Is a directory");
  EXPECT_EQ(ui::takeNotices().unwritten, (std::vector<ui::Unwritten>{{target, u"Is a directory"}}));
}

TEST_F(CopyControlsTest, ChecksTheScriptFilesOfFunctionControls) {
  use({makeControl(u"f1", u"function", u"", u"", u"missing.vbs")});
  EXPECT_NE(
      failureText(CheckScriptFiles(run())).find(u"Script file does not exist - \"missing.vbs\""),
      std::u16string::npos);

  // A file that exists goes to the script engine; without one the check says so.
  use({makeControl(u"f1", u"function", u"", u"", u"main.txt"),
       makeControl(u"f2", u"Function", u"", u"", u"missing.vbs")});
  run().scriptEngine = Ref<AGScript>();
  EXPECT_NE(failureText(CheckScriptFiles(run())).find(u"No script engine"), std::u16string::npos);
}

}  // namespace
}  // namespace vantorel::test
