#include "foundation/string_builder.hpp"

#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

const ClassInfo& AGPStringBuilder::classInfo() const noexcept {
  return MemberTable<AGPStringBuilder>::get(u"AGPStringBuilder");
}

void AGPStringBuilder::clear() noexcept {
  buffer_ = std::u16string();
  joined_.clear();
  inJoined_ = false;
}

std::u16string& AGPStringBuilder::buffer() {
  if (inJoined_) {
    // Whoever holds the text from ToString keeps it unchanged: take a copy back.
    buffer_ = joined_.stringValue();
    joined_.clear();
    inJoined_ = false;
  }
  return buffer_;
}

void AGPStringBuilder::appendOther(const Variant& piece) {
  switch (piece.type()) {
    case VarType::String:
      appendText(piece.stringValue());
      return;
    case VarType::Empty:
      return;
    default: {
      const std::u16string text = vantorel::toString(piece);
      appendText(text);
      return;
    }
  }
}

void AGPStringBuilder::appendText(std::u16string_view text) {
  if (text.empty()) return;
  buffer().append(text);
}

Variant AGPStringBuilder::toString() {
  if (!inJoined_) {
    joined_ = Variant(std::move(buffer_));
    buffer_ = std::u16string();
    inJoined_ = true;
  }
  return joined_;
}

std::size_t AGPStringBuilder::length() const noexcept {
  return inJoined_ ? joined_.stringValue().size() : buffer_.size();
}

}  // namespace vantorel
