#pragma once
// Small formatting procedures: date stamps, zero padding, progress percentages and sorted
// line lists.
#include <cstdint>

#include "platform/automation/variant.hpp"

namespace vantorel {

// A date (or text that reads as one) as "YYYY/MM/DD HH:NN:SS"; any other value as its text.
Variant FormatDateStamp(const Variant& value);
// The value's text left-padded with "0" to `width` characters; raises 5 (invalid procedure
// call or argument) when the text is longer than `width`.
Variant PadZero(const Variant& value, const Variant& width);
// Min(current, total) as a percentage of total, rounded half to even; a total of 0 counts as 1.
std::int16_t GetPercent(std::int32_t current, std::int32_t total);
// A CR LF separated list sorted ascending by the ordinal order of the trimmed entries.
Variant SortLines(const Variant& list);

}  // namespace vantorel
