#pragma once
// A compile or runtime error of a script, with where it happened, as the script control's Error
// object reports it.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/automation/vb_errors.hpp"

namespace vantorel::vbs {

inline constexpr char16_t kCompileErrorSource[] = u"Microsoft VBScript compilation error";
inline constexpr char16_t kRuntimeErrorSource[] = u"Microsoft VBScript runtime error";

struct ScriptError {
  std::int32_t number = 0;
  std::u16string source;
  std::u16string description;
  std::int32_t line = 0;    // 1-based; 0 when unknown
  std::int32_t column = 0;  // 1-based, UTF-16 code units; 0 when unknown
  std::u16string text;      // the source line, for compile errors
};

class ScriptException : public std::exception {
 public:
  explicit ScriptException(ScriptError e);
  const ScriptError& error() const noexcept { return error_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  ScriptError error_;
  std::string what_;
};

}  // namespace vantorel::vbs
