#include "platform/data/access_types.hpp"

namespace vantorel::data::access {

namespace {

constexpr std::int32_t kJetText = 10;
constexpr std::int32_t kJetNumeric = 16;

}  // namespace

std::int16_t daoTypeOf(std::int32_t jetType) noexcept {
  if ((jetType >= 1 && jetType <= 12) || jetType == 15) return static_cast<std::int16_t>(jetType);
  if (jetType == kJetNumeric) return kDaoDecimal;
  return kDaoUnknown;
}

std::int32_t daoSizeOf(std::int32_t jetType, std::int32_t storedSize, JetFormat format) noexcept {
  switch (daoTypeOf(jetType)) {
    case 1:  // Boolean
    case 2:  // Byte
      return 1;
    case 3:  // Integer
      return 2;
    case 4:  // Long
    case 6:  // Single
      return 4;
    case 5:  // Currency
    case 7:  // Double
    case 8:  // Date
      return 8;
    case 11:  // Long binary
    case 12:  // Memo
      return 0;
    case 15:  // GUID
    case kDaoDecimal:
      return 16;
    default:
      break;
  }
  if (jetType == kJetText && format != JetFormat::Jet3) return storedSize / 2;
  return storedSize;
}

std::u16string formatVersion(JetFormat format) {
  switch (format) {
    case JetFormat::Jet3:
      return u"3.0";
    case JetFormat::Jet4:
      return u"4.0";
    default:
      return u"12.0";
  }
}

QueryKind queryKindOf(std::int32_t catalogueFlags) noexcept {
  // Bit 0x08 marks a hidden object and the low bits temporary ones; the kind is the high nibble
  // of the low byte.
  const std::int32_t kind = catalogueFlags & 0xF0;
  if (kind > static_cast<std::int32_t>(QueryKind::Union)) return QueryKind::Unknown;
  return static_cast<QueryKind>(kind);
}

const char16_t* joinTypeName(JoinType type) noexcept {
  switch (type) {
    case JoinType::Left:
      return u"LEFT";
    case JoinType::Right:
      return u"RIGHT";
    default:
      return u"INNER";
  }
}

}  // namespace vantorel::data::access
