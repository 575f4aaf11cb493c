#pragma once
// Calling runtime-library functions by name, as a script would, and comparing their results.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs::string_test {

inline const Variant kNull = Variant::null();
inline const Variant kMissing = Variant::missing();

inline Variant i2(int v) {
  return Variant(static_cast<std::int16_t>(v));
}
inline Variant i4(int v) {
  return Variant(static_cast<std::int32_t>(v));
}
inline Variant str(std::u16string_view s) {
  return Variant(s);
}

inline std::string narrow(std::u16string_view s) {
  std::string out;
  for (const char16_t c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char buffer[12];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

inline std::string describe(const Variant& v) {
  if (v.isArray()) {
    std::string out = "Array(";
    for (const Variant& e : v.arrayValue().elements()) out += describe(e) + ",";
    return out + ")";
  }
  switch (v.type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::String:
      return "\"" + narrow(v.stringValue()) + "\"";
    case VarType::Object:
      return "Object";
    default:
      return "type " + std::to_string(static_cast<int>(v.type())) + " " + narrow(toString(v));
  }
}

// Same type and value; arrays element by element with the same bounds.
inline bool sameValue(const Variant& a, const Variant& b) {
  if (a.type() != b.type()) return false;
  if (a.isArray()) {
    const SafeArray& x = a.arrayValue();
    const SafeArray& y = b.arrayValue();
    if (x.rank() != y.rank() || x.size() != y.size()) return false;
    for (std::size_t d = 1; d <= x.rank(); ++d) {
      if (x.bound(d).lower != y.bound(d).lower || x.bound(d).count != y.bound(d).count) {
        return false;
      }
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (!sameValue(x.elements()[i], y.elements()[i])) return false;
    }
    return true;
  }
  if (a.isEmpty() || a.isNull()) return true;
  return toString(a) == toString(b);
}

inline const BuiltinFunction* findBuiltin(std::span<const BuiltinFunction> table,
                                          std::u16string_view name) {
  for (const BuiltinFunction& f : table) {
    if (equalsNoCase(f.name, name)) return &f;
  }
  return nullptr;
}

// Calls the function with the arguments; the argument count must fit the table's range.
inline Variant call(std::span<const BuiltinFunction> table, std::u16string_view name,
                    std::vector<Variant> args) {
  const BuiltinFunction* f = findBuiltin(table, name);
  if (!f) throw std::runtime_error("no builtin " + narrow(name));
  const auto n = static_cast<int>(args.size());
  if (n < f->minArgs || (f->maxArgs >= 0 && n > f->maxArgs)) {
    throw std::runtime_error("argument count outside the table's range for " + narrow(name));
  }
  std::vector<Variant*> pointers;
  for (Variant& a : args) pointers.push_back(&a);
  return f->fn(CallArgs(std::span<Variant* const>(pointers)));
}

// One row of a table-driven test: a call and its result, or the runtime error it raises.
struct Case {
  std::u16string_view function;
  std::vector<Variant> args;
  Variant expected;
  int error = 0;
};

inline void runCases(std::span<const BuiltinFunction> table, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::string label = narrow(c.function) + "(";
    for (const Variant& a : c.args) label += (a.isMissing() ? std::string() : describe(a)) + ", ";
    label += ")";
    try {
      const Variant result = call(table, c.function, c.args);
      if (c.error != 0) {
        ADD_FAILURE() << label << " gave " << describe(result) << ", expected error " << c.error;
      } else {
        EXPECT_TRUE(sameValue(result, c.expected))
            << label << " gave " << describe(result) << ", expected " << describe(c.expected);
      }
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.error) << label << " raised " << e.number();
    }
  }
}

inline Variant strings(std::initializer_list<std::u16string_view> items) {
  std::vector<Variant> values;
  for (const auto item : items) values.emplace_back(item);
  return Variant(SafeArray::fromValues(std::move(values)));
}

}  // namespace vantorel::vbs::string_test
