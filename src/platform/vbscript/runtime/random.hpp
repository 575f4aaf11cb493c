#pragma once
// The Rnd generator shared by Rnd and Randomize: VBScript's 24-bit linear congruential
// generator, its state kept by each script engine.
#include "platform/automation/variant.hpp"
#include "platform/vbscript/runtime/script_state.hpp"

namespace vantorel::vbs {

// Rnd(number): the next value when number is missing or positive, the last one again for 0,
// and for a negative number the value that number seeds, the same every time.
float nextRandom(ScriptState& state, const Variant& number);

}  // namespace vantorel::vbs
