#pragma once
// Turns a VBScript (JScript-flavoured) regular expression into PCRE2 syntax. The two dialects
// differ in escapes (\v, \cX, \uXXXX, octal and back-reference digits), in what ^ and $ mean with
// Multiline, in `[]` and `[^]`, and in case folding beyond ASCII, which PCRE2 does not do without
// Unicode mode; everything else is quoted so PCRE2 reads it literally.
#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel::vbs {

struct TranslatedPattern {
  std::u16string pcre;
  std::uint32_t groupCount = 0;
};

// Raises 5017 (syntax error), 5018 (unexpected quantifier), 5019 (missing ']'), 5020 (missing
// ')') or 5021 (invalid range) for a pattern VBScript rejects.
TranslatedPattern translatePattern(std::u16string_view pattern, bool ignoreCase, bool multiline);

}  // namespace vantorel::vbs
