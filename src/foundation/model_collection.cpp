#include "foundation/model_collection.hpp"

#include <limits>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

// The subtypes a collection's Item reads as a position rather than a key.
bool isPositionType(VarType type) noexcept {
  switch (type) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Byte:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::u16string storedText(const Variant& value) noexcept {
  try {
    return toString(value);
  } catch (...) {
    return {};
  }
}

std::int16_t nextSeq(std::int32_t count) {
  if (count >= std::numeric_limits<std::int16_t>::max()) raiseVbError(vberr::kOverflow);
  return static_cast<std::int16_t>(count + 1);
}

std::int16_t lowerSeq(std::int16_t seq) noexcept {
  return seq > std::numeric_limits<std::int16_t>::min() ? static_cast<std::int16_t>(seq - 1) : seq;
}

std::optional<std::int32_t> itemPosition(const Variant& index, std::int32_t count) {
  if (!isPositionType(index.type())) return std::nullopt;
  const double position = toDouble(index);
  if (!(position >= 0.5 && position < static_cast<double>(count) + 0.5)) return 0;
  const std::int32_t at = toLong(index);
  return at >= 1 && at <= count ? at : 0;
}

namespace model_collection_detail {

Object* lookup(const CSuperCollection& items, const Variant& index) {
  if (index.type() != VarType::String && !isPositionType(index.type())) return nullptr;
  const Variant found = items.item(index);
  if (!found.isObject()) return nullptr;
  return found.objectValue();
}

std::optional<std::size_t> positionOf(const CSuperCollection& items, const Object& item) {
  // Searched from the end: teardowns remove the last items first.
  for (std::size_t i = static_cast<std::size_t>(items.count()); i-- > 0;) {
    if (items.valueAt(i).objectValue() == &item) return i;
  }
  return std::nullopt;
}

}  // namespace model_collection_detail

}  // namespace vantorel
