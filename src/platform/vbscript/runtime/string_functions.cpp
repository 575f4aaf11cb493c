// Length, substring, case, trimming and repetition functions, and the string function table.
#include <algorithm>
#include <array>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/strings.hpp"
#include "platform/vbscript/runtime/builtins.hpp"
#include "platform/vbscript/runtime/string_support.hpp"

namespace vantorel::vbs {

namespace {

using detail::PlainArg;
using detail::TextArg;

// The part [pos, pos + count) of the argument's text; the caller's own string when that is all
// of it, so the common "take the rest" cases allocate nothing.
Variant slice(const Variant& source, const TextArg& text, std::size_t pos, std::size_t count) {
  if (pos >= text.size() || count == 0) return detail::emptyText();
  count = std::min(count, text.size() - pos);
  if (pos == 0 && count == text.size() && source.isString()) return source;
  if (count == 1) return detail::singleUnit(text.view()[pos]);
  return Variant(text.view().substr(pos, count));
}

std::size_t nonNegative(const Variant& v) {
  const std::int32_t n = toLong(v);
  if (n < 0) raiseVbError(vberr::kInvalidProcedureCall);
  return static_cast<std::size_t>(n);
}

// Mid's start counts from 1.
std::size_t startPosition(const Variant& v) {
  const std::int32_t n = toLong(v);
  if (n < 1) raiseVbError(vberr::kInvalidProcedureCall);
  return static_cast<std::size_t>(n) - 1;
}

Variant len(CallArgs args) {
  const PlainArg v(args[0]);
  if (v->isNull()) return Variant::null();
  // A byte string's odd last byte is no whole character: Len counts LenB \ 2.
  if (v->isString()) {
    return Variant(static_cast<std::int32_t>(v->stringValue().size() - (v->hasOddByte() ? 1 : 0)));
  }
  return Variant(static_cast<std::int32_t>(TextArg(*v).size()));
}

Variant lenB(CallArgs args) {
  const PlainArg v(args[0]);
  if (v->isNull()) return Variant::null();
  if (v->isArray()) return Variant(static_cast<std::int32_t>(detail::byteArgument(*v).size()));
  if (v->isString()) return Variant(static_cast<std::int32_t>(detail::stringByteCount(*v)));
  return Variant(static_cast<std::int32_t>(TextArg(*v).size() * 2));
}

Variant left(CallArgs args) {
  const std::size_t count = nonNegative(args[1]);
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  const TextArg text(*s);
  return slice(*s, text, 0, count);
}

Variant right(CallArgs args) {
  const std::size_t count = nonNegative(args[1]);
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  const TextArg text(*s);
  const std::size_t n = std::min(count, text.size());
  return slice(*s, text, text.size() - n, n);
}

Variant mid(CallArgs args) {
  // A Null length is refused before the start is checked; a Null text gives Null.
  const Variant* length = detail::optionalArg(args, 2);
  if (length && length->isNull()) raiseVbError(vberr::kInvalidUseOfNull);
  const std::size_t pos = startPosition(args[1]);
  const std::size_t count = length ? nonNegative(*length) : std::u16string_view::npos;
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  const TextArg text(*s);
  return slice(*s, text, pos, count);
}

// The byte forms work on the UTF-16LE bytes and hand back the selected bytes as a string.
Variant bytesResult(const std::string& bytes, std::size_t pos, std::size_t count) {
  if (pos >= bytes.size()) return detail::emptyText();
  count = std::min(count, bytes.size() - pos);
  return detail::bytesToString(std::string_view(bytes).substr(pos, count));
}

Variant leftB(CallArgs args) {
  const std::size_t count = nonNegative(args[1]);
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  return bytesResult(detail::byteArgument(*s), 0, count);
}

Variant rightB(CallArgs args) {
  const std::size_t count = nonNegative(args[1]);
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  const std::string bytes = detail::byteArgument(*s);
  const std::size_t n = std::min(count, bytes.size());
  return bytesResult(bytes, bytes.size() - n, n);
}

Variant midB(CallArgs args) {
  const std::size_t pos = startPosition(args[1]);
  const Variant* length = detail::optionalArg(args, 2);
  const std::size_t count = length ? nonNegative(*length) : std::string::npos;
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  return bytesResult(detail::byteArgument(*s), pos, count);
}

// Whether the case mapping leaves the text as it is: ASCII with no letter of the other case.
// Templates lower names that are lower case already, and the string itself is then the result.
template <char16_t From, char16_t To>
bool asciiWithout(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 0x80 || (c >= From && c <= To)) return false;
  }
  return true;
}

template <std::u16string (*Map)(std::u16string_view), char16_t From, char16_t To>
Variant mapped(CallArgs args) {
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  if (s->isString() && !s->hasOddByte() && asciiWithout<From, To>(s->stringValue())) return *s;
  const TextArg text(*s);
  return Variant(Map(text.view()));
}

template <std::u16string_view (*Trim)(std::u16string_view) noexcept>
Variant trimmed(CallArgs args) {
  const PlainArg s(args[0]);
  if (s->isNull()) return Variant::null();
  const TextArg text(*s);
  const std::u16string_view kept = Trim(text.view());
  return slice(*s, text, static_cast<std::size_t>(kept.data() - text.view().data()), kept.size());
}

Variant space(CallArgs args) {
  const std::size_t count = nonNegative(args[0]);
  detail::checkStringLength(count);
  return Variant(std::u16string(count, u' '));
}

// String(number, character): character is a string (its first character is used) or a
// character code, taken modulo 256.
Variant repeated(CallArgs args) {
  const PlainArg number(args[0]);
  const PlainArg character(args[1]);
  if (number->isNull() || character->isNull()) return Variant::null();
  const std::size_t count = nonNegative(*number);
  char16_t fill;
  if (character->isString()) {
    const std::u16string& text = character->stringValue();
    if (text.empty()) raiseVbError(vberr::kInvalidProcedureCall);
    fill = text[0];
  } else {
    const std::int32_t code = toLong(*character) % 256;
    if (code < 0) raiseVbError(vberr::kInvalidProcedureCall);
    const char byte = static_cast<char>(code);
    const std::u16string decoded = fromAnsi(std::string_view(&byte, 1));
    fill = decoded.empty() ? u'?' : decoded[0];
  }
  detail::checkStringLength(count);
  return Variant(std::u16string(count, fill));
}

// Reverses characters, keeping each surrogate pair in order so the result stays valid UTF-16.
Variant strReverse(CallArgs args) {
  const TextArg text(args[0]);
  const std::u16string_view s = text.view();
  std::u16string out(s.rbegin(), s.rend());
  for (std::size_t i = 0; i + 1 < out.size(); ++i) {
    if (out[i] >= 0xDC00 && out[i] <= 0xDFFF && out[i + 1] >= 0xD800 && out[i + 1] <= 0xDBFF) {
      std::swap(out[i], out[i + 1]);
      ++i;
    }
  }
  return Variant(std::move(out));
}

const std::array kStringFunctions{
    BuiltinFunction{u"Len", 1, 1, len},
    BuiltinFunction{u"LenB", 1, 1, lenB},
    BuiltinFunction{u"Left", 2, 2, left},
    BuiltinFunction{u"LeftB", 2, 2, leftB},
    BuiltinFunction{u"Right", 2, 2, right},
    BuiltinFunction{u"RightB", 2, 2, rightB},
    BuiltinFunction{u"Mid", 2, 3, mid},
    BuiltinFunction{u"MidB", 2, 3, midB},
    BuiltinFunction{u"InStr", 2, 4, detail::inStr},
    BuiltinFunction{u"InStrB", 2, 4, detail::inStrB},
    BuiltinFunction{u"InStrRev", 2, 4, detail::inStrRev},
    BuiltinFunction{u"Replace", 3, 6, detail::replace},
    BuiltinFunction{u"StrComp", 2, 3, detail::strComp},
    BuiltinFunction{u"LCase", 1, 1, mapped<toLower, u'A', u'Z'>},
    BuiltinFunction{u"UCase", 1, 1, mapped<toUpper, u'a', u'z'>},
    BuiltinFunction{u"LTrim", 1, 1, trimmed<trimBlanksLeft>},
    BuiltinFunction{u"RTrim", 1, 1, trimmed<trimBlanksRight>},
    BuiltinFunction{u"Trim", 1, 1, trimmed<trimBlanks>},
    BuiltinFunction{u"Space", 1, 1, space},
    BuiltinFunction{u"String", 2, 2, repeated},
    BuiltinFunction{u"StrReverse", 1, 1, strReverse},
    BuiltinFunction{u"Asc", 1, 1, detail::asc},
    BuiltinFunction{u"AscB", 1, 1, detail::ascB},
    BuiltinFunction{u"AscW", 1, 1, detail::ascW},
    BuiltinFunction{u"Chr", 1, 1, detail::chr},
    BuiltinFunction{u"ChrB", 1, 1, detail::chrB},
    BuiltinFunction{u"ChrW", 1, 1, detail::chrW},
    BuiltinFunction{u"Hex", 1, 1, detail::hex},
    BuiltinFunction{u"Oct", 1, 1, detail::oct},
    BuiltinFunction{u"Escape", 1, 1, detail::escape},
    BuiltinFunction{u"Unescape", 1, 1, detail::unescape},
    BuiltinFunction{u"FormatNumber", 1, 5, detail::formatNumber},
    BuiltinFunction{u"FormatCurrency", 1, 5, detail::formatCurrency},
    BuiltinFunction{u"FormatPercent", 1, 5, detail::formatPercent},
};

}  // namespace

std::span<const BuiltinFunction> stringFunctions() {
  return kStringFunctions;
}

}  // namespace vantorel::vbs
