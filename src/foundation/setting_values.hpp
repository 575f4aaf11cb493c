#pragma once
// Setting values read where a load takes decisions on them.
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

// False for Empty, Null and a value that is no Boolean.
bool settingAsBool(const Variant& value);
// "" for Empty and Null.
std::u16string settingAsText(const Variant& value);
// As settingAsText, and "" also for a value that has no text (an object without a default
// value, an array): for settings a script may have set to anything.
std::u16string settingText(const Variant& value);

}  // namespace vantorel
