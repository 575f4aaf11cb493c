#pragma once
// The error every automation call raises: a number (a Visual Basic error number such as 13, or
// an HRESULT such as 0x80000501), the source, and the description.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/automation/vb_errors.hpp"

namespace vantorel {

class AutomationError : public std::exception {
 public:
  AutomationError(std::int32_t number, std::u16string source, std::u16string description);
  AutomationError(std::int32_t number, std::u16string description)
      : AutomationError(number, {}, std::move(description)) {}

  std::int32_t number() const noexcept { return number_; }
  const std::u16string& source() const noexcept { return source_; }
  const std::u16string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  std::u16string source_;
  std::u16string description_;
  std::string what_;
};

// Raises the runtime error with its standard description.
[[noreturn]] void raiseVbError(std::int32_t number);
[[noreturn]] void raiseVbError(std::int32_t number, std::u16string description);

}  // namespace vantorel
