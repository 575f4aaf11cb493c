#pragma once
// What a load did to the file's content that the file does not show: elements it left out and
// values it could not take as written. Each note is said on standard error (ui::warn) with the
// file and the line and column of the element or attribute it is about.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel {

class LoadNotes {
 public:
  explicit LoadNotes(std::u16string file) : file_(std::move(file)) {}

  // The text positions are counted in; offsets given to at() index it.
  void setText(std::string_view text) noexcept {
    text_ = text;
    counted_ = 0;
    line_ = 1;
    column_ = 1;
  }
  // The element the next notes are about starts at this offset; npos for an element that was
  // kept from the file and read later (its notes name no position).
  void at(std::size_t offset) noexcept { offset_ = offset; }
  std::size_t at() const noexcept { return offset_; }
  void say(std::u16string_view what);
  std::size_t count() const noexcept { return said_; }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  // Beyond this many notes the rest are counted, not said.
  static constexpr std::size_t kMaxSaid = 200;

 private:
  std::u16string position();
  void backToLineOf(std::size_t offset);

  std::u16string file_;
  std::string_view text_;
  std::size_t offset_ = npos;
  std::size_t counted_ = 0;
  std::int64_t line_ = 1;
  std::int64_t column_ = 1;
  std::size_t said_ = 0;
};

}  // namespace vantorel
