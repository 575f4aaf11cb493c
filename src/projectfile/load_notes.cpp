#include "projectfile/load_notes.hpp"

#include "platform/text/strings.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

// Counted on from the last note: notes come in file order, so the text is passed once.
std::u16string LoadNotes::position() {
  if (offset_ == npos || offset_ > text_.size()) return {};
  if (offset_ < counted_) setText(text_);
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

void LoadNotes::say(std::u16string_view what) {
  ++said_;
  if (said_ > kMaxSaid) {
    if (said_ == kMaxSaid + 1) ui::warn(file_ + u": further notes on this load left out");
    return;
  }
  ui::warn(file_ + u": " + position() + std::u16string(what));
}

}  // namespace vantorel
