#pragma once
// Template text turned into VBScript lines: the sources of the system code, which append what
// they render to their function's value, and template text, which appends to the output
// builder ztSB with its literal pieces kept in the array ztAr.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "templates/template_parser.hpp"

namespace vantorel {
class AGPStringBuilder;
}

namespace vantorel::templates {

// One system-code source as script lines for the function `functionName` (empty: class-level
// code). The parser's error when the source does not parse; `out` is then the source itself.
std::optional<TemplateParseError> translateSystemSource(std::u16string_view source, bool multiline,
                                                        bool indent,
                                                        std::u16string_view functionName,
                                                        std::u16string& out);

// The function around a translated source: header, prefix and suffix text with "<name>" and
// "<parm>" put in, and with `override` the line that lets USER_<name> post-process the value.
std::u16string wrapSystemFunction(std::u16string_view name, std::u16string_view parm,
                                  std::u16string_view body, std::u16string_view prefix,
                                  std::u16string_view suffix, bool override);

// Appends the translation of template text: "ztAr(n) = ..." lines to `arrays` and the output
// statements to `body`, numbering the text pieces on from `textCount`. The parser's error,
// appending nothing, when the text does not parse; nothing is shown.
std::optional<TemplateParseError> translateTemplateText(std::u16string_view text,
                                                        AGPStringBuilder& arrays,
                                                        AGPStringBuilder& body,
                                                        std::int32_t& textCount);

}  // namespace vantorel::templates
