#include "platform/fs/files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "platform/fs/link_free_paths.hpp"
#include "platform/fs/path.hpp"
#include "platform/fs/temporary_files.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::fs {

namespace {

std::string describe(std::u16string_view path) {
  return toUtf8(path);
}

[[noreturn]] void fail(const char* action, std::u16string_view path, int error) {
  const std::string reason = std::strerror(error);
  throw FileError(std::string("cannot ") + action + " " + describe(path) + ": " + reason, reason);
}

bool statPath(const std::filesystem::path& p, struct stat& st) {
  return ::stat(p.c_str(), &st) == 0;
}

int openRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

namespace {

// A name no other writer (thread or process) picks: pid, a counter and random bits; the
// O_EXCL open still guards against the rare clash.
std::filesystem::path temporaryBeside(const std::filesystem::path& target, unsigned attempt) {
  static std::atomic<unsigned long> counter{0};
  thread_local std::mt19937_64 random{std::random_device{}()};
  // Cut long names so that the suffix cannot push the temporary name past NAME_MAX.
  const std::string stem = target.filename().string().substr(0, 120);
  const std::string name = "." + stem + ".tmp-" + std::to_string(::getpid()) + "-" +
                           std::to_string(counter++) + "-" + std::to_string(random() % 1000000u) +
                           "-" + std::to_string(attempt);
  return target.parent_path() / name;
}

// The pid of a name temporaryBeside made (".NAME.tmp-PID-COUNTER-RANDOM-ATTEMPT"), else 0.
pid_t temporaryOwner(const std::string& name) {
  if (name.size() < 2 || name[0] != '.') return 0;
  const std::size_t mark = name.rfind(".tmp-");
  if (mark == std::string::npos || mark < 1) return 0;
  std::size_t pos = mark + 5;
  long long numbers[4] = {};
  for (int i = 0; i < 4; ++i) {
    const std::size_t start = pos;
    while (pos < name.size() && name[pos] >= '0' && name[pos] <= '9' && pos - start < 18) {
      numbers[i] = numbers[i] * 10 + (name[pos] - '0');
      ++pos;
    }
    if (pos == start) return 0;
    if (i < 3) {
      if (pos == name.size() || name[pos] != '-') return 0;
      ++pos;
    }
  }
  if (pos != name.size() || numbers[0] <= 0 || numbers[0] > 0x3fffffff) return 0;
  return static_cast<pid_t>(numbers[0]);
}

bool processRuns(pid_t pid) {
  return ::kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

// The data lands in a temporary file beside the target and is renamed over it only once it is
// on disk, so a reader sees the old bytes or the new ones and a failure leaves the old file.
std::filesystem::path prepareTemporary(std::u16string_view displayPath,
                                       std::filesystem::path& target,
                                       const std::function<int(int fd)>& writeBody,
                                       std::optional<mode_t> modeForNewFile, bool overwrite,
                                       bool flush, std::u16string_view linkFreeRoot) {
  if (!linkFreeRoot.empty()) makeFoldersFor(linkFreeRoot, displayPath);
  // Writing through a symbolic link replaces the file it points to and keeps the link, unless
  // the write is kept below a root. One lstat answers both questions for anything but a link:
  // most targets are plain files or new.
  struct stat existing {};
  bool targetExists = ::lstat(target.c_str(), &existing) == 0;
  if (targetExists && S_ISLNK(existing.st_mode) && !linkFreeRoot.empty()) {
    refuseLinksBelow(linkFreeRoot, displayPath);
    fail("write", displayPath, ELOOP);  // it was a link a moment ago: still not followed
  }
  if (targetExists && S_ISLNK(existing.st_mode)) {
    std::error_code ec;
    const auto resolved = std::filesystem::weakly_canonical(target, ec);
    if (!ec) target = resolved;
    targetExists = statPath(target, existing);
  }
  if (target.filename().empty()) fail("write", displayPath, EISDIR);
  if (target.parent_path().empty()) target = std::filesystem::path(".") / target;

  if (targetExists && S_ISDIR(existing.st_mode)) fail("write", displayPath, EISDIR);
  if (targetExists && !overwrite) fail("write", displayPath, EEXIST);

  std::filesystem::path temp;
  int fd = -1;
  for (unsigned attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = temporaryBeside(target, attempt);
    // 0666 lets the umask decide a new file's permissions, as any ordinary create would.
    fd = openRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) fail("write", displayPath, errno);
  }
  if (fd < 0) fail("write", displayPath, EEXIST);

  int error = 0;
  if (targetExists) {
    if (::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
  } else if (modeForNewFile) {
    if (::fchmod(fd, *modeForNewFile & 07777) != 0) error = errno;
  }
  if (error == 0) error = writeBody(fd);
  if (error == 0 && flush && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    fail("write", displayPath, error);
  }
  return temp;
}

void placeTemporary(std::u16string_view displayPath, const std::filesystem::path& temp,
                    const std::filesystem::path& target, bool overwrite) {
  int error = 0;
#ifdef RENAME_NOREPLACE
  if (!overwrite) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
      error = errno;
      // Some file systems lack the flag; the existence check before is then the guard.
      if (error == EINVAL || error == ENOSYS) {
        error = ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
      }
    }
  } else
#endif
  {
    if (::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  }
  if (error != 0) {
    ::unlink(temp.c_str());
    fail("write", displayPath, error);
  }
}

// Makes renames in the folder durable. The new files are in place by now, so a folder that
// cannot be synced (some file systems refuse) is not reported as a failed write.
void syncFolder(const std::filesystem::path& folder) {
  const int dirFd = openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

namespace {

void replaceAtomically(std::u16string_view displayPath, std::filesystem::path target,
                       const std::function<int(int fd)>& writeBody,
                       std::optional<mode_t> modeForNewFile, bool overwrite,
                       std::u16string_view linkFreeRoot, bool flush = true) {
  const std::filesystem::path temp = prepareTemporary(
      displayPath, target, writeBody, modeForNewFile, overwrite, flush, linkFreeRoot);
  placeTemporary(displayPath, temp, target, overwrite);
  if (flush) syncFolder(target.parent_path());
}

std::vector<std::u16string> listEntries(std::u16string_view folder, bool wantFolders) {
  std::vector<std::u16string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(toNative(folder), ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code statError;
    const bool isFolder = it->is_directory(statError);
    if (statError) continue;
    const bool isFile = !isFolder && it->is_regular_file(statError);
    if (statError) continue;
    if (wantFolders ? isFolder : isFile) names.push_back(fromNative(it->path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

bool fileExists(std::u16string_view path) {
  struct stat st {};
  return statPath(toNative(path), st) && !S_ISDIR(st.st_mode);
}

bool folderExists(std::u16string_view path) {
  struct stat st {};
  return statPath(toNative(path), st) && S_ISDIR(st.st_mode);
}

std::optional<std::string> readFile(std::u16string_view path) {
  const int fd = openRetrying(toNative(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    bytes.reserve(static_cast<std::size_t>(st.st_size));
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

void writeFileAtomic(std::u16string_view path, std::string_view bytes,
                     std::u16string_view linkFreeRoot, std::optional<unsigned> newFileMode) {
  replaceAtomically(
      path, toNative(path),
      [bytes](int fd) { return writeAll(fd, bytes.data(), bytes.size()) ? 0 : errno; },
      newFileMode ? std::optional<mode_t>(*newFileMode) : std::nullopt, true, linkFreeRoot);
}

void appendFile(std::u16string_view path, std::string_view bytes) {
  const int fd =
      openRetrying(toNative(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) fail("append to", path, errno);
  const bool written = writeAll(fd, bytes.data(), bytes.size());
  const int error = errno;
  if (::close(fd) != 0 && written) fail("append to", path, errno);
  if (!written) fail("append to", path, error);
}

bool createFolders(std::u16string_view path) {
  if (path.empty()) return false;
  // Most calls find the folder made already: one stat then.
  if (folderExists(path)) return true;
  std::error_code ec;
  std::filesystem::create_directories(toNative(path), ec);
  return folderExists(path);
}

bool createPrivateFolder(std::u16string_view path) {
  if (path.empty()) return false;
  if (folderExists(path)) return true;
  std::filesystem::path native = toNative(path).lexically_normal();
  if (!native.has_filename()) native = native.parent_path();
  std::error_code ec;
  if (native.has_parent_path()) std::filesystem::create_directories(native.parent_path(), ec);
  // Made with its mode at once, so that no other user can open it in between.
  if (::mkdir(native.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return folderExists(path);
}

void makeFolders(std::u16string_view path) {
  if (path.empty()) fail("create the folder", path, ENOENT);
  if (folderExists(path)) return;
  std::error_code ec;
  std::filesystem::create_directories(toNative(path), ec);
  if (folderExists(path)) return;
  fail("create the folder", path, ec ? ec.value() : ENOTDIR);
}

namespace {

void copyFileFlushing(std::u16string_view from, std::u16string_view to, bool overwrite,
                      std::u16string_view linkFreeRoot, std::optional<unsigned> newFileMode,
                      bool flush) {
  const int source = openRetrying(toNative(from).c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) fail("copy", from, errno);
  struct stat st {};
  if (::fstat(source, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(source);
    fail("copy", from, error);
  }
  try {
    replaceAtomically(
        to, toNative(to),
        [source](int fd) {
          char buffer[65536];
          for (;;) {
            const ssize_t n = ::read(source, buffer, sizeof buffer);
            if (n < 0) {
              if (errno == EINTR) continue;
              return errno;
            }
            if (n == 0) return 0;
            if (!writeAll(fd, buffer, static_cast<std::size_t>(n))) return errno;
          }
        },
        newFileMode ? static_cast<mode_t>(*newFileMode) : st.st_mode, overwrite, linkFreeRoot,
        flush);
  } catch (...) {
    ::close(source);
    throw;
  }
  ::close(source);
}

}  // namespace

void copyFile(std::u16string_view from, std::u16string_view to, bool overwrite,
              std::u16string_view linkFreeRoot, std::optional<unsigned> newFileMode) {
  copyFileFlushing(from, to, overwrite, linkFreeRoot, newFileMode, true);
}

void copyFileUnflushed(std::u16string_view from, std::u16string_view to,
                       std::u16string_view linkFreeRoot) {
  copyFileFlushing(from, to, true, linkFreeRoot, std::nullopt, false);
}

void keepAsBackup(std::u16string_view file, std::u16string_view backup,
                  std::u16string_view linkFreeRoot) {
  const std::filesystem::path source = toNative(file);
  std::filesystem::path target = toNative(backup);
  if (target.parent_path().empty()) target = std::filesystem::path(".") / target;
  std::filesystem::path temp;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temp = temporaryBeside(target, attempt);
    if (::link(source.c_str(), temp.c_str()) == 0) {
      placeTemporary(backup, temp, target, true);
      return;
    }
    if (errno == EEXIST) continue;
    // A file system without hard links gets a copy.
    if (errno == EPERM || errno == EXDEV || errno == ENOTSUP || errno == EOPNOTSUPP ||
        errno == EMLINK) {
      copyFileUnflushed(file, backup, linkFreeRoot);
      return;
    }
    fail("write", backup, errno);
  }
  fail("write", backup, EEXIST);
}

namespace {

// Folders below a copied folder at the most: a symbolic link to a folder above it would
// otherwise have the copy descend for ever.
constexpr int kMaxCopyDepth = 64;

void copyFolderAt(std::u16string_view from, std::u16string_view to, int depth,
                  std::u16string_view linkFreeRoot) {
  if (depth > kMaxCopyDepth) fail("copy", from, ELOOP);
  // Listed in full before anything is made or copied, and an unreadable listing is an error:
  // a copy that silently leaves files out would look complete.
  std::error_code ec;
  std::vector<std::pair<std::u16string, bool>> entries;
  std::filesystem::directory_iterator it(toNative(from), ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code statError;
    const bool isFolder = it->is_directory(statError);
    if (statError) fail("copy", fromNative(it->path()), statError.value());
    // A pipe or device would block or never end; they are not site files.
    if (!isFolder && !it->is_regular_file(statError)) {
      fail("copy", fromNative(it->path()), statError ? statError.value() : ENOTSUP);
    }
    entries.emplace_back(fromNative(it->path().filename()), isFolder);
  }
  if (ec) fail("copy", from, ec.value());
  if (!linkFreeRoot.empty()) {
    makeFoldersBelow(linkFreeRoot, to);
  } else {
    std::filesystem::create_directories(toNative(to), ec);
    if (ec) fail("create", to, ec.value());
  }
  std::sort(entries.begin(), entries.end());
  for (const auto& [name, isFolder] : entries) {
    const std::u16string source = joinPath(from, name), target = joinPath(to, name);
    if (isFolder) {
      copyFolderAt(source, target, depth + 1, linkFreeRoot);
    } else {
      copyFile(source, target, true, linkFreeRoot);
    }
  }
}

}  // namespace

void copyFolder(std::u16string_view from, std::u16string_view to,
                std::u16string_view linkFreeRoot) {
  copyFolderAt(from, to, 0, linkFreeRoot);
}

bool deleteFile(std::u16string_view path) {
  const auto native = toNative(path);
  if (::unlink(native.c_str()) == 0) return true;
  return errno == ENOENT;
}

void renamePath(std::u16string_view from, std::u16string_view to) {
  const auto source = toNative(from);
  const auto target = toNative(to);
  if (::rename(source.c_str(), target.c_str()) == 0) return;
  const int error = errno;
  // Another file system: a file is copied and then removed, as a move across drives is.
  if (error == EXDEV && fileExists(from)) {
    copyFile(from, to, true);
    if (::unlink(source.c_str()) != 0) fail("remove", from, errno);
    return;
  }
  fail("rename", from, error);
}

std::size_t removeStaleTemporaries(std::u16string_view folder, bool recursive) {
  std::size_t removed = 0;
  std::error_code ec;
  const std::filesystem::path root = toNative(folder);
  const auto visit = [&](const std::filesystem::directory_entry& entry) {
    std::error_code statError;
    if (!entry.is_regular_file(statError)) return;
    const pid_t owner = temporaryOwner(entry.path().filename().string());
    // A live writer's file is still being written; this process's own are too.
    if (owner == 0 || owner == ::getpid() || processRuns(owner)) return;
    if (::unlink(entry.path().c_str()) == 0) ++removed;
  };
  if (recursive) {
    std::filesystem::recursive_directory_iterator it(
        root, std::filesystem::directory_options::skip_permission_denied, ec);
    for (const std::filesystem::recursive_directory_iterator end; !ec && it != end;
         it.increment(ec)) {
      visit(*it);
    }
  } else {
    std::filesystem::directory_iterator it(root, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
      visit(*it);
    }
  }
  return removed;
}

std::vector<std::u16string> listFiles(std::u16string_view folder) {
  return listEntries(folder, false);
}

std::vector<std::u16string> listFolders(std::u16string_view folder) {
  return listEntries(folder, true);
}

std::optional<std::chrono::system_clock::time_point> modifiedTime(std::u16string_view path) {
  struct stat st {};
  if (!statPath(toNative(path), st)) return std::nullopt;
  const auto sinceEpoch =
      std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch));
}

std::optional<std::uint64_t> fileSize(std::u16string_view path) {
  struct stat st {};
  if (!statPath(toNative(path), st) || S_ISDIR(st.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

std::optional<FileStamp> fileStamp(std::u16string_view path) {
  struct stat st {};
  if (!statPath(toNative(path), st) || S_ISDIR(st.st_mode)) return std::nullopt;
  return FileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                   static_cast<std::uint64_t>(st.st_size),
                   static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace vantorel::fs
