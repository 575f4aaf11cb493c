#include "platform/registry/reg_store.hpp"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

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

// Every file update() writes carries these two comment lines: the seal below the header, the end
// as its last line. A sealed file without its end lost its tail (a crash, a full disk, a copy cut
// short) even where the cut fell between two lines and what is left still parses.
constexpr std::string_view kSealLine = "; Written whole: the last line is \"; end of store\".";
constexpr std::string_view kEndLine = "; end of store";

std::string sealed(std::string text) {
  const std::size_t headerEnd = text.find('\n');
  text.insert(headerEnd == std::string::npos ? text.size() : headerEnd + 1,
              std::string(kSealLine) + "\n");
  return text + std::string(kEndLine) + "\n";
}

bool blank(std::string_view bytes) {
  return bytes.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::size_t lineCount(std::string_view bytes) {
  return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// Throws for a file that lost what a write put into it; hand-made files carry no seal and are
// taken as they parse.
void checkWhole(std::string_view bytes, bool exists, const std::string& path) {
  if (!exists) return;
  if (blank(bytes)) {
    throw RegParseError(path, 1, 1,
                        "the store is empty, which no write leaves it: it lost its content");
  }
  if (bytes.find(kSealLine) == std::string_view::npos) {
    // Unsealed text with nothing below its header must end with the blank line a whole header
    // block has; a sealed store cut right after its header line has not.
    if (bytes.find('[') == std::string_view::npos && !bytes.ends_with("\n\n") &&
        !bytes.ends_with("\r\n\r\n")) {
      throw RegParseError(path, lineCount(bytes) + 1, 1,
                          "the store ends after its header: it was cut short");
    }
    return;
  }
  std::string_view rest = bytes;
  while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r')) rest.remove_suffix(1);
  if (!rest.ends_with(kEndLine)) {
    throw RegParseError(path, lineCount(bytes) + 1, 1,
                        "the store ends before its last line \"" + std::string(kEndLine) +
                            "\": it was cut short");
  }
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
    checkWhole(state.bytes, state.stamp.exists, toUtf8(path_));
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
    // Writers killed before their rename left their temporaries beside the store.
    if (!folder.empty()) fs::removeStaleTemporaries(folder, false);
    load(readFile());
    RegKey next(*root_);
    if (!change(next)) return;
    std::string text = sealed(formatRegText(next, rootName_));
    fs::writeFileAtomic(path_, text);
    bytes_ = std::move(text);
    root_ = std::make_shared<const RegKey>(std::move(next));
    stamp_ = statFile();
  } catch (const fs::FileError& e) {
    throw RegStoreError(e.what());
  }
}

}  // namespace vantorel::reg
