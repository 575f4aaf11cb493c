// What writers killed mid-write leave behind, and the folder locks that keep two runs apart.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fs/file_lock.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "support/temp_home.hpp"

namespace vantorel::fs {
namespace {

namespace fsys = std::filesystem;

// The pid of a process that has ended (and been reaped).
pid_t endedPid() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return child;
}

void touch(const fsys::path& path) {
  fsys::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

TEST(StaleTemporaries, OnlyThoseOfEndedWritersGo) {
  test::TempDir dir;
  const std::string dead = std::to_string(endedPid());
  const std::string alive = std::to_string(getppid());
  const std::string self = std::to_string(getpid());
  struct Case {
    std::string name;
    bool removed;
  } cases[] = {
      {".page.asp.tmp-" + dead + "-0-123456-0", true},
      {".registry.reg.tmp-" + dead + "-17-9-3", true},
      {".page.asp.tmp-" + alive + "-0-1-0", false},   // its writer still runs
      {".page.asp.tmp-" + self + "-0-1-0", false},    // this process is writing it
      {"page.asp.tmp-" + dead + "-0-1-0", false},     // not hidden: not ours
      {".page.asp.tmp-" + dead + "-0-1", false},      // a part short
      {".page.asp.tmp-" + dead + "-0-1-0-5", false},  // a part too many
      {".page.asp.tmp-x" + dead + "-0-1-0", false},
      {".tmp-" + dead + "-0-1-0", false},  // no name before the suffix
      {"default.asp", false},
  };
  for (const Case& c : cases) touch(dir.path() / "site" / "sub" / c.name);
  for (const Case& c : cases) touch(dir.path() / "site" / c.name);

  // Without recursion only the folder itself is cleared.
  const std::size_t top = removeStaleTemporaries(fromNative(dir.path() / "site"), false);
  EXPECT_EQ(top, 2u);
  for (const Case& c : cases) {
    EXPECT_EQ(fsys::exists(dir.path() / "site" / c.name), !c.removed) << c.name;
    EXPECT_TRUE(fsys::exists(dir.path() / "site" / "sub" / c.name)) << c.name;
  }
  EXPECT_EQ(removeStaleTemporaries(fromNative(dir.path() / "site"), true), 2u);
  for (const Case& c : cases) {
    EXPECT_EQ(fsys::exists(dir.path() / "site" / "sub" / c.name), !c.removed) << c.name;
  }
  EXPECT_EQ(removeStaleTemporaries(fromNative(dir.path() / "missing"), true), 0u);
}

TEST(FolderLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  test::TempDir dir;
  const std::u16string folder = fromNative(dir.path());
  {
    std::optional<FolderLock> first = FolderLock::acquire(folder, false);
    ASSERT_TRUE(first);
    EXPECT_FALSE(FolderLock::acquire(folder, false));
    // Another process is refused as well.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(FolderLock::acquire(folder, false) ? 1 : 0);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Moving the lock keeps it held.
    std::optional<FolderLock> moved = std::move(first);
    EXPECT_FALSE(FolderLock::acquire(folder, false));
  }
  EXPECT_TRUE(FolderLock::acquire(folder, false));
  EXPECT_TRUE(FolderLock::acquire(folder, true));
  // Nothing was added to the folder.
  EXPECT_TRUE(fsys::is_empty(dir.path()));
  EXPECT_THROW(FolderLock::acquire(fromNative(dir.path() / "missing"), false), FileError);
}

}  // namespace
}  // namespace vantorel::fs
