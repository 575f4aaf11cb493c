#pragma once
// The StringBuilder a compiled template writes its page into (`Set ztSB = New StringBuilder`),
// made by the script host: a template appends several hundred pieces a page, and as calls of a
// script class those appends were among the largest costs of making a page.
//
// A piece is taken as a script assignment takes a value: an object as its default value; Null
// and Empty add nothing. An array has no text and raises "Type mismatch" where it is appended,
// rather than leaving the whole page empty at ToString.
#include <cstdint>

#include "foundation/string_builder.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class TemplateOutputBuilder final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  void append(const Variant& piece) {
    if (piece.isString()) {
      text_.append(piece);
      return;
    }
    appendOther(piece);
  }
  // The text so far; appending afterwards goes on after it.
  Variant toString() { return text_.toString(); }
  void clear() noexcept { text_.clear(); }
  std::int32_t length() const noexcept { return static_cast<std::int32_t>(text_.length()); }

 private:
  void appendOther(const Variant& piece);

  AGPStringBuilder text_;
};

}  // namespace vantorel
