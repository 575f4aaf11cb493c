#include "platform/registry/reg_store.hpp"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "platform/fs/file_lock.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/registry/reg_error.hpp"
#include "platform/registry/reg_text_parser.hpp"
#include "platform/registry/reg_text_writer.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::reg {

namespace {

// Threads of one process are kept apart here whatever kind of lock the lock file gives.
std::mutex& writerMutex(const std::u16string& path) {
  static std::mutex guard;
  static std::map<std::u16string, std::unique_ptr<std::mutex>> mutexes;
  std::lock_guard lock(guard);
  auto& entry = mutexes[path];
  if (!entry) entry = std::make_unique<std::mutex>();
  return *entry;
}

std::string systemError(const std::string& what, const std::string& path, int error) {
  return what + " '" + path + "': " + std::strerror(error);
}

// Modification time alone can miss a change made within one clock tick, so the size, the inode
// (every atomic replace makes a new one) and the change time count too. Writers do not rely on
// it: they compare the bytes themselves.
template <class Stamp>
void fillStamp(Stamp& stamp, const struct stat& st) {
  stamp.exists = true;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<unsigned long long>(st.st_size);
  stamp.modifiedSeconds = st.st_mtim.tv_sec;
  stamp.modifiedNanos = st.st_mtim.tv_nsec;
  stamp.changedSeconds = st.st_ctim.tv_sec;
  stamp.changedNanos = st.st_ctim.tv_nsec;
}

}  // namespace

RegStore::RegStore(std::u16string path, std::u16string rootName, bool readOnly)
    : path_(std::move(path)), rootName_(std::move(rootName)), readOnly_(readOnly) {}

RegStore::Stamp RegStore::statFile() const {
  struct stat st;
  Stamp stamp;
  if (::stat(toUtf8(path_).c_str(), &st) != 0) return stamp;
  fillStamp(stamp, st);
  return stamp;
}

// The stamp comes from the descriptor the bytes are read from, so the two always agree.
RegStore::FileState RegStore::readFile() const {
  const std::string path = toUtf8(path_);
  FileState state;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return state;
    throw RegStoreError(systemError("Cannot open the registry store", path, errno));
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    int error = errno;
    ::close(fd);
    throw RegStoreError(systemError("Cannot read the registry store", path, error));
  }
  fillStamp(state.stamp, st);
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      throw RegStoreError(systemError("Cannot read the registry store", path, error));
    }
    if (got == 0) break;
    state.bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return state;
}

void RegStore::load(FileState state) {
  if (!root_ || state.bytes != bytes_) {
    root_ = std::make_shared<const RegKey>(parseRegText(state.bytes, rootName_, toUtf8(path_)));
    bytes_ = std::move(state.bytes);
  }
  stamp_ = state.stamp;
}

std::shared_ptr<const RegKey> RegStore::snapshot() {
  std::lock_guard guard(mutex_);
  if (root_ && statFile() == stamp_) return root_;
  load(readFile());
  return root_;
}

void RegStore::update(const std::function<bool(RegKey& root)>& change) {
  if (readOnly_) {
    throw RegStoreError("The registry store '" + toUtf8(path_) + "' is read only");
  }
  std::lock_guard writers(writerMutex(path_));
  std::lock_guard guard(mutex_);
  std::u16string folder = fs::parentFolder(path_);
  if (!folder.empty() && !fs::createFolders(folder)) {
    throw RegStoreError("Cannot create the folder of the registry store '" + toUtf8(path_) + "'");
  }
  try {
    fs::FileLock lock(path_ + u".lock");
    load(readFile());
    RegKey next(*root_);
    if (!change(next)) return;
    std::string text = formatRegText(next, rootName_);
    fs::writeFileAtomic(path_, text);
    bytes_ = std::move(text);
    root_ = std::make_shared<const RegKey>(std::move(next));
    stamp_ = statFile();
  } catch (const fs::FileError& e) {
    throw RegStoreError(e.what());
  }
}

}  // namespace vantorel::reg
