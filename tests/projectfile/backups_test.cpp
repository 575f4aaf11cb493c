// Numbered project backups, the working folders of a template and the folder clean-up.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <optional>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "projectfile/project_backups.hpp"
#include "projectfile/project_test_support.hpp"
#include "projectfile/project_writer.hpp"
#include "projectfile/working_folders.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

class BackupsTest : public test::ProjectFileTest {
 protected:
  std::filesystem::path backups() const { return dir_.path() / "backups"; }
  std::map<int, std::string> copies(const std::string& base, const std::string& ext) const {
    std::map<int, std::string> out;
    for (int n = 1; n <= 20; ++n) {
      const auto p = backups() / (base + "(" + std::to_string(n) + ")" + ext);
      if (std::filesystem::exists(p)) out[n] = test::readFile(p);
    }
    return out;
  }
  // The folder of keep.vtp's copies below backupFolder.
  std::filesystem::path keepCopies(const std::filesystem::path& backupFolder) const {
    return toUtf8(projectBackupFolder(fromUtf8(backupFolder.string()), workFile("keep.vtp")));
  }
  static void setMaximum(std::int32_t type, const Variant& value) {
    SetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey),
                Variant(u"MaxProjectBackupCount"), type, value);
  }
};

TEST_F(BackupsTest, CopiesRotateByNumber) {
  struct Case {
    const char* what;
    std::vector<int> existing;
    bool fileExists;
    std::int16_t maximum;
    std::map<int, std::string> expected;
  } cases[] = {
      {"full set of three", {1, 2, 3}, true, 3, {{1, "new"}, {2, "c1"}, {3, "c2"}}},
      {"gap after copy 1", {1, 3}, true, 10, {{1, "new"}, {2, "c1"}, {3, "c3"}}},
      {"no project file yet", {1}, false, 10, {{1, "c1"}}},
      {"maximum of one", {1, 2}, true, 1, {{1, "new"}}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(backups());
    std::filesystem::remove_all(work());
    for (int n : c.existing) {
      test::writeFile(backups() / ("shop(" + std::to_string(n) + ").vtp"), "c" + std::to_string(n));
    }
    if (c.fileExists) test::writeFile(work() / "shop.vtp", "new");
    MakeBackupCopy(workFile("shop.vtp"), fromUtf8(backups().string()), c.maximum);
    EXPECT_EQ(copies("shop", ".vtp"), c.expected) << c.what;
  }
  // Either separator; a name without a dot gets no extension.
  test::writeFile(work() / "plain", "p");
  MakeBackupCopy(fromUtf8(work().string()) + u"\\plain", fromUtf8(backups().string()), 10);
  EXPECT_EQ(copies("plain", ""), (std::map<int, std::string>{{1, "p"}}));
}

TEST_F(BackupsTest, SaveKeepsTheUsersNumberOfBackups) {
  const std::pair<Variant, std::int16_t> maxima[] = {{Variant(std::int32_t{0}), 10},
                                                     {Variant(std::int32_t{-3}), 10},
                                                     {Variant(u"abc"), 10},
                                                     {Variant(std::int32_t{2}), 2}};
  EXPECT_EQ(maxProjectBackupCount(), 10);
  for (const auto& [value, expected] : maxima) {
    setMaximum(value.isString() ? 1 : 4, value);
    EXPECT_EQ(maxProjectBackupCount(), expected);
  }
  Ref<AGP> p = makeRef<AGP>();
  for (int i = 0; i < 4; ++i) {
    p->setProjName(u"v" + toU16(i));
    saveProject(*p, workFile("keep.vtp"));
  }
  const std::filesystem::path folder = keepCopies(toUtf8(projectContext().backupFolder));
  EXPECT_TRUE(std::filesystem::exists(folder / "keep(2).vtp"));
  EXPECT_FALSE(std::filesystem::exists(folder / "keep(3).vtp"));
  EXPECT_NE(test::readFile(folder / "keep(1).vtp").find("ProjName=\"v2\""), std::string::npos);
}

// Each of these fails for root too: a save that cannot back up the old file raises with the
// reason and leaves the old file byte for byte, and nothing outside the backup folder changes.
TEST_F(BackupsTest, ABackupThatCannotBeMadeStopsTheSave) {
  const std::filesystem::path outside = dir_.path() / "outside.txt";
  const struct {
    const char* what;
    std::function<void()> arrange;
    std::u16string backupFolder;
    std::string reason;
  } cases[] = {
      {"the backup folder's parent is a file", [&] { test::writeFile(dir_.path() / "file", "f"); },
       fromUtf8((dir_.path() / "file" / "Backup").string()), "Not a directory"},
      {"a folder stands where copy 1 goes",
       [&] { std::filesystem::create_directories(keepCopies(backups()) / "keep(1).vtp"); },
       fromUtf8(backups().string()), "Is a directory"},
      {"copy 1 is a link to a file elsewhere",
       [&] {
         std::filesystem::create_directories(keepCopies(backups()));
         std::filesystem::create_symlink(outside, keepCopies(backups()) / "keep(1).vtp");
       },
       fromUtf8(backups().string()),
       "\"" + (keepCopies(backups()) / "keep(1).vtp").string() + "\" is a symbolic link"},
      {"copy 2 is a link to a file elsewhere",
       [&] {
         test::writeFile(keepCopies(backups()) / "keep(1).vtp", "c1");
         std::filesystem::create_symlink(outside, keepCopies(backups()) / "keep(2).vtp");
       },
       fromUtf8(backups().string()),
       "\"" + (keepCopies(backups()) / "keep(2).vtp").string() + "\" is a symbolic link"},
  };
  const std::u16string kept = projectContext().backupFolder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(backups());
    std::filesystem::remove_all(dir_.path() / "file");
    test::writeFile(outside, "outside");
    Ref<AGP> p = makeRef<AGP>();
    saveProject(*p, workFile("keep.vtp"));
    const std::string saved = test::readFile(work() / "keep.vtp");
    c.arrange();
    projectContext().backupFolder = c.backupFolder;
    p->setProjName(u"changed");
    try {
      saveProject(*p, workFile("keep.vtp"));
      ADD_FAILURE() << "saved without a backup";
    } catch (const AutomationError& e) {
      EXPECT_NE(toUtf8(e.description()).find(c.reason), std::string::npos)
          << toUtf8(e.description());
    }
    projectContext().backupFolder = kept;
    EXPECT_EQ(test::readFile(work() / "keep.vtp"), saved);
    EXPECT_EQ(test::readFile(outside), "outside");
  }
}

// A project file that is a link is neither backed up nor written through: the file it leads to
// stays as it was.
TEST_F(BackupsTest, ALinkedProjectFileIsRefused) {
  const std::filesystem::path elsewhere = dir_.path() / "elsewhere.vtp";
  test::writeFile(elsewhere, "elsewhere");
  std::filesystem::create_directories(work());
  std::filesystem::create_symlink(elsewhere, work() / "linked.vtp");
  Ref<AGP> p = makeRef<AGP>();
  try {
    saveProject(*p, workFile("linked.vtp"));
    ADD_FAILURE() << "saved through a link";
  } catch (const AutomationError& e) {
    EXPECT_NE(toUtf8(e.description()).find("is a symbolic link"), std::string::npos)
        << toUtf8(e.description());
  }
  EXPECT_EQ(test::readFile(elsewhere), "elsewhere");
  EXPECT_TRUE(std::filesystem::is_symlink(work() / "linked.vtp"));
  EXPECT_FALSE(std::filesystem::exists(
      std::filesystem::path(
          toUtf8(projectBackupFolder(projectContext().backupFolder, workFile("linked.vtp")))) /
      "linked(1).vtp"));
}

// What saves killed before their renames left, beside the project and among its backups, goes
// with the next save; a temporary whose writer still runs stays.
TEST_F(BackupsTest, ASaveRemovesTheTemporariesOfDeadWriters) {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child);
  Ref<AGP> p = makeRef<AGP>();  // finds the backup folder
  const std::filesystem::path backupFolder = keepCopies(toUtf8(projectContext().backupFolder));
  const std::filesystem::path stale[] = {work() / (".keep.vtp.tmp-" + dead + "-0-1-0"),
                                         backupFolder / (".keep(2).vtp.tmp-" + dead + "-4-2-0")};
  // Process 1 runs as long as the system does.
  const std::filesystem::path live[] = {work() / ".keep.vtp.tmp-1-0-1-0",
                                        backupFolder / ".keep(2).vtp.tmp-1-4-2-0"};
  for (const auto& path : stale) test::writeFile(path, "half");
  for (const auto& path : live) test::writeFile(path, "writing");
  saveProject(*p, workFile("keep.vtp"));
  for (const auto& path : stale) EXPECT_FALSE(std::filesystem::exists(path)) << path;
  for (const auto& path : live) EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

// Project files and their copies hold passwords: a new file, copy or folder is its owner's only,
// a file that has other permissions keeps them, and projects of one name in two folders keep
// copies of their own.
TEST_F(BackupsTest, ProjectFilesAndCopiesArePrivateAndNumberedPerFolder) {
  Ref<AGP> p = makeRef<AGP>();
  const std::u16string backupFolder = projectContext().backupFolder;
  const std::filesystem::path shared = dir_.path() / "shared";
  const struct {
    const char* what;
    std::filesystem::path file;
    std::optional<std::filesystem::perms> existing;  // the file's permissions before the saves
    std::filesystem::perms expected;
  } cases[] = {
      {"a new file", work() / "keep.vtp", std::nullopt, std::filesystem::perms(0600)},
      {"same name in another folder", shared / "keep.vtp", std::nullopt,
       std::filesystem::perms(0600)},
      {"a file readable by its group", shared / "group.vtp", std::filesystem::perms(0640),
       std::filesystem::perms(0640)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::create_directories(c.file.parent_path());
    if (c.existing) {
      test::writeFile(c.file, "old");
      std::filesystem::permissions(c.file, *c.existing);
    }
    const std::u16string file = fromUtf8(c.file.string());
    for (int i = 0; i < 3; ++i) {
      p->setProjName(fromUtf8(c.file.parent_path().filename().string()) + toU16(i));
      saveProject(*p, file);
    }
    EXPECT_EQ(std::filesystem::status(c.file).permissions(), c.expected);
    const std::filesystem::path copies = toUtf8(projectBackupFolder(backupFolder, file));
    EXPECT_EQ(std::filesystem::status(copies).permissions(), std::filesystem::perms::owner_all);
    for (const char* copy : {"(1).vtp", "(2).vtp"}) {
      const std::filesystem::path path = copies / (c.file.stem().string() + copy);
      EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0600)) << path;
    }
  }
  // Each folder's keep.vtp has its own two copies, of its own saves.
  const std::filesystem::path here = keepCopies(toUtf8(backupFolder));
  const std::filesystem::path there =
      toUtf8(projectBackupFolder(backupFolder, fromUtf8((shared / "keep.vtp").string())));
  EXPECT_NE(here, there);
  EXPECT_EQ(here.parent_path(), there.parent_path());
  EXPECT_NE(test::readFile(here / "keep(2).vtp").find("ProjName=\"work0\""), std::string::npos);
  EXPECT_NE(test::readFile(there / "keep(2).vtp").find("ProjName=\"shared0\""), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(here / "keep(3).vtp"));
  EXPECT_FALSE(std::filesystem::exists(there / "keep(3).vtp"));
}

TEST_F(BackupsTest, WorkingFoldersAndCleanUp) {
  Ref<AGP> p = makeRef<AGP>();  // finds the documents folder
  const std::filesystem::path tpl = dir_.path() / "docs" / "Vantorel" / "Templates" / "MyT.zip";
  EXPECT_EQ(InitAppFolders(u"My T.zip", u"Script", false), fromUtf8((tpl / "Script").string()));
  EXPECT_TRUE(std::filesystem::is_directory(tpl / "cache"));
  EXPECT_TRUE(std::filesystem::is_directory(toUtf8(projectContext().reportFolder)));
  EXPECT_EQ(InitAppFolders(u"My T.zip", u"cal", true),
            fromUtf8((tpl / "extensions" / "cal").string()));
  // Stored names never lead out of the working folders.
  EXPECT_EQ(InitAppFolders(u"t.zip", u"../../outside", true), u"");
  EXPECT_EQ(InitAppFolders(u"", u"Script", false), u"");
  EXPECT_TRUE(CheckComponents().ok());

  for (const char* name : {"a.tpl", "B.TPL", "x.y.tpl", "tpl", "a.tpl.bak"})
    test::writeFile(work() / name, "");
  DeleteFilesByExt(fromUtf8(work().string()), u"tpl");
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(work())) {
    left.push_back(e.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a.tpl.bak", "tpl"}));
  EXPECT_THROW(DeleteFilesByExt(fromUtf8((work() / "missing").string()), u"tpl"), AutomationError);
}

}  // namespace
}  // namespace vantorel
