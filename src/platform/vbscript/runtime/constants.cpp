// The vb* constants. Each number has the subtype it would have written as a literal: Integer
// when it fits, else Long; the colour constants and the message box's extra options
// (help button, foreground, right-to-left) are Long whatever their value.
#include <cstdint>

#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs {
namespace {

Variant number(std::int32_t v) {
  if (v >= -32768 && v <= 32767) return Variant(static_cast<std::int16_t>(v));
  return Variant(v);
}

Variant text(char16_t c) {
  return Variant(std::u16string(1, c));
}

std::vector<BuiltinConstant> makeConstants() {
  struct Numeric {
    std::u16string_view name;
    std::int32_t value;
    bool isLong = false;
  };
  static constexpr Numeric kNumbers[] = {
      // Colours
      {u"vbBlack", 0x000000, true},
      {u"vbRed", 0x0000FF, true},
      {u"vbGreen", 0x00FF00, true},
      {u"vbYellow", 0x00FFFF, true},
      {u"vbBlue", 0xFF0000, true},
      {u"vbMagenta", 0xFF00FF, true},
      {u"vbCyan", 0xFFFF00, true},
      {u"vbWhite", 0xFFFFFF, true},
      // Comparison
      {u"vbBinaryCompare", 0},
      {u"vbTextCompare", 1},
      {u"vbDatabaseCompare", 2},
      // Days, weeks and date formats
      {u"vbUseSystemDayOfWeek", 0},
      {u"vbSunday", 1},
      {u"vbMonday", 2},
      {u"vbTuesday", 3},
      {u"vbWednesday", 4},
      {u"vbThursday", 5},
      {u"vbFriday", 6},
      {u"vbSaturday", 7},
      {u"vbUseSystem", 0},
      {u"vbFirstJan1", 1},
      {u"vbFirstFourDays", 2},
      {u"vbFirstFullWeek", 3},
      {u"vbGeneralDate", 0},
      {u"vbLongDate", 1},
      {u"vbShortDate", 2},
      {u"vbLongTime", 3},
      {u"vbShortTime", 4},
      // Errors
      {u"vbObjectError", -2147221504},
      // MsgBox styles and answers
      {u"vbOKOnly", 0},
      {u"vbOKCancel", 1},
      {u"vbAbortRetryIgnore", 2},
      {u"vbYesNoCancel", 3},
      {u"vbYesNo", 4},
      {u"vbRetryCancel", 5},
      {u"vbCritical", 16},
      {u"vbQuestion", 32},
      {u"vbExclamation", 48},
      {u"vbInformation", 64},
      {u"vbDefaultButton1", 0},
      {u"vbDefaultButton2", 256},
      {u"vbDefaultButton3", 512},
      {u"vbDefaultButton4", 768},
      {u"vbApplicationModal", 0},
      {u"vbSystemModal", 4096},
      {u"vbMsgBoxHelpButton", 16384, true},
      {u"vbMsgBoxSetForeground", 65536, true},
      {u"vbMsgBoxRight", 524288, true},
      {u"vbMsgBoxRtlReading", 1048576, true},
      {u"vbOK", 1},
      {u"vbCancel", 2},
      {u"vbAbort", 3},
      {u"vbRetry", 4},
      {u"vbIgnore", 5},
      {u"vbYes", 6},
      {u"vbNo", 7},
      // Tristate
      {u"vbUseDefault", -2},
      {u"vbTrue", -1},
      {u"vbFalse", 0},
      // VarType
      {u"vbEmpty", 0},
      {u"vbNull", 1},
      {u"vbInteger", 2},
      {u"vbLong", 3},
      {u"vbSingle", 4},
      {u"vbDouble", 5},
      {u"vbCurrency", 6},
      {u"vbDate", 7},
      {u"vbString", 8},
      {u"vbObject", 9},
      {u"vbError", 10},
      {u"vbBoolean", 11},
      {u"vbVariant", 12},
      {u"vbDataObject", 13},
      {u"vbDecimal", 14},
      {u"vbByte", 17},
      {u"vbArray", 8192},
  };

  std::vector<BuiltinConstant> out;
  out.reserve(std::size(kNumbers) + 11);
  out.push_back({u"vbCr", text(u'\r')});
  out.push_back({u"vbLf", text(u'\n')});
  out.push_back({u"vbCrLf", Variant(u"\r\n")});
  out.push_back({u"vbNewLine", Variant(u"\r\n")});
  out.push_back({u"vbNullChar", text(u'\0')});
  out.push_back({u"vbNullString", Variant(u"")});
  out.push_back({u"vbTab", text(u'\t')});
  out.push_back({u"vbVerticalTab", text(u'\v')});
  out.push_back({u"vbFormFeed", text(u'\f')});
  out.push_back({u"vbBack", text(u'\b')});
  for (const Numeric& n : kNumbers) {
    out.push_back({n.name, n.isLong ? Variant(n.value) : number(n.value)});
  }
  return out;
}

}  // namespace

const std::vector<BuiltinConstant>& builtinConstants() {
  // Per thread: Variant reference counts are not atomic, and scripts on several threads copy
  // these values (vbCrLf and the other strings) all the time.
  thread_local const std::vector<BuiltinConstant> constants = makeConstants();
  return constants;
}

}  // namespace vantorel::vbs
