// Array, Split, Join, Filter, LBound and UBound.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/sys/block_pages.hpp"
#include "platform/vbscript/runtime/builtins.hpp"
#include "platform/vbscript/runtime/string_support.hpp"

namespace vantorel::vbs {

namespace {

using detail::CompareMode;
using detail::optionalArg;
using detail::TextArg;

Variant arrayOf(std::vector<Variant> values) {
  return Variant(SafeArray::fromValues(std::move(values)));
}

// The one-dimensional array Join and Filter work on: Null raises 94, a non-array 13, and an
// array of another rank 5.
const SafeArray& listArg(const Variant& v) {
  if (v.isNull()) raiseVbError(vberr::kInvalidUseOfNull);
  if (!v.isArray()) raiseVbError(vberr::kTypeMismatch);
  const SafeArray& array = v.arrayValue();
  if (array.rank() != 1) raiseVbError(vberr::kInvalidProcedureCall);
  return array;
}

Variant array(CallArgs args) {
  std::vector<Variant> values;
  values.reserve(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) values.push_back(args[i]);
  return arrayOf(std::move(values));
}

// Split(expression[, delimiter[, count[, compare]]]): count -1 splits at every delimiter, else
// the last part holds the unsplit rest.
Variant split(CallArgs args) {
  std::int32_t count = -1;
  if (const Variant* arg = optionalArg(args, 2)) {
    count = toLong(*arg);
    if (count < -1) raiseVbError(vberr::kInvalidProcedureCall);
  }
  const CompareMode mode = detail::compareModeArg(args, 3);
  const TextArg expression(args[0]);
  const Variant* delimiterArg = optionalArg(args, 1);
  static const Variant space(std::u16string(u" "));  // only read, so shared safely
  const TextArg delimiter(delimiterArg ? *delimiterArg : space);

  std::vector<Variant> parts;
  const std::u16string_view text = expression.view();
  const std::u16string_view sep = delimiter.view();
  if (text.empty() || count == 0) return arrayOf({});
  std::size_t pos = 0;
  if (!sep.empty()) {
    while (count == -1 || parts.size() + 1 < static_cast<std::size_t>(count)) {
      const std::size_t hit = detail::findText(text, sep, pos, mode);
      if (hit == std::u16string_view::npos) break;
      parts.emplace_back(text.substr(pos, hit - pos));
      pos = hit + sep.size();
    }
  }
  parts.emplace_back(text.substr(pos));
  return arrayOf(std::move(parts));
}

// The text of a string builder's usual pieces, made without a string of its own: text, whole
// numbers, Booleans and Empty. False for anything else (an object's default value, a date...).
bool pieceText(const Variant& v, char16_t (&digits)[12], std::u16string_view& text) {
  if (v.isString()) {
    text = v.stringValue();
    return true;
  }
  if (v.isArray()) return false;
  switch (v.type()) {
    case VarType::Empty:
      text = {};
      return true;
    case VarType::Boolean:
      text = v.boolValue() ? u"True" : u"False";
      return true;
    default:
      return detail::integerDigits(v, digits, text);
  }
}

// Copies a piece of text; the short pieces a builder appends take no call of memcpy: two
// fixed-size copies that overlap in the middle.
inline char16_t* putShortUnits(char16_t* at, std::u16string_view text) noexcept {
  const std::size_t n = text.size();
  const char16_t* from = text.data();
  if (n >= 8 && n <= 16) {
    std::memcpy(at, from, 8 * sizeof(char16_t));
    std::memcpy(at + n - 8, from + n - 8, 8 * sizeof(char16_t));
  } else if (n >= 4 && n < 8) {
    std::memcpy(at, from, 4 * sizeof(char16_t));
    std::memcpy(at + n - 4, from + n - 4, 4 * sizeof(char16_t));
  } else if (n < 4) {
    if (n > 0) at[0] = from[0];
    if (n > 1) at[1] = from[1];
    if (n > 2) at[2] = from[2];
  } else {
    return detail::putUnits(at, text);
  }
  return at + n;
}

// The text of a join, written once: a string can only be given a length by writing it, so the
// pieces gather in a small buffer that stays in the processor's cache and go into the string,
// reserved at its full length, a buffer at a time. A run of copies of one piece (a builder's
// pieces are often one shared string) fills the buffer once and is appended from it as often
// as it takes.
class JoinedText {
 public:
  explicit JoinedText(std::size_t units) {
    // The pages of a text of many megabytes (a string builder's result) are faulted in before
    // it is filled: a few dozen calls into the kernel instead of tens of thousands of faults.
    constexpr std::size_t kFaultInFrom = 4 * 1024 * 1024;  // units
    out_.reserve(units);
    if (units >= kFaultInFrom) {
      sys::BlockPages pages;
      pages.adopt(out_.data(), units * sizeof(char16_t));
      pages.faultIn(out_.data(), units * sizeof(char16_t));
    }
  }

  void put(std::u16string_view text) {
    if (text.size() > kUnits - used_) {
      flush();
      if (text.size() > kUnits) {
        out_.append(text);
        return;
      }
    }
    putShortUnits(buffer_.data() + used_, text);
    used_ += text.size();
  }

  // count times `first` followed by `second` (a delimiter and a piece).
  void putRepeated(std::u16string_view first, std::u16string_view second, std::size_t count) {
    const std::size_t unit = first.size() + second.size();
    if (unit == 0) return;
    if (unit > kUnits / 4 || count <= (kUnits - used_) / unit) {
      // Long pieces, or few enough to go into the buffer as they are.
      for (std::size_t i = 0; i < count; ++i) {
        put(first);
        put(second);
      }
      return;
    }
    flush();
    const std::size_t perBuffer = kUnits / unit;
    for (std::size_t i = 0; i < std::min(perBuffer, count); ++i) {
      put(first);
      put(second);
    }
    for (; count >= perBuffer; count -= perBuffer) out_.append(buffer_.data(), perBuffer * unit);
    // The copies left over are the buffer's first ones.
    used_ = count * unit;
  }

  std::u16string finish() {
    flush();
    return std::move(out_);
  }

 private:
  void flush() {
    out_.append(buffer_.data(), used_);
    used_ = 0;
  }

  static constexpr std::size_t kUnits = 1024;
  std::u16string out_;
  std::array<char16_t, kUnits> buffer_{};
  std::size_t used_ = 0;
};

Variant join(CallArgs args) {
  const SafeArray& list = listArg(args[0]);
  const Variant* delimiterArg = optionalArg(args, 1);
  std::u16string delimiter = delimiterArg ? toString(*delimiterArg) : std::u16string(u" ");
  // A string builder's pieces are measured first and written into the text sized once, a run
  // of one string at a time. Any other element sends the whole join down the general path.
  std::size_t total = list.size() > 0 ? delimiter.size() * (list.size() - 1) : 0;
  bool plain = true;
  char16_t digits[12];
  std::u16string_view text;
  const Variant* const begin = list.elements().data();
  const Variant* const end = begin + list.size();
  // Where the first runs of one string end, so that filling the text need not walk them again
  // (a builder's buffer is often one run). Nothing runs between the two walks: they find the
  // same runs.
  std::array<const Variant*, 16> runEnds{};
  std::size_t runsKept = 0;
  for (const Variant* element = begin; element != end;) {
    if (element->isString()) {
      const Variant* runEnd = Variant::endOfSharedText(element, end);
      if (runsKept < runEnds.size()) runEnds[runsKept++] = runEnd;
      total += element->stringValue().size() * static_cast<std::size_t>(runEnd - element);
      element = runEnd;
      continue;
    }
    if (!pieceText(*element, digits, text)) {
      plain = false;
      break;
    }
    total += text.size();
    ++element;
  }
  if (plain) {
    detail::checkStringLength(total);
    JoinedText out(total);
    std::size_t run = 0;
    for (const Variant* element = begin; element != end;) {
      const Variant* const runStart = element;
      if (element->isString()) {
        element = run < runsKept ? runEnds[run++] : Variant::endOfSharedText(element, end);
        text = runStart->stringValue();
      } else {
        pieceText(*element, digits, text);
        ++element;
      }
      auto count = static_cast<std::size_t>(element - runStart);
      if (runStart == begin) {
        // The first piece has no delimiter before it.
        out.put(text);
        --count;
      }
      out.putRepeated(delimiter, text, count);
    }
    return Variant(out.finish());
  }
  std::u16string out;
  bool first = true;
  for (const Variant& element : list.elements()) {
    if (!first) out += delimiter;
    first = false;
    if (element.isString()) {
      out += element.stringValue();
    } else {
      out += toString(element);
    }
    detail::checkStringLength(out.size());
  }
  return Variant(std::move(out));
}

// Filter(inputstrings, value[, include[, compare]]): the elements that contain value (or, with
// include False, those that do not), as a new array from 0.
Variant filter(CallArgs args) {
  const SafeArray& list = listArg(args[0]);
  const TextArg value(args[1]);
  const Variant* includeArg = optionalArg(args, 2);
  const bool include = includeArg ? toBool(*includeArg) : true;
  const CompareMode mode = detail::compareModeArg(args, 3);
  std::vector<Variant> kept;
  for (const Variant& element : list.elements()) {
    const TextArg text(element);
    const bool found =
        detail::findText(text.view(), value.view(), 0, mode) != std::u16string_view::npos;
    if (found == include) kept.emplace_back(text.view());
  }
  return arrayOf(std::move(kept));
}

// The bound of a dimension (from 1); an uninitialised array has none, so any dimension is 9.
const ArrayBound& boundArg(CallArgs args) {
  const Variant& v = args[0];
  if (!v.isArray()) raiseVbError(vberr::kTypeMismatch);
  std::int32_t dimension = 1;
  if (const Variant* arg = optionalArg(args, 1)) dimension = toLong(*arg);
  const SafeArray& array = v.arrayValue();
  if (dimension < 1 || static_cast<std::size_t>(dimension) > array.rank()) {
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return array.bound(static_cast<std::size_t>(dimension));
}

Variant lBound(CallArgs args) {
  return Variant(boundArg(args).lower);
}
Variant uBound(CallArgs args) {
  return Variant(boundArg(args).upper());
}

constexpr std::array kArrayFunctions{
    BuiltinFunction{u"Array", 0, -1, array},  BuiltinFunction{u"Split", 1, 4, split},
    BuiltinFunction{u"Join", 1, 2, join},     BuiltinFunction{u"Filter", 2, 4, filter},
    BuiltinFunction{u"LBound", 1, 2, lBound}, BuiltinFunction{u"UBound", 1, 2, uBound},
};

}  // namespace

std::span<const BuiltinFunction> arrayFunctions() {
  return kArrayFunctions;
}

}  // namespace vantorel::vbs
