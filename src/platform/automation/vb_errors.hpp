#pragma once
// VBScript's error numbers as named constants, with their texts, all from vb_errors.def. The engine
// raises these numbers too, so the names live beside AutomationError in vberr.
#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel {

namespace vberr {

#define VB_ERROR(name, code, text) inline constexpr std::int32_t name = code;
#include "platform/automation/vb_errors.def"
#undef VB_ERROR

// Runtime errors are VBScript's standard descriptions; compile errors come from the parser and
// compiler; host errors carry a text only where the engine raises them.
enum class ErrorKind : std::uint8_t { Runtime, Compile, Host };

struct ErrorEntry {
  std::int32_t number;
  ErrorKind kind;
  std::u16string_view text;
};

inline constexpr ErrorEntry kErrorTable[] = {
#define VB_ERROR(name, code, text) {code, ErrorKind::Runtime, text},
#define VB_COMPILE_ERROR(name, code, text) {code, ErrorKind::Compile, text},
#define VB_HOST_ERROR(name, code, text) {code, ErrorKind::Host, text},
#include "platform/automation/vb_errors.def"
#undef VB_ERROR
};

// The text of an error number of any kind; empty if the table has none.
std::u16string_view errorText(std::int32_t number) noexcept;
// The text of an error number of the given kind; empty for another kind or none.
std::u16string_view errorText(std::int32_t number, ErrorKind kind) noexcept;

}  // namespace vberr

// Err.Raise of a number that has no text of its own.
inline constexpr char16_t kUnknownRuntimeErrorText[] = u"Unknown runtime error";

// The standard description of a runtime error number ("Type mismatch" for 13); empty if unknown.
std::u16string vbErrorDescription(std::int32_t number);

namespace vbs {
// The description of a compile error number (1001 to 1058), e.g. 1025 "Expected end of statement".
std::u16string compileErrorDescription(std::int32_t number);
}  // namespace vbs

}  // namespace vantorel
