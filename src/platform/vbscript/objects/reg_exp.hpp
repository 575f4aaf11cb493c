#pragma once
// VBScript's RegExp object (the 5.5 flavour: Pattern, Global, IgnoreCase, Multiline; Test,
// Execute, Replace) over PCRE2's 16-bit library, so script text is matched as it is stored.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/automation/object.hpp"
#include "platform/vbscript/objects/reg_exp_match.hpp"

namespace vantorel::vbs {

struct CompiledPattern;

class RegExp final : public Object {
 public:
  RegExp() = default;
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& pattern() const { return pattern_; }
  void setPattern(const std::u16string& pattern);
  bool global() const { return global_; }
  void setGlobal(bool value) { global_ = value; }
  bool ignoreCase() const { return ignoreCase_; }
  void setIgnoreCase(bool value);
  bool multiline() const { return multiline_; }
  void setMultiline(bool value);

  // A pattern with a syntax error raises 5017-5021 from each of these.
  bool test(const std::u16string& text);
  Ref<Matches> execute(const std::u16string& text);
  // replacement is text with $1..$99, $&, $`, $' and $$, or an object whose default member is
  // called for each match with (match, submatch 1, ..., submatch n, position, source) and
  // returns the replacement text, as a GetRef function reference is.
  std::u16string replace(const std::u16string& text, const Variant& replacement);

 private:
  std::shared_ptr<const CompiledPattern> compiled();

  std::u16string pattern_;
  bool global_ = false;
  bool ignoreCase_ = false;
  bool multiline_ = false;
  std::shared_ptr<const CompiledPattern> compiled_;  // for the current pattern and flags
};

}  // namespace vantorel::vbs
