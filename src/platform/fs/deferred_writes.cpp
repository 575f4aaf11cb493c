#include "platform/fs/deferred_writes.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
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

const DeferredWrites::Folder& DeferredWrites::noteFolder(const std::filesystem::path& folder) {
  for (const Folder& f : folders_) {
    if (f.path == folder) return f;
  }
  Folder entry{folder, -1, 0};
  entry.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat st {};
  if (entry.fd >= 0 && ::fstat(entry.fd, &st) == 0) entry.device = st.st_dev;
  folders_.push_back(std::move(entry));
  return folders_.back();
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

void DeferredWrites::writeTemporary(Pending& p, const std::function<std::string()>& makeBytes,
                                    bool folderOpen) {
  p.target = p.requested;
  try {
    const std::string bytes = makeBytes();
    p.temp = prepareTemporary(
        p.display, p.target,
        [&bytes](int fd) {
          if (!writeAll(fd, bytes.data(), bytes.size())) return errno;
          // The disk starts on it now; commit() then mostly finds it written.
          ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
          return 0;
        },
        p.newFileMode ? std::optional<mode_t>(*p.newFileMode) : std::nullopt, true, false,
        p.linkFreeRoot);
  } catch (const FileError& e) {
    p.failure = Failure{p.display, e.reason(), e.what()};
    return;
  } catch (const std::exception& e) {
    p.failure = Failure{p.display, e.what(), "cannot write " + toUtf8(p.display) + ": " + e.what()};
    return;
  } catch (...) {
    p.failure = Failure{p.display, "unknown error", "cannot write " + toUtf8(p.display)};
    return;
  }
  // A target reached through a symbolic link may lie on another file system than the folder
  // noted; such a file is flushed on its own.
  const std::filesystem::path folder =
      p.requested.parent_path().empty() ? std::filesystem::path(".") : p.requested.parent_path();
  p.covered = folderOpen && p.temp.parent_path() == folder;
}

void DeferredWrites::write(std::u16string_view path, std::string bytes,
                           std::u16string_view linkFreeRoot, std::optional<unsigned> newFileMode) {
  const std::size_t size = bytes.size();
  write(
      path, [bytes = std::move(bytes)]() mutable { return std::move(bytes); }, size, linkFreeRoot,
      newFileMode);
}

void DeferredWrites::write(std::u16string_view path, std::function<std::string()> makeBytes,
                           std::size_t sizeHint, std::u16string_view linkFreeRoot,
                           std::optional<unsigned> newFileMode) {
  std::filesystem::path target = toNative(path);
  // Before the write, so that the flush at the commit reports what goes wrong with it.
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  const bool folderOpen = noteFolder(folder).fd >= 0;
  Pending& entry = pending_.emplace_back();
  entry.display = std::u16string(path);
  entry.linkFreeRoot = std::u16string(linkFreeRoot);
  entry.newFileMode = newFileMode;
  entry.requested = std::move(target);
  try {
    writer_.post([&entry, makeBytes = std::move(makeBytes), folderOpen] {
      writeTemporary(entry, makeBytes, folderOpen);
    });
  } catch (...) {
    pending_.pop_back();  // nothing will write it
    throw;
  }
  pendingBytes_ += sizeHint;
  if (pending_.size() >= kMaxPendingFiles || pendingBytes_ >= kMaxPendingBytes) {
    early_ = commit();
  }
}

bool DeferredWrites::pending(std::u16string_view path) const {
  const std::filesystem::path target = toNative(path);
  for (const Pending& p : pending_) {
    if (p.requested == target || p.display == path) return true;
  }
  return false;
}

bool DeferredWrites::writesInto(const std::filesystem::path& folder) const {
  return std::any_of(folders_.begin(), folders_.end(),
                     [&](const Folder& f) { return f.path == folder; });
}

std::vector<DeferredWrites::Failure> DeferredWrites::commit() {
  std::vector<Failure> failures;
  failures.swap(early_);
  if (pending_.empty()) {
    closeFolders();
    return failures;
  }
  writer_.wait();
  std::deque<Pending> batch;
  batch.swap(pending_);
  pendingBytes_ = 0;
  // First every temporary on disk: a target is only replaced by bytes that are durable. The
  // writes were started when each file was written; one flush of each file system then writes
  // what is left (the new files' inodes among it) together, where a flush a file would wait on
  // the disk once a file. When that flush reports an error, each file is flushed on its own,
  // and a file that cannot be is not put in place.
  std::set<std::filesystem::path> folders;
  std::deque<Pending> durable;
  const bool allSynced = syncFileSystems();
  for (Pending& p : batch) {
    if (p.failure) {
      failures.push_back(std::move(*p.failure));
    } else if ((allSynced && p.covered) || syncFile(p.temp)) {
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
