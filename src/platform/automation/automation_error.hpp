#pragma once
// The error every automation call raises: a number (a Visual Basic error number such as 13, or
// an HRESULT such as 0x80000501), the source, and the description.
#include <cstdint>
#include <exception>
#include <string>

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

// The runtime error numbers the engine and scripts raise, with VBScript's own descriptions.
namespace vberr {
constexpr std::int32_t kInvalidProcedureCall = 5;
constexpr std::int32_t kOverflow = 6;
constexpr std::int32_t kOutOfMemory = 7;
constexpr std::int32_t kSubscriptOutOfRange = 9;
constexpr std::int32_t kArrayFixedOrLocked = 10;
constexpr std::int32_t kDivisionByZero = 11;
constexpr std::int32_t kTypeMismatch = 13;
constexpr std::int32_t kOutOfStringSpace = 14;
constexpr std::int32_t kFileNotFound = 53;
constexpr std::int32_t kFileAlreadyExists = 58;
constexpr std::int32_t kPermissionDenied = 70;
constexpr std::int32_t kPathNotFound = 76;
constexpr std::int32_t kObjectVariableNotSet = 91;
constexpr std::int32_t kInvalidUseOfNull = 94;
constexpr std::int32_t kCannotCreateObject = 429;
constexpr std::int32_t kObjectRequired = 424;
constexpr std::int32_t kNotSupported = 438;
constexpr std::int32_t kWrongArgumentCount = 450;
constexpr std::int32_t kKeyAlreadyExists = 457;
constexpr std::int32_t kObjectNotCollection = 451;
constexpr std::int32_t kElementNotFound = 32811;
}  // namespace vberr

// The standard description of a runtime error number ("Type mismatch" for 13); empty if unknown.
std::u16string vbErrorDescription(std::int32_t number);
// Raises the runtime error with its standard description.
[[noreturn]] void raiseVbError(std::int32_t number);
[[noreturn]] void raiseVbError(std::int32_t number, std::u16string description);

}  // namespace vantorel
