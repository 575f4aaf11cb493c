#pragma once
// Calls runtime library functions by name, as a script would, for the tables of the runtime tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs::runtime_test {

inline std::string narrow(std::u16string_view s) {
  std::string out;
  for (const char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

inline const BuiltinFunction* findBuiltin(std::u16string_view name) {
  for (const auto table : {conversionFunctions(), mathFunctions(), dateTimeFunctions(),
                           typeFunctions(), environmentFunctions()}) {
    for (const BuiltinFunction& f : table) {
      if (f.name == name) return &f;
    }
  }
  return nullptr;
}

// The state of the one engine the tables' calls stand for.
inline ScriptState& tableEngineState() {
  static ScriptState state;
  return state;
}

inline Variant call(std::u16string_view name, std::vector<Variant> args,
                    ScriptState& state = tableEngineState()) {
  const BuiltinFunction* f = findBuiltin(name);
  if (!f) throw std::runtime_error("no builtin " + narrow(name));
  if (static_cast<int>(args.size()) < f->minArgs || static_cast<int>(args.size()) > f->maxArgs) {
    throw std::runtime_error("wrong argument count for " + narrow(name));
  }
  std::vector<Variant*> pointers;
  for (Variant& a : args) pointers.push_back(&a);
  return f->call(state, CallArgs(pointers));
}

inline Variant integer(int v) {
  return Variant(static_cast<std::int16_t>(v));
}
inline Variant date(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  return Variant::date(makeDate(y, m, d, h, mi, s).value());
}

// What a table row expects: a value (compared by VarType and by its text in the invariant
// locale) or a runtime error number.
struct Expected {
  Expected(Variant v) : value(std::move(v)) {}  // NOLINT: tables read better without a wrapper
  Expected(int error, bool) : errorNumber(error) {}
  Variant value;
  std::int32_t errorNumber = 0;
};
inline Expected raises(int number) {
  return Expected(number, true);
}

struct Row {
  std::u16string_view function;
  std::vector<Variant> args;
  Expected expected;
};

inline std::string describe(const Variant& v) {
  ScopedNumberLocale invariant(kInvariantLcid);
  if (v.isNull()) return "Null";
  if (v.isArray() || v.isObject()) return "vartype " + std::to_string(v.varType());
  return narrow(toString(v)) + " (vartype " + std::to_string(v.varType()) + ")";
}

inline void checkRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    std::string label = narrow(row.function) + "(";
    for (std::size_t i = 0; i < row.args.size(); ++i) {
      label += (i ? ", " : "") +
               (row.args[i].isMissing() ? std::string("<missing>") : describe(row.args[i]));
    }
    label += ")";
    try {
      const Variant got = call(row.function, row.args);
      if (row.expected.errorNumber != 0) {
        ADD_FAILURE() << label << " gave " << describe(got) << ", expected error "
                      << row.expected.errorNumber;
      } else {
        EXPECT_EQ(describe(got), describe(row.expected.value)) << label;
      }
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), row.expected.errorNumber) << label << " raised " << e.number();
    }
  }
}

}  // namespace vantorel::vbs::runtime_test
