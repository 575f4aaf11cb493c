#include "projectfile/load_notes.hpp"

#include <algorithm>

#include "platform/text/strings.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

// Counted on from the last note: notes come in file order but for the few about one element's
// attributes and values, so the text is passed about once.
std::u16string LoadNotes::position() {
  if (offset_ == npos || offset_ > text_.size()) return {};
  if (offset_ < counted_) backToLineOf(offset_);
  for (; counted_ < offset_; ++counted_) {
    const auto b = static_cast<unsigned char>(text_[counted_]);
    if (b == '\n') {
      ++line_;
      column_ = 1;
    } else if ((b & 0xC0u) != 0x80u) {
      column_ += b >= 0xF0 ? 2 : 1;
    }
  }
  return u"line " + toU16(line_) + u", column " + toU16(column_) + u": ";
}

// From the last place counted back to the start of the line that holds the offset.
void LoadNotes::backToLineOf(std::size_t offset) {
  const std::string_view passed = text_.substr(offset, counted_ - offset);
  line_ -= static_cast<std::int64_t>(std::count(passed.begin(), passed.end(), '\n'));
  const std::size_t lineEnd = offset == 0 ? std::string_view::npos : text_.rfind('\n', offset - 1);
  counted_ = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
  column_ = 1;
}

void LoadNotes::say(std::u16string_view what) {
  ++said_;
  if (said_ > kMaxSaid) {
    if (said_ == kMaxSaid + 1) ui::warn(file_ + u": further notes on this load left out");
    return;
  }
  ui::warn(file_ + u": " + position() + std::u16string(what));
}

}  // namespace vantorel
