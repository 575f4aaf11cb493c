#pragma once
// Parses VBScript source into a Program. A syntax error raises ScriptException with the compile
// error's number, description, line, column and the text of the source line.
#include <string_view>

#include "platform/vbscript/ast.hpp"
#include "platform/vbscript/script_error.hpp"

namespace vantorel::vbs {

// lineOffset is added to reported lines (for code added in pieces).
Program parseProgram(std::u16string_view source, std::int32_t lineOffset = 0);
// One expression, as Eval takes it.
ExprPtr parseExpression(std::u16string_view source);

}  // namespace vantorel::vbs
