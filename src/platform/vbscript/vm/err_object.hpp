#pragma once
// The Err object: the last error On Error Resume Next caught, and Err.Raise.
#include <cstdint>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class ErrObject final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;
  std::u16string typeName() const override { return u"ErrObject"; }

  std::int32_t number() const { return number_; }
  void setNumber(std::int32_t n) { number_ = n; }
  std::u16string description() const { return description_; }
  void setDescription(const std::u16string& d) { description_ = d; }
  std::u16string source() const { return source_; }
  void setSource(const std::u16string& s) { source_ = s; }
  std::u16string helpFile() const { return helpFile_; }
  void setHelpFile(const std::u16string& s) { helpFile_ = s; }
  std::int32_t helpContext() const { return helpContext_; }
  void setHelpContext(std::int32_t c) { helpContext_ = c; }

  void clear();
  // A runtime error caught by On Error Resume Next; it resets HelpFile and HelpContext unless
  // they came with the Err.Raise that raised it.
  void setFrom(const AutomationError& e);
  void keepHelpFor(std::int32_t number) { helpKeptFor_ = number; }

 private:
  std::int32_t number_ = 0;
  std::u16string description_;
  std::u16string source_;
  std::u16string helpFile_;
  std::int32_t helpContext_ = 0;
  std::int32_t helpKeptFor_ = 0;  // the number of an Err.Raise that gave HelpFile or HelpContext
};

}  // namespace vantorel::vbs
