#pragma once
// Many files replaced atomically and durably without waiting on the disk for each: every file
// goes to a temporary file beside its target, whose writing to disk starts at once; commit()
// makes all temporaries durable together (one flush of each file system they are on, or one
// flush a file where that fails), then renames each over its target and flushes each folder
// once. An interruption at any point leaves every target either as it was or
// complete with its new bytes; temporaries left by a killed writer are removed by the next
// writer of the folder (removeStaleTemporaries).
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel::fs {

class DeferredWrites {
 public:
  DeferredWrites() = default;
  // Commits what is pending; failures are dropped (the targets keep their old bytes).
  ~DeferredWrites();
  DeferredWrites(const DeferredWrites&) = delete;
  DeferredWrites& operator=(const DeferredWrites&) = delete;

  // Writes the temporary file of the target; the target itself changes at commit(). Throws
  // FileError naming the path and the reason when it cannot be written (the target stays).
  // Many pending files are committed on the way, so that temporaries never pile up.
  void write(std::u16string_view path, std::string_view bytes);
  // Whether the target has bytes waiting to replace it.
  bool pending(std::u16string_view path) const;
  struct Failure {
    std::u16string path;
    std::string reason;
    std::string description;
  };
  // Makes the pending files durable and puts them in place, in the order they were written;
  // the targets that could not be replaced (they keep their old bytes).
  std::vector<Failure> commit();
  // Pending files committed on the way once there are this many, or this many bytes.
  static constexpr std::size_t kMaxPendingFiles = 4096;
  static constexpr std::size_t kMaxPendingBytes = std::size_t{256} << 20;

 private:
  struct Pending {
    std::u16string display;
    std::filesystem::path temp;
    std::filesystem::path target;
    bool covered = false;  // by the flush of its folder's file system
  };
  // A folder the pending files go to, opened at the first file written into it: the flush of
  // its file system through this descriptor reports every write error since then.
  struct Folder {
    std::filesystem::path path;
    int fd = -1;
    dev_t device = 0;
  };
  // Whether the folder was new to the batch.
  bool noteFolder(const std::filesystem::path& folder);
  // Whether the covered pending files are durable after one flush of each file system; false
  // sends the commit back to a flush a file, which also names the files that failed.
  bool syncFileSystems() const;
  void closeFolders() noexcept;

  std::vector<Pending> pending_;
  std::vector<Folder> folders_;
  std::size_t pendingBytes_ = 0;
  std::vector<Failure> early_;  // from commits on the way, until the next commit() call
};

}  // namespace vantorel::fs
