#pragma once
// An exclusive advisory lock on a lock file beside a store, held for one scope,
// so that two processes never interleave a read-modify-write of the same file.
#include <string>
#include <string_view>

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

}  // namespace vantorel::fs
