#include "platform/fs/deferred_writes.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <cstring>
#include <set>

#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/fs/temporary_files.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::fs {

namespace {

bool syncFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fdatasync(fd) == 0;
  const int error = errno;
  ::close(fd);
  errno = error;
  return synced;
}

}  // namespace

DeferredWrites::~DeferredWrites() {
  try {
    commit();
  } catch (const std::exception&) {
    // Out of memory while listing failures: the targets are old or new all the same.
  }
  closeFolders();
}

bool DeferredWrites::noteFolder(const std::filesystem::path& folder) {
  for (const Folder& f : folders_) {
    if (f.path == folder) return false;
  }
  Folder entry{folder, -1, 0};
  entry.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat st {};
  if (entry.fd >= 0 && ::fstat(entry.fd, &st) == 0) entry.device = st.st_dev;
  folders_.push_back(std::move(entry));
  return true;
}

bool DeferredWrites::syncFileSystems() const {
  // The first folder opened on a device was opened before any pending file on it was written.
  std::vector<dev_t> synced;
  for (const Folder& f : folders_) {
    if (f.fd < 0) continue;
    if (std::find(synced.begin(), synced.end(), f.device) != synced.end()) continue;
    if (::syncfs(f.fd) != 0) return false;
    synced.push_back(f.device);
  }
  return true;
}

void DeferredWrites::closeFolders() noexcept {
  for (const Folder& f : folders_) {
    if (f.fd >= 0) ::close(f.fd);
  }
  folders_.clear();
}

void DeferredWrites::write(std::u16string_view path, std::string_view bytes) {
  std::filesystem::path target = toNative(path);
  // Before the write, so that the flush at the commit reports what goes wrong with it.
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  const bool newFolder = noteFolder(folder);
  std::filesystem::path temp;
  try {
    temp = prepareTemporary(
      path, target,
      [bytes](int fd) {
        if (!writeAll(fd, bytes.data(), bytes.size())) return errno;
        // The disk starts on it now; commit() then mostly finds it written.
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        return 0;
      },
      std::nullopt, true, false);
  } catch (const FileError&) {
    // A folder nothing waits in does not take part in the commit.
    if (newFolder) {
      if (folders_.back().fd >= 0) ::close(folders_.back().fd);
      folders_.pop_back();
    }
    throw;
  }
  // A target reached through a symbolic link may lie on another file system than the folder
  // noted; such a file is flushed on its own.
  const Folder& noted = *std::find_if(folders_.begin(), folders_.end(),
                                      [&](const Folder& f) { return f.path == folder; });
  const bool covered = noted.fd >= 0 && temp.parent_path() == folder;
  pending_.push_back({std::u16string(path), temp, target, covered});
  pendingBytes_ += bytes.size();
  if (pending_.size() >= kMaxPendingFiles || pendingBytes_ >= kMaxPendingBytes) {
    early_ = commit();
  }
}

bool DeferredWrites::pending(std::u16string_view path) const {
  const std::filesystem::path target = toNative(path);
  for (const Pending& p : pending_) {
    if (p.target == target || p.display == path) return true;
  }
  return false;
}

std::vector<DeferredWrites::Failure> DeferredWrites::commit() {
  std::vector<Failure> failures;
  failures.swap(early_);
  if (pending_.empty()) {
    closeFolders();
    return failures;
  }
  std::vector<Pending> batch;
  batch.swap(pending_);
  pendingBytes_ = 0;
  // First every temporary on disk: a target is only replaced by bytes that are durable. The
  // writes were started when each file was written; one flush of each file system then writes
  // what is left (the new files' inodes among it) together, where a flush a file would wait on
  // the disk once a file. When that flush reports an error, each file is flushed on its own,
  // and a file that cannot be is not put in place.
  std::set<std::filesystem::path> folders;
  std::vector<Pending> durable;
  const bool allSynced = syncFileSystems();
  for (Pending& p : batch) {
    if ((allSynced && p.covered) || syncFile(p.temp)) {
      folders.insert(p.target.parent_path());
      durable.push_back(std::move(p));
    } else {
      const int error = errno;
      ::unlink(p.temp.c_str());
      failures.push_back({p.display, std::strerror(error),
                          "cannot write " + toUtf8(p.display) + ": " + std::strerror(error)});
    }
  }
  batch.swap(durable);
  for (const Pending& p : batch) {
    try {
      placeTemporary(p.display, p.temp, p.target, true);
    } catch (const FileError& e) {
      failures.push_back({p.display, e.reason(), e.what()});
    }
  }
  for (const std::filesystem::path& folder : folders) syncFolder(folder);
  closeFolders();
  return failures;
}

}  // namespace vantorel::fs
