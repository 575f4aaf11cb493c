#pragma once
// Names and texts made safe for the VBScript the engine generates: identifiers from database
// names, doubled-quote strings and string expressions of multi-line texts.
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"

namespace vantorel {

// A script identifier: the name with "z" appended while it is a reserved word (SharedKeywords),
// every character other than letters, digits, blank and "_" replaced by the hexadecimal form of
// its code in the system code page (of its UTF-16 code unit when the code page lacks it), blanks
// turned into "_", and "z" put in front when it would not start with a letter; then the prefix.
Variant GetVarName(const Variant& name, const Variant& prefix);
// The text without enclosing quotes; for a level above 0 wrapped in that many double quotes on
// each side, with its own double quotes doubled.
Variant QuoteStr(const Variant& text, const Variant& level);
// One VBScript string expression of a multi-line text: "a"&vbCrLf&"b". Line ends CR LF, LF and
// CR become vbCrLf, vbLf and vbCr; a non-empty joiner follows each of them as "&joiner".
std::u16string TextToVbsExpr(std::u16string_view text, std::u16string_view joiner);

}  // namespace vantorel
