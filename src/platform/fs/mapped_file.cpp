#include "platform/fs/mapped_file.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/path.hpp"

namespace vantorel::fs {

MappedFile::~MappedFile() {
  if (data_ && size_ > 0) ::munmap(const_cast<char*>(data_), size_);
}

bool MappedFile::open(std::u16string_view path) {
  const int fd = ::open(toNative(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool mapped = false;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    size_ = static_cast<std::size_t>(st.st_size);
    if (size_ == 0) {
      data_ = "";
      mapped = true;
    } else {
      void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
      if (p != MAP_FAILED) {
        data_ = static_cast<const char*>(p);
        // Read front to back: the kernel may read ahead and drop what is behind.
        ::madvise(p, size_, MADV_SEQUENTIAL);
        mapped = true;
      }
    }
  }
  ::close(fd);
  if (!mapped) size_ = 0;
  return mapped;
}

void MappedFile::release(std::size_t offset) noexcept {
  if (!data_ || size_ == 0) return;
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t end = (offset < size_ ? offset : size_) / page * page;
  if (end <= released_) return;
  ::madvise(const_cast<char*>(data_) + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

}  // namespace vantorel::fs
