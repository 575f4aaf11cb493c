#pragma once
// An exclusive advisory lock on a lock file beside a store, held for one scope,
// so that two processes never interleave a read-modify-write of the same file.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantorel::fs {

class FileLock {
 public:
  explicit FileLock(std::u16string_view lockPath);  // blocks until the lock is held; throws FileError
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};

// An exclusive advisory lock on a folder itself, so that nothing is added to the folder: two
// generations never write one site, nor fill one template cache, at the same time. Released when
// the object goes, or when the process ends however it ends.
class FolderLock {
 public:
  // With wait, blocks until the lock is held; without, nothing when another holder has it.
  // Throws FileError when the folder cannot be opened or locked.
  static std::optional<FolderLock> acquire(std::u16string_view folder, bool wait);
  ~FolderLock();
  FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  explicit FolderLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// An exclusive advisory lock on a lock file that exists only while it is held: for a lock beside
// a user's own file, which should leave nothing behind. A holder that dies releases it at once
// and leaves the file, which the next holder takes over and removes.
class TransientFileLock {
 public:
  // Nothing when another holder has it. Throws FileError when the lock file cannot be made.
  static std::optional<TransientFileLock> tryAcquire(std::u16string_view lockPath);
  ~TransientFileLock();
  TransientFileLock(TransientFileLock&& other) noexcept;
  TransientFileLock& operator=(TransientFileLock&& other) noexcept;
  TransientFileLock(const TransientFileLock&) = delete;
  TransientFileLock& operator=(const TransientFileLock&) = delete;

 private:
  TransientFileLock(int fd, std::string nativePath) : fd_(fd), nativePath_(std::move(nativePath)) {}
  void release() noexcept;
  int fd_ = -1;
  std::string nativePath_;
};

}  // namespace vantorel::fs
