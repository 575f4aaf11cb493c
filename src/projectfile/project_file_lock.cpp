#include "projectfile/project_file_lock.hpp"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/fs/file_lock.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"

namespace vantorel {

namespace {

// A lock is the process's, as the file lock under it is: the table of those it holds, with how
// many holders each has, is the one piece of process-wide state here.
struct HeldLocks {
  struct Entry {
    fs::TransientFileLock lock;
    int holders = 0;
  };
  std::mutex mutex;
  std::map<std::u16string, Entry> byPath;
};

HeldLocks& heldLocks() {
  static HeldLocks held;
  return held;
}

// One name for the file whatever way it is reached: "p.vtp", "./p.vtp" and a link to it.
std::u16string lockPathOf(std::u16string_view projectFile) {
  std::error_code ec;
  const std::filesystem::path native = fs::toNative(projectFile);
  std::filesystem::path real = std::filesystem::weakly_canonical(native, ec);
  if (ec) real = std::filesystem::absolute(native, ec).lexically_normal();
  return fs::fromNative(real) + u".lock";
}

}  // namespace

std::optional<ProjectFileLock> ProjectFileLock::tryAcquire(std::u16string_view projectFile) {
  if (projectFile.empty()) return ProjectFileLock(std::u16string());
  std::u16string lockPath = lockPathOf(projectFile);
  HeldLocks& held = heldLocks();
  std::lock_guard guard(held.mutex);
  if (auto it = held.byPath.find(lockPath); it != held.byPath.end()) {
    ++it->second.holders;
    return ProjectFileLock(std::move(lockPath));
  }
  std::optional<fs::TransientFileLock> lock;
  try {
    lock = fs::TransientFileLock::tryAcquire(lockPath);
  } catch (const fs::FileError&) {
    return ProjectFileLock(std::u16string());
  }
  if (!lock) return std::nullopt;
  held.byPath.emplace(lockPath, HeldLocks::Entry{std::move(*lock), 1});
  return ProjectFileLock(std::move(lockPath));
}

ProjectFileLock::ProjectFileLock(ProjectFileLock&& other) noexcept
    : lockPath_(std::exchange(other.lockPath_, std::u16string())) {}

ProjectFileLock::~ProjectFileLock() {
  if (lockPath_.empty()) return;
  HeldLocks& held = heldLocks();
  std::lock_guard guard(held.mutex);
  auto it = held.byPath.find(lockPath_);
  if (it != held.byPath.end() && --it->second.holders == 0) held.byPath.erase(it);
}

std::u16string projectFileInUse(std::u16string_view projectFile) {
  return u"The project file \"" + std::u16string(projectFile) +
         u"\" is in use by another program, which holds its lock \"" + lockPathOf(projectFile) +
         u"\".";
}

}  // namespace vantorel
