// Searching and comparing text: InStr, InStrB, InStrRev, Replace and StrComp.
#include <optional>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/runtime/string_support.hpp"

namespace vantorel::vbs::detail {

namespace {

// InStr and InStrB take an optional leading start: InStr([start,] string1, string2[, compare]).
struct InStrArgs {
  std::size_t start = 1;
  std::size_t first = 0;  // index of string1
};

InStrArgs inStrArgs(CallArgs args) {
  InStrArgs out;
  if (args.size() > 2) {
    out.first = 1;
    if (args.has(0)) {
      const std::int32_t start = toLong(args[0]);
      if (start < 1) raiseVbError(vberr::kInvalidProcedureCall);
      out.start = static_cast<std::size_t>(start);
    }
  }
  return out;
}

// The answer InStr and InStrB give from the lengths alone; nothing when a search is needed.
std::optional<std::size_t> lengthRule(std::size_t start, std::size_t haystack, std::size_t needle) {
  if (haystack == 0 || start > haystack) return 0;
  if (needle == 0) return start;
  return std::nullopt;
}

std::size_t findLast(std::u16string_view haystack, std::u16string_view needle, std::size_t end,
                     CompareMode mode) noexcept {
  // A match must end at or before `end` (a count of units from the left).
  if (needle.size() > end) return std::u16string_view::npos;
  const std::size_t lastStart = end - needle.size();
  if (mode == CompareMode::kBinary) return haystack.rfind(needle, lastStart);
  for (std::size_t i = lastStart + 1; i-- > 0;) {
    std::size_t j = 0;
    while (j < needle.size() && toLowerChar(haystack[i + j]) == toLowerChar(needle[j])) ++j;
    if (j == needle.size()) return i;
  }
  return std::u16string_view::npos;
}

int sign(int n) {
  return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

}  // namespace

Variant inStr(CallArgs args) {
  const InStrArgs at = inStrArgs(args);
  const CompareMode mode = compareModeArg(args, at.first + 2);
  const PlainArg s1(args[at.first]);
  const PlainArg s2(args[at.first + 1]);
  if (s1->isNull() || s2->isNull()) return Variant::null();
  const TextArg haystack(*s1);
  const TextArg needle(*s2);
  if (const auto ruled = lengthRule(at.start, haystack.size(), needle.size())) {
    return Variant(static_cast<std::int32_t>(*ruled));
  }
  const std::size_t hit = findText(haystack.view(), needle.view(), at.start - 1, mode);
  return Variant(static_cast<std::int32_t>(hit == std::u16string_view::npos ? 0 : hit + 1));
}

// Byte positions over the UTF-16LE bytes; the compare argument is accepted but bytes compare
// as they are.
Variant inStrB(CallArgs args) {
  const InStrArgs at = inStrArgs(args);
  compareModeArg(args, at.first + 2);
  const PlainArg s1(args[at.first]);
  const PlainArg s2(args[at.first + 1]);
  if (s1->isNull() || s2->isNull()) return Variant::null();
  const std::string haystack = byteArgument(*s1);
  const std::string needle = byteArgument(*s2);
  if (const auto ruled = lengthRule(at.start, haystack.size(), needle.size())) {
    return Variant(static_cast<std::int32_t>(*ruled));
  }
  const std::size_t hit = haystack.find(needle, at.start - 1);
  return Variant(static_cast<std::int32_t>(hit == std::string::npos ? 0 : hit + 1));
}

// InStrRev(string1, string2[, start[, compare]]): start -1 (the default) means the end.
Variant inStrRev(CallArgs args) {
  // Null text to find is refused first; a Null text to search in gives Null.
  if (args[1].isNull()) raiseVbError(vberr::kInvalidUseOfNull);
  std::int32_t start = -1;
  if (const Variant* arg = optionalArg(args, 2)) {
    start = toLong(*arg);
    if (start == 0 || start < -1) raiseVbError(vberr::kInvalidProcedureCall);
  }
  const CompareMode mode = compareModeArg(args, 3);
  const PlainArg s1(args[0]);
  const PlainArg s2(args[1]);
  if (s1->isNull() || s2->isNull()) return Variant::null();
  const TextArg haystack(*s1);
  const TextArg needle(*s2);
  if (haystack.size() == 0) return Variant(std::int32_t{0});
  const std::size_t end = start == -1 ? haystack.size() : static_cast<std::size_t>(start);
  if (end > haystack.size()) return Variant(std::int32_t{0});
  if (needle.size() == 0) return Variant(static_cast<std::int32_t>(end));
  const std::size_t hit = findLast(haystack.view(), needle.view(), end, mode);
  return Variant(static_cast<std::int32_t>(hit == std::u16string_view::npos ? 0 : hit + 1));
}

// Replace(expression, find, replacewith[, start[, count[, compare]]]). The result starts at
// `start`: the text before it is dropped, as VBScript does. No argument may be Null.
Variant replace(CallArgs args) {
  refuseNullArgs(args, 6);
  std::size_t start = 1;
  if (const Variant* arg = optionalArg(args, 3)) {
    const std::int32_t n = toLong(*arg);
    if (n < 1) raiseVbError(vberr::kInvalidProcedureCall);
    start = static_cast<std::size_t>(n);
  }
  std::int32_t count = -1;
  if (const Variant* arg = optionalArg(args, 4)) {
    count = toLong(*arg);
    if (count < -1) raiseVbError(vberr::kInvalidProcedureCall);
  }
  const CompareMode mode = compareModeArg(args, 5);
  const TextArg expression(args[0]);
  const TextArg find(args[1]);
  const TextArg with(args[2]);
  if (start > expression.size()) return emptyText();
  const std::u16string_view text = expression.view().substr(start - 1);
  const std::u16string_view from = find.view();

  std::size_t hit =
      from.empty() || count == 0 ? std::u16string_view::npos : findText(text, from, 0, mode);
  if (hit == std::u16string_view::npos) {
    if (start == 1 && args[0].isString()) return args[0];
    return Variant(text);
  }
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  std::int32_t done = 0;
  while (hit != std::u16string_view::npos) {
    out.append(text.substr(pos, hit - pos));
    out.append(with.view());
    checkStringLength(out.size());
    pos = hit + from.size();
    if (++done == count) break;
    hit = findText(text, from, pos, mode);
  }
  out.append(text.substr(pos));
  checkStringLength(out.size());
  return Variant(std::move(out));
}

// An Integer -1, 0 or 1; Null when either string is Null.
Variant strComp(CallArgs args) {
  const CompareMode mode = compareModeArg(args, 2);
  const PlainArg s1(args[0]);
  const PlainArg s2(args[1]);
  if (s1->isNull() || s2->isNull()) return Variant::null();
  const TextArg a(*s1);
  const TextArg b(*s2);
  const int order = mode == CompareMode::kBinary ? compareOrdinal(a.view(), b.view())
                                                 : collateText(a.view(), b.view());
  return Variant(static_cast<std::int16_t>(sign(order)));
}

}  // namespace vantorel::vbs::detail
