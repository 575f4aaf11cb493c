#pragma once
// Many files replaced atomically and durably without waiting on the disk for each: every file
// goes to a temporary file beside its target, made by a background thread while the caller goes
// on, whose writing to disk starts at once; commit() makes all temporaries durable together (one
// flush of each file system they are on, or one flush a file where that fails), then renames
// each over its target and flushes each folder once. An interruption at any point leaves every
// target either as it was or complete with its new bytes; temporaries left by a killed writer are
// removed by the next writer of the folder (removeStaleTemporaries).
#include <sys/types.h>

#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/background_writer.hpp"

namespace vantorel::fs {

class DeferredWrites {
 public:
  DeferredWrites() = default;
  // Commits what is pending; failures are dropped (the targets keep their old bytes).
  ~DeferredWrites();
  DeferredWrites(const DeferredWrites&) = delete;
  DeferredWrites& operator=(const DeferredWrites&) = delete;

  struct Failure {
    std::u16string path;
    std::string reason;
    std::string description;
  };
  // Hands the bytes to the background thread, which writes the target's temporary file; the
  // target itself changes at commit(), which also names a target whose temporary could not be
  // written (the target stays). Many pending files are committed on the way, so that
  // temporaries never pile up. linkFreeRoot and newFileMode as for writeFileAtomic.
  void write(std::u16string_view path, std::string bytes, std::u16string_view linkFreeRoot = {},
             std::optional<unsigned> newFileMode = std::nullopt);
  // The same with the bytes made on the background thread by makeBytes, which must own what it
  // reads; sizeHint stands for their size until then.
  void write(std::u16string_view path, std::function<std::string()> makeBytes, std::size_t sizeHint,
             std::u16string_view linkFreeRoot = {},
             std::optional<unsigned> newFileMode = std::nullopt);
  // Whether the target has bytes waiting to replace it.
  bool pending(std::u16string_view path) const;
  // Whether files of the batch go into the folder: until commit(), its entries change by their
  // temporaries, which no other writer needs to know of.
  bool writesInto(const std::filesystem::path& folder) const;
  // Makes the pending files durable and puts them in place, in the order they were written;
  // the targets that could not be replaced (they keep their old bytes).
  std::vector<Failure> commit();
  // Pending files committed on the way once there are this many, or this many bytes.
  static constexpr std::size_t kMaxPendingFiles = 4096;
  static constexpr std::size_t kMaxPendingBytes = std::size_t{256} << 20;

 private:
  // Set by the calling thread; `temp`, `target`, `covered` and `failure` by the background
  // thread, and read only after it has run the file's task.
  struct Pending {
    std::u16string display;
    std::u16string linkFreeRoot;
    std::optional<unsigned> newFileMode;
    std::filesystem::path requested;
    std::filesystem::path temp;
    std::filesystem::path target;  // the requested one, resolved through a symbolic link
    bool covered = false;          // by the flush of its folder's file system
    std::optional<Failure> failure;
  };
  // A folder the pending files go to, opened at the first file written into it: the flush of
  // its file system through this descriptor reports every write error since then.
  struct Folder {
    std::filesystem::path path;
    int fd = -1;
    dev_t device = 0;
  };
  // The folder's entry, opened when it is new to the batch.
  const Folder& noteFolder(const std::filesystem::path& folder);
  // Whether the covered pending files are durable after one flush of each file system; false
  // sends the commit back to a flush a file, which also names the files that failed.
  bool syncFileSystems() const;
  void closeFolders() noexcept;

  // Writes the temporary file of p, on the background thread.
  static void writeTemporary(Pending& p, const std::function<std::string()>& makeBytes,
                             bool folderOpen);

  std::deque<Pending> pending_;  // a deque: the background thread holds on to its entries
  std::vector<Folder> folders_;
  std::size_t pendingBytes_ = 0;
  std::vector<Failure> early_;  // from commits on the way, until the next commit() call
  BackgroundWriter writer_;     // last: its thread ends before the entries it writes go
};

}  // namespace vantorel::fs
