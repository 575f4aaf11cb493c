#include "generator/output_paths.hpp"
#include "foundation/project_context.hpp"
#include "generator/run_end.hpp"

#include <cstdlib>
#include <vector>

#include "generator/output_folders.hpp"
#include "generator_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "support/failure_text.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;

class OutputPathTest : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    set(u"AppRootFolder", Variant(u16(dir_.path() / "approot") + u"\\"));
  }
};

TEST_F(OutputPathTest, PlacesFilesBelowTheirRoot) {
  struct Case {
    std::u16string folder, name;
    bool noCreate;
    std::string expected;  // below the temporary folder; its folder is created unless noCreate
  };
  const std::vector<Case> cases = {
      {u"", u"index.asp", false, "site/index.asp"},
      {u"", u"", false, "site/"},
      {u"a/b\\c", u"x.asp", false, "site/a/b/c/x.asp"},
      {u"  images  ", u"", false, "site/images/"},
      {u"~\\upload\\", u"f.txt", false, "approot/upload/f.txt"},
      {u"~/docs/deep", u"f.txt", false, "approot/docs/deep/f.txt"},
      // A folder written from the site's root, or with ".." that stays inside, is inside.
      {u"\\js\\", u"a.js", false, "site/js/a.js"},
      {u"x/../y", u"a.asp", false, "site/y/a.asp"},
      {u"nocreate/", u"a.asp", true, "site/nocreate/a.asp"},
  };
  for (const Case& c : cases) {
    const fsys::path expected = dir_.path() / c.expected;
    EXPECT_EQ(u8(GetDestPath(*proj_, c.folder, c.name, c.noCreate)), expected.string());
    EXPECT_EQ(fsys::is_directory(expected.parent_path()), !c.noCreate) << c.expected;
  }
  EXPECT_TRUE(projectContext().lastErrorText.empty());
}

TEST_F(OutputPathTest, RefusesPathsOutsideTheRoot) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"..\\outside", u"a.asp"}, {u"css/../../x", u""}, {u"~/../escape", u"a.asp"},
      {u"C:\\windows", u"a.asp"}, {u"", u"../a.asp"},    {u"", u"/etc/passwd"},
      {u"css", u"../../a.asp"},
  };
  for (const auto& [folder, name] : cases) {
    try {
      GetDestPath(*proj_, folder, name, false);
      ADD_FAILURE() << u8(folder) << "|" << u8(name);
    } catch (const GenerationStopped& e) {
      EXPECT_FALSE(e.cancelled());
      EXPECT_EQ(e.number(), -1);
      EXPECT_NE(u8(e.description()).find("leads outside the folder"), std::string::npos);
    }
  }
  EXPECT_FALSE(fsys::exists(dir_.path() / "outside"));
  EXPECT_FALSE(fsys::exists(dir_.path() / "escape"));
}

TEST_F(OutputPathTest, RefusesAMissingRoot) {
  set(u"Destination", Variant(u"   "));
  EXPECT_EQ(u8(failureText(CheckOutputRoot(*proj_))),
            u8(projectContext().productTitle) +
                ": The project has no destination folder (\"Destination\" "
                "is empty). Generation aborted.");
  EXPECT_THROW(GetDestPath(*proj_, u"css", u"a.css", false), AutomationError);
  EXPECT_FALSE(fsys::exists("css"));  // nothing made in the current folder

  set(u"Destination", Variant(u16(site_)));
  EXPECT_TRUE(CheckOutputRoot(*proj_).ok());
  set(u"AppRootFolder", Variant(u""));
  EXPECT_NE(
      u8(stopMessage([&] { GetDestPath(*proj_, u"~/up", u"", false); })).find("AppRootFolder"),
      std::string::npos);
}

// A site written into the root folder or the home folder mixes with the system's or the user's own
// files; both are refused however they are spelled, and their subfolders are not.
TEST_F(OutputPathTest, RefusesTheRootAndTheHomeFolder) {
  const char* const homeVariable = std::getenv("HOME");
  const std::string home = homeVariable ? homeVariable : "";
  ASSERT_FALSE(home.empty());
  fsys::create_directories(home);
  fsys::create_directories(dir_.path() / "link-target");
  fsys::create_directory_symlink(home, dir_.path() / "home-link");
  struct Case {
    std::string destination;
    bool refused;
  } cases[] = {
      {"/", true},
      {"//", true},
      {"/tmp/..", true},
      {"\\", true},
      {home, true},
      {home + "/", true},
      {home + "/./", true},
      {(dir_.path() / "home-link").string(), true},
      {home + "/site", false},
      {(dir_.path() / "link-target").string(), false},
      {"/tmp", false},
  };
  for (const Case& c : cases) {
    set(u"Destination", Variant(u16(fsys::path(c.destination))));
    const std::string message = u8(failureText(CheckOutputRoot(*proj_)));
    EXPECT_EQ(!message.empty(), c.refused) << c.destination << ": " << message;
    if (c.refused) {
      EXPECT_NE(message.find("is the root folder or the home folder"), std::string::npos)
          << message;
    }
  }
}

TEST_F(OutputPathTest, ChecksPathsExist) {
  test::writeFile(site_ / "sub" / "a.txt", "x");
  test::writeFile(dir_.path() / "secret.txt", "x");
  EXPECT_EQ(u8(CheckPathExists(u16(site_) + u"\\", u"sub")), (site_ / "sub").string());
  EXPECT_EQ(u8(CheckPathExists(u16(site_ / "sub"), u"a.txt")), (site_ / "sub" / "a.txt").string());
  EXPECT_EQ(u8(CheckPathExists(u16(site_), u"missing.txt")), "");
  // A name that climbs out counts as missing, whatever is there.
  EXPECT_EQ(u8(CheckPathExists(u16(site_), u"../secret.txt")), "");
}

TEST_F(OutputPathTest, CreatesTheFoldersOfFolderControls) {
  auto controls = makeRef<AGPControls>();
  controls->AddControl(makeControl(u"_css", u"Folder", u"", u"", u"", u"css\\"));
  controls->AddControl(makeControl(u"_empty", u"folder", u""));
  controls->AddControl(makeControl(u"_other", u"other", u"", u"", u"", u"notme"));
  controls->AddControl(makeControl(u"_up", u"folder", u"", u"", u"", u"~/upload/x"));
  controls->AddControl(makeControl(u"_img", u"folder", u"", u"", u"", u"images"));
  test::writeFile(site_ / "images" / "keep.gif", "gif");

  CreateOutputFolders(*proj_, *controls);
  EXPECT_TRUE(fsys::is_directory(site_ / "css"));
  EXPECT_TRUE(fsys::is_directory(dir_.path() / "approot" / "upload" / "x"));
  EXPECT_EQ(test::readFile(site_ / "images" / "keep.gif"), "gif");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fsys::directory_iterator(site_)) ++entries;
  EXPECT_EQ(entries, 2u);  // css and images, nothing for the others
}

}  // namespace
}  // namespace vantorel::test
