#pragma once
// A file's text for a reader that passes over it once (PullParser): UTF-8 in its own encoding as
// the file declares it, checked for characters XML cannot hold a little ahead of the reader, so
// that a file is refused where it goes wrong without a pass over it all first.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel::xml {

class StreamedText {
 public:
  // False with the reason when the file cannot be read or its encoding is not one the engine
  // reads; `unreadable` then tells the first from the second.
  bool open(std::u16string_view path, std::u16string& error, bool& unreadable);
  std::string_view text() const noexcept { return text_; }
  // Called with how far the reader has got: checks the characters past it (so that everything
  // the reader has seen is checked). False with the reason, line
  // and column counted from the file's start, at the first character that cannot stand.
  bool advance(std::size_t readTo, std::u16string& error);

 private:
  std::string read_;       // the file's bytes
  std::string converted_;  // the text when the file is not UTF-8
  std::string_view text_;
  std::size_t checked_ = 0;
};

}  // namespace vantorel::xml
