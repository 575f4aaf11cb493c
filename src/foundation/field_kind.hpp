#pragma once
// The engine's vocabulary for database column types: the field kind of an ADO data type code,
// its SQL-style name, and the PostgreSQL types the engine cannot handle.
#include <cstdint>

#include "platform/automation/variant.hpp"

namespace vantorel {

constexpr std::int16_t kFldKindNumeric = 1;
constexpr std::int16_t kFldKindDate = 2;
constexpr std::int16_t kFldKindText = 3;
constexpr std::int16_t kFldKindBoolean = 4;
constexpr std::int16_t kFldKindGuid = 5;
constexpr std::int16_t kFldKindOther = 6;

// The field kind of an ADO data type code; a code that is not a number is "other".
std::int16_t GetFldKind(const Variant& adoType);
// "INTEGER", "VARCHAR", ...; for 135 (DBTimeStamp) the name depends on the size. Empty for an
// unknown code.
Variant AdoTypeName(const Variant& adoType, const Variant& size);
// False for the geometric, network, bit and array types, True for every other name.
bool IsSupportedPgType(const Variant& nativeType);

}  // namespace vantorel
