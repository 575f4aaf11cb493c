#include "platform/vbscript/runtime/string_support.hpp"

#include <array>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel::vbs::detail {

TextArg::TextArg(const Variant& v) {
  if (v.isString()) {
    view_ = v.stringValue();
  } else {
    owned_ = toString(v);
    view_ = owned_;
  }
}

PlainArg::PlainArg(const Variant& v) : value_(&v) {
  if (v.isObject()) {
    holder_ = defaultValue(v);
    value_ = &holder_;
  }
}

Variant singleUnit(char16_t c) {
  if (c >= 128) return Variant(std::u16string(1, c));
  thread_local const std::array<Variant, 128> ascii = [] {
    std::array<Variant, 128> units;
    for (std::size_t i = 0; i < units.size(); ++i) {
      units[i] = Variant(std::u16string(1, static_cast<char16_t>(i)));
    }
    return units;
  }();
  return ascii[c];
}

Variant emptyText() {
  thread_local const Variant empty{std::u16string()};
  return empty;
}

void checkStringLength(std::size_t units) {
  if (units > kMaxStringUnits) raiseVbError(vberr::kOutOfStringSpace);
}

void refuseNullArgs(CallArgs args, std::size_t count) {
  for (std::size_t i = 0; i < count && i < args.size(); ++i) {
    if (args[i].isNull()) raiseVbError(vberr::kInvalidUseOfNull);
  }
}

CompareMode compareModeArg(CallArgs args, std::size_t i) {
  const Variant* arg = optionalArg(args, i);
  if (!arg) return CompareMode::kBinary;
  switch (toLong(*arg)) {
    case 0:
      return CompareMode::kBinary;
    case 1:
      return CompareMode::kText;
    default:
      raiseVbError(vberr::kInvalidProcedureCall);
  }
}

std::size_t findText(std::u16string_view haystack, std::u16string_view needle, std::size_t from,
                     CompareMode mode) noexcept {
  return mode == CompareMode::kBinary ? vantorel::findText(haystack, needle, from)
                                      : findTextNoCase(haystack, needle, from);
}

std::string stringBytes(std::u16string_view text, bool oddByte) {
  std::string bytes;
  bytes.resize(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  if (oddByte && !bytes.empty()) bytes.pop_back();
  return bytes;
}

std::size_t stringByteCount(const Variant& v) noexcept {
  return v.stringValue().size() * 2 - (v.hasOddByte() ? 1 : 0);
}

Variant joinBytes(const Variant& a, const Variant& b) {
  const std::size_t total = stringByteCount(a) + stringByteCount(b);
  checkStringLength((total + 1) / 2);
  std::string bytes = stringBytes(a.stringValue(), a.hasOddByte());
  bytes += stringBytes(b.stringValue(), b.hasOddByte());
  return bytesToString(bytes);
}

namespace {

// The base letter of each of U+00C0 to U+017F; '.' where there is none (×, ÷, Þ, þ, ŉ).
constexpr std::u16string_view kBaseLetters =
    u"AAAAAAACEEEEIIIIDNOOOOO.OUUUUY.saaaaaaaceeeeiiiidnooooo.ouuuuy.y"
    u"AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNn.Nn"
    u"OoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

char16_t primaryKey(char16_t c) noexcept {
  if (c >= 0xC0 && c < 0xC0 + kBaseLetters.size()) {
    const char16_t base = kBaseLetters[c - 0xC0];
    if (base != u'.') c = base;
  }
  return toLowerChar(c);
}

}  // namespace

int collateText(std::u16string_view a, std::u16string_view b) noexcept {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = primaryKey(a[i]);
    const char16_t y = primaryKey(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return compareNoCase(a, b);
}

Variant bytesToString(std::string_view bytes) {
  std::u16string text((bytes.size() + 1) / 2, u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    text[i / 2] = static_cast<char16_t>(text[i / 2] | (i % 2 ? byte << 8 : byte));
  }
  return Variant::byteString(std::move(text), bytes.size() % 2 != 0);
}

std::string byteArgument(const Variant& v) {
  if (v.isArray()) {
    const SafeArray& array = v.arrayValue();
    if (array.elementType() != VarType::Byte) raiseVbError(vberr::kTypeMismatch);
    std::string bytes;
    bytes.reserve(array.size());
    for (const Variant& element : array.elements()) {
      bytes.push_back(static_cast<char>(toByte(element)));
    }
    return bytes;
  }
  if (v.isString()) return stringBytes(v.stringValue(), v.hasOddByte());
  return stringBytes(toString(v));
}

}  // namespace vantorel::vbs::detail
