// CBool ... CStr: each is the platform conversion, returning the Variant subtype its name says.
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs {
namespace {

// The conversion of the argument, as the Variant subtype the conversion returns.
template <auto Convert>
Variant convertFn(CallArgs a) {
  return Variant(Convert(a[0]));
}
// toDate gives the OLE date as a plain double; CDate's result is a Date.
Variant cDate(CallArgs a) {
  return Variant::date(toDate(a[0]));
}

constexpr BuiltinFunction kFunctions[] = {
    {u"CBool", 1, 1, convertFn<toBool>},    {u"CByte", 1, 1, convertFn<toByte>},
    {u"CCur", 1, 1, convertFn<toCurrency>}, {u"CDate", 1, 1, cDate},
    {u"CDbl", 1, 1, convertFn<toDouble>},   {u"CInt", 1, 1, convertFn<toInteger>},
    {u"CLng", 1, 1, convertFn<toLong>},     {u"CSng", 1, 1, convertFn<toSingle>},
    {u"CStr", 1, 1, convertFn<toString>},
};

}  // namespace

std::span<const BuiltinFunction> conversionFunctions() {
  return kFunctions;
}

}  // namespace vantorel::vbs
