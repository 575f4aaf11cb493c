#pragma once
// The Rnd generator shared by Rnd and Randomize: VBScript's 24-bit linear congruential
// generator, one state per thread so that scripts on different threads do not disturb each
// other's sequences.
#include "platform/automation/variant.hpp"

namespace vantorel::vbs {

// Rnd(number): the next value when number is missing or positive, the last one again for 0,
// and for a negative number the value that number seeds, the same every time.
float nextRandom(const Variant& number);

}  // namespace vantorel::vbs
