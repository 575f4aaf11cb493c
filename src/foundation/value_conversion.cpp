#include "foundation/value_conversion.hpp"

#include <exception>

#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

Variant convertByType(const Variant& value, const Variant& typeName, bool stripStringQuotes) {
  try {
    // A Null type name matches no type, so the value passes unchanged.
    const std::u16string type = typeName.isNull() ? std::u16string() : toLower(toString(typeName));
    if (type == u"boolean") return Variant(toBool(value));
    if (type == u"integer") return Variant(toInteger(value));
    if (type == u"long") return Variant(toLong(value));
    if (type == u"single") return Variant(toSingle(value));
    if (type == u"double") return Variant(toDouble(value));
    if (type == u"string" && stripStringQuotes) return Variant(StripQuotes(toString(value)));
    return value;
  } catch (const std::exception&) {
    // Stored values come from files and the registry; a bad one must not stop a load.
    return Variant();
  }
}

}  // namespace

Variant ConvertSetting(const Variant& value, const Variant& typeName) {
  return convertByType(value, typeName, true);
}

Variant ConvertValue(const Variant& value, const Variant& typeName) {
  return convertByType(value, typeName, false);
}

std::u16string StripQuotes(std::u16string_view text) {
  std::u16string_view s = trimBlanks(text);
  while (s.size() >= 2 && (s.front() == u'"' || s.front() == u'\'') && s.back() == s.front()) {
    s = trimBlanks(s.substr(1, s.size() - 2));
  }
  return std::u16string(s);
}

}  // namespace vantorel
