#pragma once
// "Type:text" of a Variant, so that table tests compare type and value in one readable string.
#include <string>

#include "platform/automation/variant.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {

inline std::string describe(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Boolean:
      return v.boolValue() ? "Boolean:True" : "Boolean:False";
    case VarType::Integer:
      return "Integer:" + toUtf8(toString(v));
    case VarType::Long:
      return "Long:" + toUtf8(toString(v));
    case VarType::Single:
      return "Single:" + toUtf8(toString(v));
    case VarType::Double:
      return "Double:" + toUtf8(toString(v));
    case VarType::String:
      return "String:" + toUtf8(v.stringValue());
    case VarType::Date:
      return "Date:" + toUtf8(toString(v));
    default:
      return "VarType " + std::to_string(v.varType());
  }
}

}  // namespace vantorel::test
