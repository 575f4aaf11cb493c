// IsArray, IsDate, IsEmpty, IsNull, IsNumeric, IsObject, TypeName, VarType.
#include <cstdint>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs {
namespace {

// The value a test looks at: objects with a default member give its value, other objects
// (and Nothing) stay objects.
Variant valueOf(const Variant& v) {
  if (!v.isObject() || v.isNothing()) return v;
  try {
    return defaultValue(v);
  } catch (const AutomationError&) {
    return v;
  }
}

std::u16string_view scalarTypeName(VarType t) {
  switch (t) {
    case VarType::Empty:
      return u"Empty";
    case VarType::Null:
      return u"Null";
    case VarType::Integer:
      return u"Integer";
    case VarType::Long:
      return u"Long";
    case VarType::Single:
      return u"Single";
    case VarType::Double:
      return u"Double";
    case VarType::Currency:
      return u"Currency";
    case VarType::Date:
      return u"Date";
    case VarType::String:
      return u"String";
    case VarType::Object:
      return u"Object";
    case VarType::Error:
      return u"Error";
    case VarType::Boolean:
      return u"Boolean";
    case VarType::Variant:
      return u"Variant";
    case VarType::Decimal:
      return u"Decimal";
    case VarType::Byte:
      return u"Byte";
    default:
      return u"Unknown";
  }
}

Variant isArrayFn(CallArgs a) {
  return Variant(a[0].isArray());
}

Variant isEmptyFn(CallArgs a) {
  return Variant(a[0].isEmpty());
}

Variant isNullFn(CallArgs a) {
  return Variant(a[0].isNull());
}

Variant isObjectFn(CallArgs a) {
  return Variant(a[0].isObject());
}

Variant isDateFn(CallArgs a) {
  const Variant v = valueOf(a[0]);
  if (v.type() == VarType::Date) return Variant(true);
  if (!v.isString()) return Variant(false);
  return Variant(parseDate(v.stringValue()).has_value());
}

Variant isNumericFn(CallArgs a) {
  const Variant v = valueOf(a[0]);
  if (v.type() == VarType::Empty || v.type() == VarType::Boolean || isNumericVarType(v.type())) {
    return Variant(true);
  }
  switch (v.type()) {
    case VarType::String:
      try {
        return Variant(parseNumber(v.stringValue()).has_value());
      } catch (const AutomationError&) {
        return Variant(false);  // a number beyond a Double's range
      }
    default:
      return Variant(false);
  }
}

Variant typeNameFn(CallArgs a) {
  const Variant& v = a[0];
  if (v.isArray()) {
    std::u16string name(scalarTypeName(v.arrayValue().elementType()));
    name += u"()";
    return Variant(std::move(name));
  }
  if (v.isObject()) {
    if (v.isNothing()) return Variant(u"Nothing");
    return Variant(v.objectValue()->typeName());
  }
  return Variant(scalarTypeName(v.type()));
}

Variant varTypeFn(CallArgs a) {
  const Variant& v = a[0];
  if (v.isObject() && !v.isNothing()) {
    // An object with a default member reports that member's type, as the reference says.
    const Variant value = valueOf(v);
    if (!value.isObject()) return Variant(static_cast<std::int16_t>(value.varType()));
  }
  return Variant(static_cast<std::int16_t>(v.varType()));
}

constexpr BuiltinFunction kFunctions[] = {
    {u"IsArray", 1, 1, isArrayFn},     {u"IsDate", 1, 1, isDateFn},
    {u"IsEmpty", 1, 1, isEmptyFn},     {u"IsNull", 1, 1, isNullFn},
    {u"IsNumeric", 1, 1, isNumericFn}, {u"IsObject", 1, 1, isObjectFn},
    {u"TypeName", 1, 1, typeNameFn},   {u"VarType", 1, 1, varTypeFn},
};

}  // namespace

std::span<const BuiltinFunction> typeFunctions() {
  return kFunctions;
}

}  // namespace vantorel::vbs
