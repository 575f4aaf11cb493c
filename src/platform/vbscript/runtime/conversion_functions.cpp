// CBool ... CStr: each is the platform conversion, returning the Variant subtype its name says.
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs {
namespace {

Variant cBool(CallArgs a) {
  return Variant(toBool(a[0]));
}
Variant cByte(CallArgs a) {
  return Variant(toByte(a[0]));
}
Variant cCur(CallArgs a) {
  return Variant(toCurrency(a[0]));
}
Variant cDate(CallArgs a) {
  return Variant::date(toDate(a[0]));
}
Variant cDbl(CallArgs a) {
  return Variant(toDouble(a[0]));
}
Variant cInt(CallArgs a) {
  return Variant(toInteger(a[0]));
}
Variant cLng(CallArgs a) {
  return Variant(toLong(a[0]));
}
Variant cSng(CallArgs a) {
  return Variant(toSingle(a[0]));
}
Variant cStr(CallArgs a) {
  return Variant(toString(a[0]));
}

constexpr BuiltinFunction kFunctions[] = {
    {u"CBool", 1, 1, cBool}, {u"CByte", 1, 1, cByte}, {u"CCur", 1, 1, cCur},
    {u"CDate", 1, 1, cDate}, {u"CDbl", 1, 1, cDbl},   {u"CInt", 1, 1, cInt},
    {u"CLng", 1, 1, cLng},   {u"CSng", 1, 1, cSng},   {u"CStr", 1, 1, cStr},
};

}  // namespace

std::span<const BuiltinFunction> conversionFunctions() {
  return kFunctions;
}

}  // namespace vantorel::vbs
