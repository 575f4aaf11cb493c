// Character codes (Asc, Chr and their byte and wide forms) and the radix forms Hex and Oct.
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/code_page.hpp"
#include "platform/vbscript/runtime/string_support.hpp"

namespace vantorel::vbs::detail {

namespace {

char16_t firstUnit(const Variant& v) {
  const TextArg text(v);
  if (text.size() == 0) raiseVbError(vberr::kInvalidProcedureCall);
  return text.view()[0];
}

std::int32_t codeArg(const Variant& v, std::int32_t lowest, std::int32_t highest) {
  const std::int32_t code = toLong(v);
  if (code < lowest || code > highest) raiseVbError(vberr::kInvalidProcedureCall);
  return code;
}

// Digits of bits in base 2^shift, without leading zeros.
std::u16string radixText(std::uint32_t bits, int shift) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const std::uint32_t mask = (1u << shift) - 1;
  std::u16string out;
  do {
    out.insert(out.begin(), kDigits[bits & mask]);
    bits >>= shift;
  } while (bits != 0);
  return out;
}

// Hex and Oct show negative 16-bit values (Integer, Boolean) in 16 bits and everything else,
// converted to Long, in 32 bits: Hex(-1) is "FFFF" but Hex(CLng(-1)) is "FFFFFFFF".
Variant radix(const Variant& arg, int shift) {
  const Variant v = defaultValue(arg);
  std::uint32_t bits;
  switch (v.type()) {
    case VarType::Null:
      return Variant::null();
    case VarType::Empty:
      return Variant(std::u16string(u"0"));
    case VarType::Integer:
      bits = static_cast<std::uint16_t>(v.integerValue());
      break;
    case VarType::Boolean:
      bits = v.boolValue() ? 0xFFFFu : 0u;
      break;
    case VarType::Byte:
      bits = v.byteValue();
      break;
    default:
      bits = static_cast<std::uint32_t>(toLong(v));
      break;
  }
  return Variant(radixText(bits, shift));
}

}  // namespace

// The code in the system code page; a character it lacks encodes as '?'. A two-byte result
// (a double-byte code page) is returned as one number, as on such systems.
Variant asc(CallArgs args) {
  const char16_t unit = firstUnit(args[0]);
  const std::string bytes = toAnsi(std::u16string_view(&unit, 1));
  if (bytes.size() == 2) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return Variant(static_cast<std::int16_t>((lead << 8) | trail));
  }
  const auto code = bytes.size() == 1 ? static_cast<unsigned char>(bytes[0]) : u'?';
  return Variant(static_cast<std::int16_t>(code));
}

Variant ascB(CallArgs args) {
  const std::string bytes = byteArgument(args[0]);
  if (bytes.empty()) raiseVbError(vberr::kInvalidProcedureCall);
  return Variant(static_cast<std::int16_t>(static_cast<unsigned char>(bytes[0])));
}

// An Integer, so units above 32767 come back negative, as they do in VBScript.
Variant ascW(CallArgs args) {
  return Variant(static_cast<std::int16_t>(firstUnit(args[0])));
}

Variant chr(CallArgs args) {
  const char byte = static_cast<char>(codeArg(args[0], 0, 255));
  return Variant(fromAnsi(std::string_view(&byte, 1)));
}

Variant chrB(CallArgs args) {
  const char byte = static_cast<char>(codeArg(args[0], 0, 255));
  return bytesToString(std::string_view(&byte, 1));
}

Variant chrW(CallArgs args) {
  const std::int32_t code = codeArg(args[0], -32768, 65535);
  return singleUnit(static_cast<char16_t>(code & 0xFFFF));
}

Variant hex(CallArgs args) {
  return radix(args[0], 4);
}

Variant oct(CallArgs args) {
  return radix(args[0], 3);
}

}  // namespace vantorel::vbs::detail
