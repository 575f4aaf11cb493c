#pragma once
// The lock that keeps two processes from interleaving their read-change-save of one project
// file: `vantorel sync` holds it from its first read to its save, AGP.Save for its write. It is
// the file PROJECT.vtp.lock beside the project file, there while a holder has it. A process
// takes a lock it holds already at once, so that a sync's own save goes through.
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

class ProjectFileLock {
 public:
  // Nothing when another process holds the project file's lock. Where no lock file can be made
  // (a folder that takes no file) the lock holds nothing and the caller's own write reports it.
  static std::optional<ProjectFileLock> tryAcquire(std::u16string_view projectFile);
  ~ProjectFileLock();
  ProjectFileLock(ProjectFileLock&& other) noexcept;
  ProjectFileLock& operator=(ProjectFileLock&&) = delete;
  ProjectFileLock(const ProjectFileLock&) = delete;
  ProjectFileLock& operator=(const ProjectFileLock&) = delete;

 private:
  explicit ProjectFileLock(std::u16string lockPath) : lockPath_(std::move(lockPath)) {}
  std::u16string lockPath_;  // empty: holds nothing
};

// The message for a project file whose lock another process holds; the caller adds what it
// did not do.
std::u16string projectFileInUse(std::u16string_view projectFile);

}  // namespace vantorel
