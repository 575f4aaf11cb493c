#pragma once
// AGPStringBuilder: collects many small pieces of text and hands out the joined text.
//
// Each piece is turned into text when it is appended (CStr's rules) and added to one growing
// buffer, so appending costs what std::u16string::append costs. The one observable difference
// from keeping the raw pieces until ToString: an object appended is read through its default
// value at Append, not at ToString, so a later change of that value does not show.
#include <string>
#include <string_view>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGPStringBuilder final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  void clear() noexcept;
  // Raises what CStr raises: 94 for Null, 438 for an object without a default value; a piece
  // that raises adds nothing.
  void append(const Variant& piece) {
    // The common case stays inline: a String piece while the builder owns its buffer.
    if (piece.isString() && !inJoined_) {
      buffer_.append(piece.stringValue());
      return;
    }
    appendOther(piece);
  }
  void appendText(std::u16string_view text);
  // The text so far, as a String; repeatable, and appending afterwards continues the same text.
  Variant toString();
  std::size_t length() const noexcept;

 private:
  std::u16string& buffer();
  void appendOther(const Variant& piece);

  // The text lives in buffer_ while it grows; ToString hands it to joined_ without a copy, and
  // the next Append takes it back.
  std::u16string buffer_;
  Variant joined_;
  bool inJoined_ = false;
};

}  // namespace vantorel
