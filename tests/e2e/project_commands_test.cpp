// `vantorel new`, `check` and `generate` as a new user meets them: a project file never replaced
// unasked, files holding passwords kept private, a SQLite file found from any folder, a language
// file checked when it is named, a check that lists what the generation writes, a database that
// cannot be read failing the run, and what a regeneration leaves behind named.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "e2e/host_run.hpp"
#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/variant.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace {

namespace fs = std::filesystem;
using vantorel::test::HostExit;
using vantorel::test::readFile;
using vantorel::test::runHost;
using vantorel::test::writeFile;

const fs::path kSource = fs::path(VANTOREL_TEST_DATA).parent_path().parent_path();

// Every file below folder, by its path relative to it.
std::set<std::string> filesBelow(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder).string());
  }
  return files;
}

// The paths `vantorel check` lists: the first word of each line before the count.
std::set<std::string> listed(const std::string& output) {
  std::set<std::string> files;
  std::size_t start = 0;
  while (start < output.size()) {
    const std::size_t end = output.find('\n', start);
    const std::string line = output.substr(start, end - start);
    start = end == std::string::npos ? output.size() : end + 1;
    if (line.empty() || line.find(" files") != std::string::npos ||
        line.rfind("Some of them", 0) == 0) {
      continue;
    }
    files.insert(line.substr(0, line.find(' ')));
  }
  return files;
}

fs::perms permissionsOf(const fs::path& path) {
  return fs::status(path).permissions() & fs::perms::mask;
}

void replaceIn(const fs::path& file, const std::string& from, const std::string& to) {
  std::string text = readFile(file);
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  writeFile(file, text);
}

class ProjectCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder());
    fs::copy_file(kSource / "examples" / "shop" / "shop.sqlite", folder() / "shop.sqlite");
  }
  void TearDown() override {
    vantorel::SetRegValue(vantorel::Variant(u"HKCU"),
                          vantorel::Variant(vantorel::projectContext().generalKey),
                          vantorel::Variant(u"BackupFile"), 1, vantorel::Variant(u"False"));
  }
  fs::path folder() const { return dir_.path() / "work"; }
  fs::path home() const {
    const char* home = std::getenv("VANTOREL_HOME");
    return home ? fs::path(home) : fs::path();
  }
  // A project of the example SQLite file made in the work folder.
  HostExit makeProject(const std::string& name, std::vector<std::string> more = {}) {
    std::vector<std::string> arguments{"new", name, "--connect",
                                       "Driver=SQLite3;Database=shop.sqlite"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return runHost(arguments, folder());
  }

  vantorel::test::TempDir dir_;
};

TEST_F(ProjectCommands, NewReplacesAProjectFileOnlyWhenForced) {
  ASSERT_EQ(makeProject("shop.vtp").code, 0);
  const std::string first = readFile(folder() / "shop.vtp");
  replaceIn(folder() / "shop.vtp", "ProjName=\"shop\"", "ProjName=\"mine\"");
  const std::string edited = readFile(folder() / "shop.vtp");
  ASSERT_NE(first, edited);

  const HostExit refused = makeProject("shop.vtp");
  EXPECT_EQ(refused.code, 2);
  EXPECT_EQ(refused.err,
            "vantorel new: shop.vtp exists already; nothing was changed (--force replaces it, "
            "keeping the old file as its numbered backup)\n");
  EXPECT_EQ(readFile(folder() / "shop.vtp"), edited);

  const HostExit forced = makeProject("shop.vtp", {"--force"});
  ASSERT_EQ(forced.code, 0) << forced.err;
  EXPECT_EQ(readFile(folder() / "shop.vtp"), first);
  // Where the old file went, and it is there: below the user's own folder.
  const std::string said = "The file it replaced is kept as ";
  const std::size_t at = forced.out.find(said);
  ASSERT_NE(at, std::string::npos) << forced.out;
  const fs::path backup =
      forced.out.substr(at + said.size(), forced.out.find('\n', at) - at - said.size());
  EXPECT_EQ(backup.filename(), "shop(1).vtp");
  EXPECT_EQ(backup.parent_path().parent_path(), home() / "Backup");
  EXPECT_EQ(readFile(backup), edited);

  // A folder in the way is never replaced.
  fs::create_directories(folder() / "taken.vtp");
  const HostExit folderInTheWay = makeProject("taken.vtp", {"--force"});
  EXPECT_EQ(folderInTheWay.code, 2);
  EXPECT_EQ(folderInTheWay.err, "vantorel new: taken.vtp is a folder\n");
}

// The project file, its backups and a page that holds the database password are the owner's
// alone when they are made; a file the user made readable to others keeps its permissions.
TEST_F(ProjectCommands, FilesHoldingPasswordsArePrivate) {
  // What is not private is left to the umask, the usual one here.
  const mode_t umask = ::umask(022);
  const std::vector<std::string> withPassword{"new", "secret.vtp", "--connect",
                                              "Driver=SQLite3;Database=shop.sqlite;PWD=s3cret"};
  ASSERT_EQ(runHost(withPassword, folder()).code, 0);
  EXPECT_EQ(permissionsOf(folder() / "secret.vtp"), fs::perms(0600));
  const HostExit generated = runHost({"generate", "secret.vtp", "--destination", "site"}, folder());
  ASSERT_EQ(generated.code, 0) << generated.err;
  const fs::path site = folder() / "site";
  ASSERT_NE(readFile(site / "config.asp").find("s3cret"), std::string::npos);
  EXPECT_EQ(permissionsOf(site / "config.asp"), fs::perms(0600));
  EXPECT_EQ(readFile(site / "default.asp").find("s3cret"), std::string::npos);
  EXPECT_EQ(permissionsOf(site / "default.asp") & fs::perms::others_read, fs::perms::others_read);

  fs::permissions(folder() / "secret.vtp", fs::perms(0640));
  std::vector<std::string> again = withPassword;
  again.push_back("--force");
  const HostExit forced = runHost(again, folder());
  ASSERT_EQ(forced.code, 0) << forced.err;
  EXPECT_EQ(permissionsOf(folder() / "secret.vtp"), fs::perms(0640));
  std::vector<fs::path> copies;
  for (const auto& entry : fs::recursive_directory_iterator(home() / "Backup")) {
    if (entry.path().filename() == "secret(1).vtp") copies.push_back(entry.path());
  }
  ASSERT_EQ(copies.size(), 1U);
  EXPECT_EQ(permissionsOf(copies[0]), fs::perms(0600));
  EXPECT_EQ(permissionsOf(copies[0].parent_path()), fs::perms(0700));
  EXPECT_EQ(permissionsOf(home() / "Backup"), fs::perms(0700));
  ::umask(umask);
}

// A SQLite file named relative to where `new` ran is stored absolute; one a project file names
// relative to itself (the committed example does) is found beside the file, from any folder.
TEST_F(ProjectCommands, ASqliteFileIsFoundFromAnyFolder) {
  ASSERT_EQ(makeProject("shop.vtp").code, 0);
  EXPECT_NE(readFile(folder() / "shop.vtp")
                .find("DBConnstr=\"Driver=SQLite3;Database=" + (folder() / "shop.sqlite").string() +
                      "\""),
            std::string::npos);

  // A project file beside its database, naming it relative to itself.
  const fs::path moved = dir_.path() / "moved";
  fs::create_directories(moved);
  fs::copy_file(kSource / "examples" / "shop" / "shop-db.vtp", moved / "shop-db.vtp");
  fs::copy_file(folder() / "shop.sqlite", moved / "shop.sqlite");
  const std::string stored = readFile(moved / "shop-db.vtp");
  ASSERT_NE(stored.find("DBConnstr=\"Driver=SQLite3;Database=shop.sqlite\""), std::string::npos);

  const fs::path elsewhere = dir_.path() / "elsewhere";
  fs::create_directories(elsewhere);
  const struct {
    const char* label;
    fs::path project;
  } cases[] = {
      {"made by new", folder() / "shop.vtp"},
      {"named relative to the project file", moved / "shop-db.vtp"},
      {"the committed example", kSource / "examples" / "shop" / "shop-db.vtp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const HostExit checked = runHost({"check", c.project.string(), "-d", "site"}, elsewhere);
    EXPECT_EQ(checked.code, 0) << checked.err;
    EXPECT_EQ(checked.err, "");
    EXPECT_NE(checked.out.find("Orderslist.asp"), std::string::npos) << checked.out;
  }
  const HostExit generated =
      runHost({"generate", (moved / "shop-db.vtp").string(), "-d", "site"}, elsewhere);
  EXPECT_EQ(generated.code, 0) << generated.err;
  EXPECT_EQ(generated.err, "");

  // A save where it was read keeps the name as it was stored.
  writeFile(elsewhere / "resave.vbs",
            "Set p = CreateObject(\"vantorel4.AGP\")\r\np.Load WScript.Arguments(0)\r\n"
            "WScript.Echo p.DB.DBConnstr\r\np.Save WScript.Arguments(0)\r\n");
  const HostExit resaved = runHost(
      {"run", (elsewhere / "resave.vbs").string(), (moved / "shop-db.vtp").string()}, elsewhere);
  EXPECT_EQ(resaved.code, 0) << resaved.err;
  EXPECT_EQ(resaved.out, "Driver=SQLite3;Database=" + (moved / "shop.sqlite").string() + "\n");
  EXPECT_NE(
      readFile(moved / "shop-db.vtp").find("DBConnstr=\"Driver=SQLite3;Database=shop.sqlite\""),
      std::string::npos);
}

TEST_F(ProjectCommands, ALanguageFileMustBeInTheLanguageFolder) {
  const HostExit refused = makeProject("shop.vtp", {"--language", "nope.xml"});
  EXPECT_EQ(refused.code, 2);
  EXPECT_EQ(refused.err.rfind("vantorel new: the language file nope.xml is not in the language "
                              "folder ",
                              0),
            0U)
      << refused.err;
  EXPECT_FALSE(fs::exists(folder() / "shop.vtp"));

  // A project whose language file went away: the unattended run goes on without it and fails.
  ASSERT_EQ(makeProject("shop.vtp", {"--language", "lang.xml"}).code, 0);
  replaceIn(folder() / "shop.vtp", "DefaultLanguageFile=\"lang.xml\"",
            "DefaultLanguageFile=\"gone.xml\"");
  const HostExit generated = runHost({"generate", "shop.vtp", "-d", "site"}, folder());
  EXPECT_EQ(generated.code, 1);
  EXPECT_NE(generated.err.find("vantorel generate: generated without the language file "
                               "'gone.xml': it could not be loaded from the language folder"),
            std::string::npos)
      << generated.err;
  EXPECT_EQ(generated.out.find("Generated"), std::string::npos);
}

// The check lists, relative to the destination, exactly the files the generation then writes:
// pages of tables and fields, the copied folders' files, the style sheet in its folder, and
// nothing a choice in the output lists switches off.
TEST_F(ProjectCommands, TheCheckListsWhatTheGenerationWrites) {
  ASSERT_EQ(runHost({"run", (kSource / "examples" / "shop" / "shop.vbs").string(),
                     (folder() / "example.vtp").string()})
                .code,
            0);
  ASSERT_EQ(makeProject("made.vtp").code, 0);
  ASSERT_EQ(makeProject("chosen.vtp").code, 0);
  replaceIn(folder() / "chosen.vtp", "OtherGenList=\"\"", "OtherGenList=\"default=0,menu=1\"");
  replaceIn(folder() / "chosen.vtp",
            "TblName=\"Orders\" TblType=\"TABLE\" TblGen=\"1\" TblGenList=\"\"",
            "TblName=\"Orders\" TblType=\"TABLE\" TblGen=\"1\" TblGenList=\"delete=0\"");
  const struct {
    const char* project;
    std::size_t files;
    std::vector<std::string> among;  // files the list must hold
    std::vector<std::string> not_among;
  } cases[] = {
      {"example.vtp",
       59,
       {"Products_Picturedownload.asp", "Employees_Photodownload.asp", "css/site.css", "js/site.js",
        "language/lang.xml", "images/logo.svg", "about.asp"},
       {"Shop.css", "site.css"}},
      {"made.vtp", 35, {"default.asp", "Ordersdelete.asp", "config.asp"}, {"made.css"}},
      {"chosen.vtp", 33, {"menu.asp", "Ordersedit.asp"}, {"default.asp", "Ordersdelete.asp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.project);
    const fs::path site = folder() / (std::string(c.project) + ".site");
    const HostExit checked = runHost({"check", c.project, "-d", site.string()}, folder());
    ASSERT_EQ(checked.code, 0) << checked.err;
    const std::set<std::string> fromCheck = listed(checked.out);
    EXPECT_NE(checked.out.find(std::to_string(c.files) + " files\n"), std::string::npos)
        << checked.out;
    const HostExit generated = runHost({"generate", c.project, "-d", site.string()}, folder());
    ASSERT_EQ(generated.code, 0) << generated.err;
    EXPECT_EQ(filesBelow(site), fromCheck);
    EXPECT_EQ(fromCheck.size(), c.files);
    for (const std::string& file : c.among) EXPECT_EQ(fromCheck.count(file), 1U) << file;
    for (const std::string& file : c.not_among) EXPECT_EQ(fromCheck.count(file), 0U) << file;
    // Once the pages exist the list is the same.
    const HostExit again = runHost({"check", c.project, "-d", site.string()}, folder());
    EXPECT_EQ(listed(again.out), fromCheck);
    EXPECT_NE(again.out.find("Some of them exist already in the destination."), std::string::npos);
  }
}

// Unattended, a run whose project's database cannot be read does nothing and fails, as does one
// of a project that loads its tables one by one and has none loaded.
TEST_F(ProjectCommands, ARunWithoutItsDatabaseFails) {
  ASSERT_EQ(makeProject("gone.vtp").code, 0);
  ASSERT_EQ(makeProject("dynamic.vtp", {"--dynamic"}).code, 0);
  const std::string missing =
      "The SQLite database file \"" + (folder() / "shop.sqlite").string() + "\" does not exist";
  const struct {
    const char* command;
    const char* project;
    std::string reason;
  } cases[] = {
      {"check", "dynamic.vtp",
       "vantorel check: none of the database's 6 tables and views is loaded (the project loads "
       "them one by one: AGP.LoadTable); nothing was done\n"},
      {"generate", "dynamic.vtp",
       "vantorel generate: none of the database's 6 tables and views is loaded (the project "
       "loads them one by one: AGP.LoadTable); nothing was done\n"},
      {"check", "gone.vtp",
       "vantorel check: the project's database could not be read; nothing "
       "was done\n"},
      {"generate", "gone.vtp",
       "vantorel generate: the project's database could not be read; "
       "nothing was done\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.project);
    // The tables of the dynamic project are not loaded while its database is there.
    if (std::string(c.project) == "gone.vtp") fs::remove(folder() / "shop.sqlite");
    const HostExit e = runHost({c.command, c.project, "-d", "site"}, folder());
    EXPECT_EQ(e.code, 1);
    EXPECT_EQ(e.out, "");
    EXPECT_NE(e.err.find(c.reason), std::string::npos) << e.err;
    if (std::string(c.project) == "gone.vtp") {
      EXPECT_NE(e.err.find(missing), std::string::npos) << e.err;
    }
    EXPECT_FALSE(fs::exists(folder() / "site"));
  }
}

// A second generation after a table was dropped names the pages the first one left; backups of
// the replaced pages are made only when the user asked for them.
TEST_F(ProjectCommands, ARegenerationNamesWhatItLeftAndBacksUpOnlyWhenAsked) {
  ASSERT_EQ(makeProject("shop.vtp").code, 0);
  ASSERT_EQ(runHost({"generate", "shop.vtp", "-d", "site"}, folder()).code, 0);
  replaceIn(folder() / "shop.vtp", "TblName=\"Orders\" TblType=\"TABLE\" TblGen=\"1\"",
            "TblName=\"Orders\" TblType=\"TABLE\" TblGen=\"0\"");
  const HostExit again = runHost({"generate", "shop.vtp", "-d", "site"}, folder());
  ASSERT_EQ(again.code, 0) << again.err;
  EXPECT_EQ(again.out, "Generated " + (folder() / "site").string() +
                           "\n"
                           "Not made by this generation, left from an earlier one (not removed):\n"
                           "  Ordersadd.asp\n"
                           "  Ordersdelete.asp\n"
                           "  Ordersedit.asp\n"
                           "  Orderslist.asp\n"
                           "  Ordersview.asp\n");
  for (const std::string& file : filesBelow(folder() / "site")) {
    EXPECT_EQ(file.find(".bak"), std::string::npos) << file;
  }
  EXPECT_FALSE(fs::exists(folder() / "site" / "images.bak"));

  vantorel::SetRegValue(vantorel::Variant(u"HKCU"),
                        vantorel::Variant(vantorel::projectContext().generalKey),
                        vantorel::Variant(u"BackupFile"), 1, vantorel::Variant(u"True"));
  const std::string before = readFile(folder() / "site" / "default.asp");
  writeFile(folder() / "site" / "default.asp", before + "<!-- edited -->");
  ASSERT_EQ(runHost({"generate", "shop.vtp", "-d", "site"}, folder()).code, 0);
  EXPECT_EQ(readFile(folder() / "site" / "default.asp.bak"), before + "<!-- edited -->");
  EXPECT_EQ(readFile(folder() / "site" / "default.asp"), before);
  EXPECT_TRUE(fs::is_directory(folder() / "site" / "images.bak"));
}

// The bundled template set is stored by its name and found in the data folder wherever that is.
TEST_F(ProjectCommands, TheBundledSetIsFoundWhereverTheDataFolderIs) {
  ASSERT_EQ(makeProject("shop.vtp").code, 0);
  EXPECT_NE(readFile(folder() / "shop.vtp").find(" Template=\"sample.zip\" "), std::string::npos);
  const char* bundled = std::getenv("VANTOREL_DATA");
  ASSERT_NE(bundled, nullptr);
  const fs::path moved = dir_.path() / "moved-data";
  fs::copy(bundled, moved, fs::copy_options::recursive);
  const std::vector<std::string> movedData{"VANTOREL_DATA=" + moved.string(),
                                           "VANTOREL_DATA_DIR=" + moved.string()};
  const HostExit generated = runHost({"generate", "shop.vtp", "-d", "site"}, folder(), movedData);
  EXPECT_EQ(generated.code, 0) << generated.err;
  EXPECT_TRUE(fs::exists(folder() / "site" / "default.asp"));

  // Once the set is gone, the message names the file it looked for.
  fs::remove(moved / "templates" / "sample.zip");
  const HostExit gone = runHost({"generate", "shop.vtp", "-d", "site"}, folder(), movedData);
  EXPECT_EQ(gone.code, 1);
  EXPECT_NE(gone.err.find("Template file \"" + (moved / "templates" / "sample.zip").string() +
                          "\" not found! Generation aborted!"),
            std::string::npos)
      << gone.err;
}

}  // namespace

namespace {

// The build makes the data folder its programs read in the build folder, whole, and writes
// nothing into the source tree's data folder.
TEST(BuildData, TheDataFolderIsTheBuildsOwnAndWhole) {
  const fs::path data = fs::path(VANTOREL_DATA_DIR);
  const fs::path relative = data.lexically_relative(kSource / "data");
  EXPECT_TRUE(relative.empty() || *relative.begin() == "..") << data;
  for (const char* file :
       {"machine.reg", "keywords.xml", "settings.xml", "codebase.xml", "templates/sample.zip",
        "templates/usercode.vbs", "languages/lang.xml", "extensions/AboutPage.zip",
        "extensions/AboutPage.xml"}) {
    EXPECT_TRUE(fs::is_regular_file(data / file)) << file;
  }
}

// The example script stops, instead of saving a project without its extension's settings, when
// the data folder it runs with has no extensions.
TEST(BuildData, TheShopScriptFailsWithoutItsExtension) {
  vantorel::test::TempDir dir;
  const fs::path data = dir.path() / "data";
  fs::copy(VANTOREL_DATA_DIR, data, fs::copy_options::recursive);
  fs::remove_all(data / "extensions");
  const fs::path project = dir.path() / "shop.vtp";
  const HostExit e = runHost(
      {"run", (kSource / "examples" / "shop" / "shop.vbs").string(), project.string()}, {},
      {"VANTOREL_DATA=" + data.string(), "VANTOREL_DATA_DIR=" + data.string(),
       "VANTOREL_HOME=" + (dir.path() / "home").string()});
  EXPECT_EQ(e.code, 1);
  EXPECT_NE(e.out.find("The extension AboutPage could not be added"), std::string::npos) << e.out;
  EXPECT_EQ(e.out.find("Saved"), std::string::npos) << e.out;
  EXPECT_EQ(readFile(project).find("AboutPage"), std::string::npos);
}

}  // namespace
