#pragma once
// Setting values read where a load, the generator or the schema check takes decisions on them.
#include <cstdint>
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

// A value the bag cannot give in that type (Empty, Null, text that is no number) reads as False
// or 0, so that a hand-edited project file makes a difference, never a failed check.
bool settingAsBool(const Variant& value);
std::int32_t settingAsLong(const Variant& value) noexcept;
std::int16_t settingAsInteger(const Variant& value) noexcept;
// "" for Empty and Null.
std::u16string settingAsText(const Variant& value);
// As settingAsText, and "" also for a value that has no text (an object without a default
// value, an array): for settings a script may have set to anything.
std::u16string settingText(const Variant& value);

}  // namespace vantorel
