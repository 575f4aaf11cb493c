#pragma once
// A file's text for a reader that passes over it once (PullParser): UTF-8 in its own encoding as
// the file declares it, checked for characters XML cannot hold a little ahead of the reader,
// and given back to the system behind it, so a large file does not stay in memory whole.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fs/mapped_file.hpp"

namespace vantorel::xml {

class StreamedText {
 public:
  // False with the reason when the file cannot be read or its encoding is not one the engine
  // reads; `unreadable` then tells the first from the second.
  bool open(std::u16string_view path, std::u16string& error, bool& unreadable);
  std::string_view text() const noexcept { return text_; }
  // Called with how far the reader has got: checks the characters past it (so that everything
  // the reader has seen is checked) and releases what lies behind. False with the reason, line
  // and column counted from the file's start, at the first character that cannot stand.
  bool advance(std::size_t readTo, std::u16string& error);

 private:
  fs::MappedFile map_;
  std::string read_;       // the bytes of a file that could not be mapped
  std::string converted_;  // the text when the file is not UTF-8
  std::string_view text_;
  std::size_t checked_ = 0;
  std::size_t base_ = 0;  // offset of the text in the mapping (a byte-order mark)
  bool mapped_ = false;
};

}  // namespace vantorel::xml
