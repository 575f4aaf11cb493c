// CBool ... CStr: each is the platform conversion, returning the Variant subtype its name says.
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs {
namespace {

// The conversion of the argument, as the Variant subtype the conversion returns.
template <auto Convert>
Variant convertFn(CallArgs a) {
  return Variant(Convert(a[0]));
}
// toDate gives the OLE date as a plain double; CDate's result is a Date. Text that is no date
// but a number is that number of days: CDate("1") is 1899-12-31.
Variant cDate(CallArgs a) {
  if (a[0].isString()) {
    if (!parseDate(a[0].stringValue())) {
      if (std::optional<Variant> days = parseNumber(a[0].stringValue())) {
        return Variant::date(toDate(*days));
      }
    }
  }
  return Variant::date(toDate(a[0]));
}

// CBool also reads the texts "#TRUE#" and "#FALSE#", the form Write # gives Booleans.
Variant cBool(CallArgs a) {
  if (a[0].isString()) {
    std::u16string_view text = a[0].stringValue();
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    if (equalsNoCase(text, u"#TRUE#")) return Variant(true);
    if (equalsNoCase(text, u"#FALSE#")) return Variant(false);
  }
  return Variant(toBool(a[0]));
}

constexpr BuiltinFunction kFunctions[] = {
    {u"CBool", 1, 1, cBool},    {u"CByte", 1, 1, convertFn<toByte>},
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
