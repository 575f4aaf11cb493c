#pragma once
// Typed conversion of stored setting values by data type name ("Boolean", "Integer", "Long",
// "Single", "Double", "String"; compared without regard to case).
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"

namespace vantorel {

// The value converted to the named type, a "String" value without its enclosing quotes; an
// unknown type name returns the value as it is. A failed conversion gives Empty, never an error.
Variant ConvertSetting(const Variant& value, const Variant& typeName);
// As ConvertSetting, but a "String" value keeps its quotes.
Variant ConvertValue(const Variant& value, const Variant& typeName);

// Trims, then removes matching enclosing double or single quotes, repeatedly.
std::u16string StripQuotes(std::u16string_view text);

}  // namespace vantorel
