#include "platform/fs/files.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"

namespace vantorel::fs {
namespace {

std::u16string inside(const test::TempDir& dir, std::u16string_view name) {
  return joinPath(fromNative(dir.path()), name);
}

TEST(Files, WritesReadsAndReplaces) {
  test::TempDir dir;
  const auto path = inside(dir, u"caf\u00E9.txt");
  EXPECT_FALSE(readFile(path));
  writeFileAtomic(path, std::string("one\0two", 7));
  EXPECT_EQ(readFile(path), std::string("one\0two", 7));
  writeFileAtomic(path, "");
  EXPECT_EQ(readFile(path), "");
  EXPECT_EQ(listFiles(fromNative(dir.path())), std::vector<std::u16string>{u"caf\u00E9.txt"});

  // A name at the file system's limit still leaves room for the temporary name.
  const std::u16string longName = std::u16string(251, u'n') + u".reg";
  writeFileAtomic(inside(dir, longName), "long");
  EXPECT_EQ(readFile(inside(dir, longName)), "long");
}

// The stamp tells versions of a file apart, and is missing where fileExists is false.
TEST(Files, StampsChangeWithEveryVersion) {
  test::TempDir dir;
  const auto file = inside(dir, u"a.txt");
  EXPECT_FALSE(fileStamp(file));
  EXPECT_FALSE(fileStamp(fromNative(dir.path())));
  writeFileAtomic(file, "one");
  const std::optional<FileStamp> first = fileStamp(file);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 3u);
  EXPECT_EQ(fileStamp(file), first);
  writeFileAtomic(file, "two");  // same size, a new file in its place
  const std::optional<FileStamp> second = fileStamp(file);
  ASSERT_TRUE(second);
  EXPECT_NE(*second, *first);
  appendFile(file, "!");  // the same file grown in place
  EXPECT_NE(fileStamp(file), second);
  EXPECT_TRUE(createFolders(inside(dir, u"x/y")));
  EXPECT_TRUE(createFolders(inside(dir, u"x/y")));
  EXPECT_FALSE(fileStamp(inside(dir, u"x/y")));
}

TEST(Files, ReplacingKeepsPermissionsAndSymbolicLinks) {
  test::TempDir dir;
  const auto real = dir.path() / "real.reg";
  writeFileAtomic(fromNative(real), "old");
  ::chmod(real.c_str(), 0640);
  std::filesystem::create_symlink(real, dir.path() / "link.reg");
  writeFileAtomic(fromNative(dir.path() / "link.reg"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.reg"));
  EXPECT_EQ(readFile(fromNative(real)), "new");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// A failed write throws with the path, leaves the target as it was and leaves no temporary file.
TEST(Files, FailedWriteLeavesTheTargetAlone) {
  test::TempDir dir;
  const auto folder = fromNative(dir.path());
  const auto existing = inside(dir, u"settings.reg");
  writeFileAtomic(existing, "precious");
  ASSERT_TRUE(createFolders(inside(dir, u"sub/inner")));

  const struct {
    std::u16string target;
    std::u16string_view survivor;  // a file that must keep its bytes
  } cases[] = {
      {inside(dir, u"sub"), u"settings.reg"},                 // the target is a folder
      {inside(dir, u"missing/x.reg"), u"settings.reg"},       // the folder does not exist
      {inside(dir, u"settings.reg/child"), u"settings.reg"},  // a file used as a folder
  };
  for (const auto& c : cases) {
    try {
      writeFileAtomic(c.target, "new bytes");
      ADD_FAILURE() << "no error for " << toUtf8(c.target);
    } catch (const FileError& e) {
      EXPECT_NE(std::string(e.what()).find(toUtf8(c.target)), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(joinPath(folder, c.survivor)), "precious");
  }
  EXPECT_TRUE(folderExists(inside(dir, u"sub/inner")));
  EXPECT_EQ(listFiles(folder), std::vector<std::u16string>{u"settings.reg"});
}

// The write itself fails part-way (the file-size limit stops it): the old file survives.
TEST(Files, WriteFailingMidwayLeavesTheOldFile) {
  test::TempDir dir;
  const auto path = inside(dir, u"store.reg");
  writeFileAtomic(path, "old contents");

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  try {
    writeFileAtomic(path, std::string(100000, 'x'));
  } catch (const FileError& e) {
    threw = true;
    EXPECT_NE(std::string(e.what()).find("store.reg"), std::string::npos);
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_TRUE(threw);
  EXPECT_EQ(readFile(path), "old contents");
  EXPECT_EQ(listFiles(fromNative(dir.path())), std::vector<std::u16string>{u"store.reg"});
}

TEST(Files, CopiesRenamesDeletesAndLists) {
  test::TempDir dir;
  const auto a = inside(dir, u"a.txt");
  const auto b = inside(dir, u"b.txt");
  writeFileAtomic(a, "alpha");
  copyFile(a, b, false);
  EXPECT_EQ(readFile(b), "alpha");
  writeFileAtomic(a, "changed");
  EXPECT_THROW(copyFile(a, b, false), FileError);
  EXPECT_EQ(readFile(b), "alpha");
  copyFile(a, b, true);
  EXPECT_EQ(readFile(b), "changed");
  EXPECT_THROW(copyFile(inside(dir, u"none.txt"), b, true), FileError);
  EXPECT_EQ(readFile(b), "changed");

  renamePath(b, inside(dir, u"c.txt"));
  EXPECT_FALSE(fileExists(b));
  EXPECT_THROW(renamePath(b, a), FileError);

  ASSERT_TRUE(createFolders(inside(dir, u"z\\nested")));
  EXPECT_TRUE(folderExists(inside(dir, u"z")));
  EXPECT_FALSE(fileExists(inside(dir, u"z")));
  EXPECT_EQ(listFiles(fromNative(dir.path())), (std::vector<std::u16string>{u"a.txt", u"c.txt"}));
  EXPECT_EQ(listFolders(fromNative(dir.path())), std::vector<std::u16string>{u"z"});
  EXPECT_TRUE(listFiles(inside(dir, u"absent")).empty());

  EXPECT_EQ(fileSize(a), 7u);
  EXPECT_FALSE(fileSize(inside(dir, u"z")));
  EXPECT_TRUE(modifiedTime(a));
  EXPECT_FALSE(modifiedTime(inside(dir, u"absent")));

  EXPECT_TRUE(deleteFile(a));
  EXPECT_TRUE(deleteFile(a));  // already gone
  EXPECT_FALSE(deleteFile(inside(dir, u"z")));
  EXPECT_TRUE(folderExists(inside(dir, u"z")));
}

TEST(Files, CopiesAFolderFileByFile) {
  test::TempDir dir;
  ASSERT_TRUE(createFolders(inside(dir, u"from\\sub\\empty")));
  ASSERT_TRUE(createFolders(inside(dir, u"to")));
  writeFileAtomic(inside(dir, u"from\\a.txt"), "alpha");
  writeFileAtomic(inside(dir, u"from\\sub\\b.txt"), "beta");
  writeFileAtomic(inside(dir, u"to\\a.txt"), "old");
  writeFileAtomic(inside(dir, u"to\\own.txt"), "kept");
  copyFolder(inside(dir, u"from"), inside(dir, u"to"));
  EXPECT_EQ(readFile(inside(dir, u"to\\a.txt")), "alpha");
  EXPECT_EQ(readFile(inside(dir, u"to\\sub\\b.txt")), "beta");
  EXPECT_TRUE(folderExists(inside(dir, u"to\\sub\\empty")));
  EXPECT_EQ(readFile(inside(dir, u"to\\own.txt")), "kept");
  EXPECT_THROW(copyFolder(inside(dir, u"absent"), inside(dir, u"made")), FileError);
  EXPECT_FALSE(folderExists(inside(dir, u"made")));
  // A link back up the tree ends the copy with an error instead of descending for ever.
  std::filesystem::create_directory_symlink(dir.path() / "from",
                                            dir.path() / "from" / "sub" / "up");
  EXPECT_THROW(copyFolder(inside(dir, u"from"), inside(dir, u"looped")), FileError);
  std::filesystem::remove(dir.path() / "from" / "sub" / "up");
  // A pipe would block the copy for ever; it is refused and what was copied before stays whole.
  ASSERT_EQ(::mkfifo((dir.path() / "from" / "sub" / "pipe").c_str(), 0600), 0);
  EXPECT_THROW(copyFolder(inside(dir, u"from"), inside(dir, u"again")), FileError);
  EXPECT_EQ(readFile(inside(dir, u"again\\a.txt")), "alpha");
}

TEST(Files, ReadingAFolderGivesNothing) {
  test::TempDir dir;
  EXPECT_FALSE(readFile(fromNative(dir.path())));
}

}  // namespace
}  // namespace vantorel::fs
