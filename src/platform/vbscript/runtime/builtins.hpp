#pragma once
// The runtime library: functions and constants that every script sees by name. Each group of
// functions lives in its own file and hands its table to the interpreter. Functions that need
// the interpreter itself (Eval, GetRef, Execute) are the interpreter's own, not listed here.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/vbscript/runtime/script_state.hpp"

namespace vantorel::vbs {

// Arguments arrive as the caller's values (by value); an omitted optional argument is a
// Variant for which isMissing() holds, or lies beyond args.size().
using BuiltinFn = Variant (*)(CallArgs args);
// A function that works on its engine's own state (Rnd, GetLocale, SetLocale).
using EngineFn = Variant (*)(ScriptState& state, CallArgs args);

struct BuiltinFunction {
  std::u16string_view name;
  std::int8_t minArgs;
  std::int8_t maxArgs;
  BuiltinFn fn;  // null when engineFn is set
  EngineFn engineFn = nullptr;

  Variant call(ScriptState& state, CallArgs args) const {
    return engineFn ? engineFn(state, args) : fn(args);
  }
};

struct BuiltinConstant {
  std::u16string_view name;
  Variant value;
};

std::span<const BuiltinFunction>
stringFunctions();  // Len, Mid, InStr, Replace, Split, Format*, Escape, ...
std::span<const BuiltinFunction> conversionFunctions();  // CBool ... CStr, Hex, Oct, Asc, Chr, ...
std::span<const BuiltinFunction> mathFunctions();        // Abs, Int, Fix, Round, Rnd, Sqr, ...
std::span<const BuiltinFunction> dateTimeFunctions();    // Now, DateAdd, DateDiff, DatePart, ...
std::span<const BuiltinFunction> typeFunctions();   // IsArray, IsNumeric, TypeName, VarType, ...
std::span<const BuiltinFunction> arrayFunctions();  // Array, LBound, UBound, Join, Filter, ...
std::span<const BuiltinFunction>
environmentFunctions();  // CreateObject, GetLocale, SetLocale, ScriptEngine*, ...
// vbCrLf, vbTrue, vbString, vbBinaryCompare, ... (every vb* constant of the language)
const std::vector<BuiltinConstant>& builtinConstants();

// Randomize with a seed, or with the timer when seed is missing.
void randomize(ScriptState& state, const Variant& seed);

}  // namespace vantorel::vbs
