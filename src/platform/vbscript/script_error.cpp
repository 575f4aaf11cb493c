#include "platform/vbscript/script_error.hpp"

#include <string>
#include <utility>

#include "platform/text/unicode.hpp"

namespace vantorel::vbs {

ScriptException::ScriptException(ScriptError e) : error_(std::move(e)) {
  what_ = toUtf8(error_.source) + " " + std::to_string(error_.number) + ": " +
          toUtf8(error_.description);
  if (error_.line > 0) {
    what_ +=
        " (line " + std::to_string(error_.line) + ", column " + std::to_string(error_.column) + ")";
  }
}

}  // namespace vantorel::vbs
