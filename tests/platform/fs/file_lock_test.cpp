#include "platform/fs/file_lock.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "support/temp_home.hpp"

namespace vantorel::fs {
namespace {

TEST(FileLock, CreatesTheLockFileAndItsFolder) {
  test::TempDir dir;
  const auto path = fromNative(dir.path() / "store" / "registry.lock");
  { FileLock lock(path); }
  EXPECT_TRUE(fileExists(path));
  { FileLock again(path); }  // released on scope exit, so it can be taken again
}

TEST(FileLock, SecondHolderWaitsForTheFirst) {
  test::TempDir dir;
  const auto path = fromNative(dir.path() / "x.lock");
  std::atomic<bool> secondHasIt{false};
  std::thread second;
  {
    FileLock first(path);
    second = std::thread([&] {
      FileLock lock(path);
      secondHasIt = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(secondHasIt);
  }
  second.join();
  EXPECT_TRUE(secondHasIt);
}

TEST(FileLock, ExcludesAnotherProcess) {
  test::TempDir dir;
  const auto path = fromNative(dir.path() / "x.lock");
  FileLock held(path);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int fd = ::open(toNative(path).c_str(), O_RDWR);
    _exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(FileLock, UnusableLockPathThrows) {
  test::TempDir dir;
  writeFileAtomic(fromNative(dir.path() / "plain"), "x");
  EXPECT_THROW(FileLock(fromNative(dir.path() / "plain" / "x.lock")), FileError);
}

}  // namespace
}  // namespace vantorel::fs
