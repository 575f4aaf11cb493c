#pragma once
// The thread's shared registry accessor and the two procedures through which the engine reads
// and writes single settings.
#include <cstdint>
#include <string>

#include "foundation/c_registry.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

// Hive "HKLM" (exactly so) reads the machine-wide store; anything else, "hklm" too, the user's.
// Empty when the key or the value is missing. Arguments are taken as text.
Variant GetRegValue(const Variant& hive, const Variant& section, const Variant& valueName);
// Writes through the shared accessor with the given ValueType (see cRegistry::Value); the key is
// created when missing. Errors of the accessor pass through.
void SetRegValue(const Variant& hive, const Variant& section, const Variant& valueName,
                 std::int32_t valueType, const Variant& value);

}  // namespace vantorel
