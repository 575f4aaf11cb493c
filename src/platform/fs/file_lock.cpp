#include "platform/fs/file_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::fs {

namespace {

[[noreturn]] void fail(std::u16string_view path, int error) {
  throw FileError("cannot lock " + toUtf8(path) + ": " + std::strerror(error));
}

}  // namespace

FileLock::FileLock(std::u16string_view lockPath) {
  // The store's folder may not exist before its first write; the lock comes first.
  const std::u16string parent = parentFolder(lockPath);
  if (!parent.empty()) createFolders(parent);
  const auto native = toNative(lockPath);
  do {
    fd_ = ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) fail(lockPath, errno);
  int r;
  do {
    r = ::flock(fd_, LOCK_EX);
  } while (r != 0 && errno == EINTR);
  if (r != 0) {
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    fail(lockPath, error);
  }
}

// The lock file stays: removing it would let a waiter lock a file that a newcomer no longer sees.
FileLock::~FileLock() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

std::optional<FolderLock> FolderLock::acquire(std::u16string_view folder, bool wait) {
  const auto native = toNative(folder);
  int fd;
  do {
    fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) fail(folder, errno);
  int r;
  do {
    r = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
  } while (r != 0 && errno == EINTR);
  if (r != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return std::nullopt;
    fail(folder, error);
  }
  return FolderLock(fd);
}

FolderLock::~FolderLock() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    FolderLock old(std::move(*this));
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

std::optional<TransientFileLock> TransientFileLock::tryAcquire(std::u16string_view lockPath) {
  const std::string native = toNative(lockPath).string();
  for (;;) {
    int fd;
    do {
      fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) fail(lockPath, errno);
    int r;
    do {
      r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    if (r != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) return std::nullopt;
      fail(lockPath, error);
    }
    // A holder that let go between our open and our lock removed the file we hold: the lock
    // that counts is on the file the name leads to now.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) == 0 && ::stat(native.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      return TransientFileLock(fd, native);
    }
    ::close(fd);
  }
}

// The file goes while it is still locked, so that no one locks a file that is about to vanish.
void TransientFileLock::release() noexcept {
  if (fd_ < 0) return;
  ::unlink(nativePath_.c_str());
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

TransientFileLock::~TransientFileLock() {
  release();
}

TransientFileLock::TransientFileLock(TransientFileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), nativePath_(std::move(other.nativePath_)) {}

TransientFileLock& TransientFileLock::operator=(TransientFileLock&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = std::exchange(other.fd_, -1);
    nativePath_ = std::move(other.nativePath_);
  }
  return *this;
}

}  // namespace vantorel::fs
