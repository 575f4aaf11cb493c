#pragma once
// Shared pieces of the string and array functions: reading text arguments without copying
// script strings, the compare-mode argument, and the functions each file contributes to the
// string table.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel::vbs::detail {

// A text argument: a view of the caller's string when it is one, else the converted value
// (CStr rules, so Null raises 94). Views into the object itself, hence neither copied nor moved.
class TextArg {
 public:
  explicit TextArg(const Variant& v);
  TextArg(const TextArg&) = delete;
  TextArg& operator=(const TextArg&) = delete;

  std::u16string_view view() const noexcept { return view_; }
  std::size_t size() const noexcept { return view_.size(); }

 private:
  std::u16string owned_;
  std::u16string_view view_;
};

// An argument with an object replaced by its default value, so that a recordset field holding
// Null counts as Null; any other value is the caller's own, not a copy.
class PlainArg {
 public:
  explicit PlainArg(const Variant& v);
  PlainArg(const PlainArg&) = delete;
  PlainArg& operator=(const PlainArg&) = delete;

  const Variant& operator*() const noexcept { return *value_; }
  const Variant* operator->() const noexcept { return value_; }

 private:
  Variant holder_;
  const Variant* value_;
};

// The optional argument at i, or nullptr when it was left out.
inline const Variant* optionalArg(CallArgs args, std::size_t i) noexcept {
  return args.has(i) ? &args[i] : nullptr;
}

// Error 94 when one of the first `count` arguments is Null: some functions refuse Null
// arguments before they check anything else.
void refuseNullArgs(CallArgs args, std::size_t count);

enum class CompareMode { kBinary, kText };
// vbBinaryCompare (0) or vbTextCompare (1); a missing argument is binary, anything else raises 5.
CompareMode compareModeArg(CallArgs args, std::size_t i);

// The order of vbTextCompare: without regard to case, and with an accented letter next to its
// base letter (e, é, f), as the locale's collation sorts; accents only break ties.
int collateText(std::u16string_view a, std::u16string_view b) noexcept;

// Position (0-based) of needle in haystack at or after from; npos when absent.
std::size_t findText(std::u16string_view haystack, std::u16string_view needle, std::size_t from,
                     CompareMode mode) noexcept;

// A string of one unit. ASCII ones are shared per thread, so that character loops such as
// Mid(s, i, 1) allocate nothing.
Variant singleUnit(char16_t c);
// The empty string, shared per thread in the same way.
Variant emptyText();

// The decimal text of an Integer or Long, written into digits without an allocation: the
// numbers & and Join meet in string building. False for every other type.
inline bool integerDigits(const Variant& v, char16_t (&digits)[12], std::u16string_view& text) {
  std::int32_t n;
  if (v.type() == VarType::Long) {
    n = v.longValue();
  } else if (v.type() == VarType::Integer) {
    n = v.integerValue();
  } else {
    return false;
  }
  // Written from the end, straight as UTF-16; the magnitude as unsigned, so -2^31 has one.
  std::uint32_t magnitude =
      n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
  char16_t* const end = digits + 12;
  char16_t* at = end;
  do {
    *--at = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (n < 0) *--at = u'-';
  text = std::u16string_view(at, static_cast<std::size_t>(end - at));
  return true;
}

// Copies text to `at` and returns the end of the copy: pieces measured first are written into a
// string sized for all of them.
inline char16_t* putUnits(char16_t* at, std::u16string_view text) noexcept {
  if (!text.empty()) std::memcpy(at, text.data(), text.size() * sizeof(char16_t));
  return at + text.size();
}

// The text & takes of a String, Integer or Long, read without building a Variant: the operands
// string building meets. False for anything else, and for byte strings, which join byte-wise.
[[gnu::always_inline]] inline bool quickText(const Variant& v, char16_t (&digits)[12],
                                             std::u16string_view& text) {
  if (!v.isString()) return integerDigits(v, digits, text);
  if (v.hasOddByte()) return false;
  text = v.stringValue();
  return true;
}

// Longest string the functions build, as automation strings count bytes in 31 bits; longer
// results raise 14 (out of string space) instead of exhausting memory.
constexpr std::size_t kMaxStringUnits = 0x3FFFFFFF;
void checkStringLength(std::size_t units);

// The B-functions see a string as the bytes of its UTF-16LE form. An odd byte count is held
// by pairing the last byte with a zero byte and marking the string (Variant::hasOddByte), so
// that LenB, the other B-functions and & see the bytes as they were.
std::string stringBytes(std::u16string_view text, bool oddByte = false);
Variant bytesToString(std::string_view bytes);
// Bytes of a B-function argument: the raw bytes of a Byte array, else the text's UTF-16LE form.
std::string byteArgument(const Variant& v);
// Number of bytes of a string value, its odd byte counted.
std::size_t stringByteCount(const Variant& v) noexcept;
// a & b where either is a byte string of an odd length: the bytes are joined, so
// ChrB(104) & ChrB(105) is the one unit "hi" makes in UTF-16LE.
Variant joinBytes(const Variant& a, const Variant& b);

// Table pieces defined by the search, format and escape files.
Variant inStr(CallArgs args);
Variant inStrB(CallArgs args);
Variant inStrRev(CallArgs args);
Variant replace(CallArgs args);
Variant strComp(CallArgs args);
Variant formatNumber(CallArgs args);
Variant formatCurrency(CallArgs args);
Variant formatPercent(CallArgs args);
Variant escape(CallArgs args);
Variant unescape(CallArgs args);
Variant asc(CallArgs args);
Variant ascB(CallArgs args);
Variant ascW(CallArgs args);
Variant chr(CallArgs args);
Variant chrB(CallArgs args);
Variant chrW(CallArgs args);
Variant hex(CallArgs args);
Variant oct(CallArgs args);

}  // namespace vantorel::vbs::detail
