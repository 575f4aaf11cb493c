#pragma once
// The ADO data type codes the field model tells apart (ADO DataTypeEnum, plus two codes of
// newer OLE DB providers).
#include <cstdint>
#include <initializer_list>

namespace vantorel::adoType {

inline constexpr std::int16_t kSmallInt = 2;
inline constexpr std::int16_t kInteger = 3;
inline constexpr std::int16_t kSingle = 4;
inline constexpr std::int16_t kDouble = 5;
inline constexpr std::int16_t kCurrency = 6;
inline constexpr std::int16_t kDate = 7;
inline constexpr std::int16_t kBSTR = 8;
inline constexpr std::int16_t kBoolean = 11;
inline constexpr std::int16_t kDecimal = 14;
inline constexpr std::int16_t kTinyInt = 16;
inline constexpr std::int16_t kUnsignedTinyInt = 17;
inline constexpr std::int16_t kUnsignedSmallInt = 18;
inline constexpr std::int16_t kUnsignedInt = 19;
inline constexpr std::int16_t kBigInt = 20;
inline constexpr std::int16_t kUnsignedBigInt = 21;
inline constexpr std::int16_t kGuid = 72;
inline constexpr std::int16_t kBinary = 128;
inline constexpr std::int16_t kChar = 129;
inline constexpr std::int16_t kWChar = 130;
inline constexpr std::int16_t kNumeric = 131;
inline constexpr std::int16_t kDBDate = 133;
inline constexpr std::int16_t kDBTime = 134;
inline constexpr std::int16_t kDBTimeStamp = 135;
inline constexpr std::int16_t kVarNumeric = 139;
inline constexpr std::int16_t kXml = 141;
inline constexpr std::int16_t kDateTimeOffset = 146;
inline constexpr std::int16_t kVarChar = 200;
inline constexpr std::int16_t kLongVarChar = 201;
inline constexpr std::int16_t kVarWChar = 202;
inline constexpr std::int16_t kLongVarWChar = 203;
inline constexpr std::int16_t kVarBinary = 204;
inline constexpr std::int16_t kLongVarBinary = 205;

}  // namespace vantorel::adoType

namespace vantorel {

inline bool isOneOf(std::int16_t type, std::initializer_list<std::int16_t> types) {
  for (std::int16_t t : types) {
    if (t == type) return true;
  }
  return false;
}

}  // namespace vantorel
