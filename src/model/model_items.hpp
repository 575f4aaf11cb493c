#pragma once
// What the model's items and collections share beyond ModelCollection: reading a stored
// sequence number, the text form of curSeq, script variable names and cascades that go on
// past a failed step.
#include <cstdint>
#include <string>

#include "foundation/model_collection.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

// Runs one step of a cascade whose later steps must run even when this one fails.
template <class F>
void ignoringErrors(F&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

std::u16string seqText(std::int16_t seq);

// The script variable name of a table or chart: its name made an identifier, no prefix.
std::u16string itemVarName(const std::u16string& name);

// A stored sequence number as a 16-bit integer; 0 when something else was stored there
// through Properties, so that renumbering and teardown never stop at one bad value.
std::int16_t storedSeq(const Variant& value) noexcept;

}  // namespace vantorel
