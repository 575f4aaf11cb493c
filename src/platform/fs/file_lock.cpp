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

int openForLock(std::u16string_view path, const char* native, int flags) {
  int fd;
  do {
    fd = ::open(native, flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) fail(path, errno);
  return fd;
}

// False, with fd closed, when a non-blocking lock is held elsewhere; any failure closes fd and
// raises.
bool takeLock(std::u16string_view path, int fd, int operation) {
  int r;
  do {
    r = ::flock(fd, operation);
  } while (r != 0 && errno == EINTR);
  if (r == 0) return true;
  const int error = errno;
  ::close(fd);
  if (error == EWOULDBLOCK && (operation & LOCK_NB) != 0) return false;
  fail(path, error);
}

}  // namespace

FileLock::FileLock(std::u16string_view lockPath) {
  // The store's folder may not exist before its first write; the lock comes first.
  const std::u16string parent = parentFolder(lockPath);
  if (!parent.empty()) createFolders(parent);
  const int fd = openForLock(lockPath, toNative(lockPath).c_str(), O_RDWR | O_CREAT);
  takeLock(lockPath, fd, LOCK_EX);
  fd_ = fd;
}

// The lock file stays: removing it would let a waiter lock a file that a newcomer no longer sees.
FileLock::~FileLock() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

std::optional<FolderLock> FolderLock::acquire(std::u16string_view folder, bool wait) {
  const int fd = openForLock(folder, toNative(folder).c_str(), O_RDONLY | O_DIRECTORY);
  if (!takeLock(folder, fd, LOCK_EX | (wait ? 0 : LOCK_NB))) return std::nullopt;
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
    const int fd = openForLock(lockPath, native.c_str(), O_RDWR | O_CREAT);
    if (!takeLock(lockPath, fd, LOCK_EX | LOCK_NB)) return std::nullopt;
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
