#pragma once
// A file's bytes mapped read-only, for readers that pass over a large file once: what they have
// read can be given back, so the file never stands whole in the process's memory.
#include <cstddef>
#include <string_view>

namespace vantorel::fs {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // False when the path is no regular file that can be mapped (a pipe, a missing file); the
  // caller then reads it whole. An empty file maps as empty bytes.
  bool open(std::u16string_view path);
  std::string_view bytes() const noexcept { return {data_, size_}; }
  // Drops the pages wholly before `offset` from memory; reading them again reads the file.
  void release(std::size_t offset) noexcept;

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t released_ = 0;
};

}  // namespace vantorel::fs
