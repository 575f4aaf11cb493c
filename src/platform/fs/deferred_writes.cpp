#include "platform/fs/deferred_writes.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
}

void DeferredWrites::write(std::u16string_view path, std::string_view bytes) {
  std::filesystem::path target = toNative(path);
  const std::filesystem::path temp = prepareTemporary(
      path, target,
      [bytes](int fd) {
        if (!writeAll(fd, bytes.data(), bytes.size())) return errno;
        // The disk starts on it now; commit() then mostly finds it written.
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        return 0;
      },
      std::nullopt, true, false);
  pending_.push_back({std::u16string(path), temp, target});
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
  if (pending_.empty()) return failures;
  std::vector<Pending> batch;
  batch.swap(pending_);
  pendingBytes_ = 0;
  // First every temporary on disk: a target is only replaced by bytes that are durable. The
  // writes were started when each file was written, and the file system's journal takes many
  // files in one commit, so this pass waits on the disk a few times, not once a file. A file
  // that cannot be flushed is not put in place.
  std::set<std::filesystem::path> folders;
  std::vector<Pending> durable;
  for (Pending& p : batch) {
    if (syncFile(p.temp)) {
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
  return failures;
}

}  // namespace vantorel::fs
