// Where the host program's writes may land: never through a symbolic link in the site, never
// over a project file it could not back up, and a destination that cannot be made is said once,
// with its own reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/variant.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace fs = std::filesystem;

namespace {

using vantorel::test::readFile;
using vantorel::test::writeFile;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();
const std::string kCli = VANTOREL_CLI_PATH;

// Every name below folder, so that anything written there shows.
std::vector<std::string> contents(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    names.push_back(fs::relative(entry.path(), folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void setBackups(bool on) {
  vantorel::SetRegValue(
      vantorel::Variant(u"HKCU"), vantorel::Variant(vantorel::projectContext().generalKey),
      vantorel::Variant(u"BackupFile"), 1, vantorel::Variant(on ? u"True" : u"False"));
}

class WrittenFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    project_ = dir_.path() / "shop.vtp";
    fs::copy_file(kSource / "examples" / "shop" / "shop.vtp", project_);
  }
  void TearDown() override { setBackups(false); }

  int generate(const fs::path& site, std::string& output) {
    output.clear();
    return vantorel::test::runCommand(
        kCli + " generate " + project_.string() + " --destination " + site.string() + " 2>&1",
        output);
  }

  vantorel::test::TempDir dir_;
  fs::path project_;
};

// A page replaced by a link to a file elsewhere, and folders written to and copied into replaced
// by links to folders elsewhere: the run names each link, fails, and changes nothing they lead
// to, with or without backups (whose copy would bring the file from elsewhere into the site).
TEST_F(WrittenFiles, LinksInTheSiteAreNeverFollowed) {
  const fs::path site = dir_.path() / "site";
  std::string output;
  ASSERT_EQ(generate(site, output), 0) << output;
  const fs::path outside = dir_.path() / "outside";
  writeFile(outside / "secret.txt", "secret");
  fs::create_directories(outside / "styles");
  fs::remove(site / "default.asp");
  fs::create_symlink(outside / "secret.txt", site / "default.asp");
  fs::remove_all(site / "css");
  fs::create_directory_symlink(outside / "styles", site / "css");
  fs::create_directories(outside / "pictures");
  fs::remove_all(site / "images");
  fs::create_directory_symlink(outside / "pictures", site / "images");
  const std::vector<std::string> before = contents(outside);

  for (const bool backups : {false, true}) {
    SCOPED_TRACE(backups ? "with backups" : "without backups");
    setBackups(backups);
    EXPECT_EQ(generate(site, output), 1) << output;
    for (const auto& [written, link] : {std::pair{site / "default.asp", site / "default.asp"},
                                        std::pair{site / "css" / "site.css", site / "css"},
                                        std::pair{site / "images", site / "images"}}) {
      EXPECT_NE(output.find("vantorel generate: not written: " + written.string() + ": \"" +
                            link.string() + "\" is a symbolic link, and links are not followed"),
                std::string::npos)
          << output;
      EXPECT_TRUE(fs::is_symlink(link));
    }
    EXPECT_EQ(output.find("Generated"), std::string::npos) << output;
    EXPECT_EQ(contents(outside), before);
    EXPECT_EQ(readFile(outside / "secret.txt"), "secret");
    EXPECT_FALSE(fs::exists(site / "default.asp.bak"));
    EXPECT_FALSE(fs::exists(site / "images.bak"));
  }
}

// A destination whose parent is a file cannot be made, whoever runs the program: the run ends
// with the folder's reason alone, not with a failure for every output.
TEST_F(WrittenFiles, ADestinationThatCannotBeMadeIsTheOneFailure) {
  writeFile(dir_.path() / "file", "not a folder");
  const fs::path site = dir_.path() / "file" / "site";
  std::string output;
  EXPECT_EQ(generate(site, output), 1) << output;
  EXPECT_NE(output.find("The destination folder \"" + site.string() +
                        "\" cannot be created: Not a directory. Generation aborted."),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find("not written"), std::string::npos) << output;
  EXPECT_EQ(output.find("No such file or directory"), std::string::npos) << output;
}

// A user folder where the backup folder cannot be made (its place is taken by a file, which stops
// root as well as anyone): the save fails with the reason and the project file stays byte for
// byte.
TEST_F(WrittenFiles, ASaveThatCannotBackUpKeepsTheProjectFile) {
  const fs::path home = dir_.path() / "home";
  writeFile(home / "Backup", "in the way of the backup folder");
  const fs::path script = dir_.path() / "rename.vbs";
  writeFile(script,
            "Set p = CreateObject(\"vantorel4.AGP\")\r\np.Load WScript.Arguments(0)\r\n"
            "p.SetV \"ProjName\", \"Renamed\"\r\np.Save WScript.Arguments(0)\r\n");
  const std::string before = readFile(project_);
  std::string output;
  EXPECT_NE(vantorel::test::runCommand("VANTOREL_HOME=" + home.string() + " " + kCli + " run " +
                                           script.string() + " " + project_.string() + " 2>&1",
                                       output),
            0)
      << output;
  EXPECT_NE(output.find("was not saved, because its backup copy could not be made"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("Not a directory"), std::string::npos) << output;
  EXPECT_EQ(readFile(project_), before);
}

}  // namespace
