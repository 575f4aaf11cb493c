// Files replaced together: nothing changes before the commit, everything after it, the last
// write of a target wins, a target that cannot be replaced is named and keeps its bytes, and a
// writer killed at any point leaves each target old or new.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

#include "platform/fs/deferred_writes.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::fs {
namespace {

namespace fsys = std::filesystem;

std::u16string u16(const fsys::path& path) {
  return fromUtf8(path.string());
}

std::size_t temporaries(const fsys::path& folder) {
  std::size_t n = 0;
  for (const auto& entry : fsys::recursive_directory_iterator(folder)) {
    n += entry.path().filename().string().find(".tmp-") != std::string::npos ? 1 : 0;
  }
  return n;
}

TEST(DeferredWrites, TargetsChangeAtTheCommit) {
  test::TempDir dir;
  const fsys::path a = dir.path() / "a.txt";
  const fsys::path b = dir.path() / "sub" / "b.txt";
  fsys::create_directories(b.parent_path());
  writeFileAtomic(u16(a), "old a");
  ::chmod(a.c_str(), 0640);
  DeferredWrites writes;
  writes.write(u16(a), "new a");
  writes.write(u16(b), "first b");
  writes.write(u16(b), "last b");
  EXPECT_TRUE(writes.pending(u16(b)));
  EXPECT_EQ(test::readFile(a), "old a");
  EXPECT_FALSE(fsys::exists(b));
  EXPECT_TRUE(writes.commit().empty());
  EXPECT_FALSE(writes.pending(u16(b)));
  EXPECT_EQ(test::readFile(a), "new a");
  EXPECT_EQ(test::readFile(b), "last b");
  EXPECT_EQ(fsys::status(a).permissions() & fsys::perms::all,
            fsys::perms::owner_read | fsys::perms::owner_write | fsys::perms::group_read);
  EXPECT_EQ(temporaries(dir.path()), 0u);
}

TEST(DeferredWrites, AFailedTargetIsNamedAndTheOthersArePlaced) {
  test::TempDir dir;
  const fsys::path gone = dir.path() / "gone" / "x.txt";
  const fsys::path kept = dir.path() / "kept.txt";
  fsys::create_directories(gone.parent_path());
  DeferredWrites writes;
  writes.write(u16(dir.path() / "missing" / "y.txt"), "y");
  writes.write(u16(gone), "x");
  writes.write(u16(kept), "k");
  // The folder is replaced by a file of the same name before the commit. The writer's thread
  // may be making the temporary in it meanwhile, so it is removed until it is gone.
  std::error_code busy;
  do {
    fsys::remove_all(gone.parent_path(), busy);
  } while (busy);
  std::ofstream(gone.parent_path()) << "file";
  const std::vector<DeferredWrites::Failure> failures = writes.commit();
  // In the order written: the one whose folder was missing, then the one whose folder went.
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].path, u16(dir.path() / "missing" / "y.txt"));
  EXPECT_EQ(failures[1].path, u16(gone));
  for (const DeferredWrites::Failure& f : failures) EXPECT_FALSE(f.reason.empty());
  EXPECT_EQ(test::readFile(kept), "k");
  EXPECT_EQ(temporaries(dir.path()), 0u);
}

// Targets in several folders, one reached through a symbolic link into a folder nothing else
// is written to, and a second batch after a commit: each is placed, the link is kept, and no
// temporary is left.
TEST(DeferredWrites, TargetsInManyFoldersAndBehindLinksArePlaced) {
  test::TempDir dir;
  const fsys::path elsewhere = dir.path() / "elsewhere" / "real.txt";
  const fsys::path link = dir.path() / "one" / "link.txt";
  fsys::create_directories(elsewhere.parent_path());
  fsys::create_directories(link.parent_path());
  fsys::create_directories(dir.path() / "two" / "three");
  writeFileAtomic(u16(elsewhere), "old real");
  fsys::create_symlink(elsewhere, link);
  const struct {
    fsys::path target;
    const char* bytes;
  } files[] = {{dir.path() / "one" / "a.txt", "a"},
               {link, "new real"},
               {dir.path() / "two" / "b.txt", "b"},
               {dir.path() / "two" / "three" / "c.txt", "c"},
               {dir.path() / "top.txt", "top"}};
  DeferredWrites writes;
  for (int batch = 0; batch < 2; ++batch) {
    for (const auto& f : files) writes.write(u16(f.target), f.bytes + std::to_string(batch));
    EXPECT_TRUE(writes.commit().empty());
    for (const auto& f : files)
      EXPECT_EQ(test::readFile(f.target), f.bytes + std::to_string(batch));
    EXPECT_TRUE(fsys::is_symlink(link));
    EXPECT_EQ(test::readFile(elsewhere), "new real" + std::to_string(batch));
    EXPECT_EQ(temporaries(dir.path()), 0u);
  }
}

// Bytes made on the writer's thread: each target gets its own, and a maker that fails is that
// target's failure alone.
TEST(DeferredWrites, BytesMadeOnTheWritersThread) {
  test::TempDir dir;
  const fsys::path a = dir.path() / "a.txt";
  const fsys::path b = dir.path() / "b.txt";
  writeFileAtomic(u16(b), "old b");
  DeferredWrites writes;
  writes.write(
      u16(a), [] { return std::string("made a"); }, 6);
  writes.write(
      u16(b), []() -> std::string { throw std::runtime_error("no bytes"); }, 0);
  const std::vector<DeferredWrites::Failure> failures = writes.commit();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].path, u16(b));
  EXPECT_EQ(failures[0].reason, "no bytes");
  EXPECT_EQ(test::readFile(a), "made a");
  EXPECT_EQ(test::readFile(b), "old b");
  EXPECT_EQ(temporaries(dir.path()), 0u);
}

TEST(DeferredWrites, TheDestructorCommits) {
  test::TempDir dir;
  const fsys::path a = dir.path() / "a.txt";
  {
    DeferredWrites writes;
    writes.write(u16(a), "a");
  }
  EXPECT_EQ(test::readFile(a), "a");
}

// A child replaces 200 files and is killed after a random time: each file must be old or new,
// and the next writer's clean-up removes the temporaries it left.
TEST(DeferredWrites, AKilledWriterLeavesEachFileOldOrNew) {
  test::TempDir dir;
  const fsys::path folder = dir.path() / "out";
  fsys::create_directories(folder);
  const auto name = [&](int i) { return u16(folder / ("f" + std::to_string(i) + ".txt")); };
  const auto bytes = [](int i, const char* generation) {
    return generation + std::string(static_cast<std::size_t>(100 + i * 37), 'x');
  };
  const auto writeAll = [&](const char* generation) {
    DeferredWrites writes;
    for (int i = 0; i < 200; ++i) writes.write(name(i), bytes(i, generation));
    return writes.commit().empty();
  };
  std::mt19937 random(77);
  int mixed = 0;
  for (int round = 0; round < 12; ++round) {
    ASSERT_TRUE(writeAll("old"));
    const pid_t child = fork();
    if (child == 0) _exit(writeAll("new") ? 0 : 1);
    usleep(static_cast<useconds_t>(random() % 30000));
    ::kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    int fresh = 0;
    for (int i = 0; i < 200; ++i) {
      const std::string now = test::readFile(toNative(name(i)));
      EXPECT_TRUE(now == bytes(i, "old") || now == bytes(i, "new")) << i;
      fresh += now == bytes(i, "new") ? 1 : 0;
    }
    mixed += fresh > 0 && fresh < 200 ? 1 : 0;
    removeStaleTemporaries(u16(folder), false);
    EXPECT_EQ(temporaries(folder), 0u);
  }
  RecordProperty("rounds_killed_while_placing", mixed);
}

}  // namespace
}  // namespace vantorel::fs
