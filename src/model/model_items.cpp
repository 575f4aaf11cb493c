#include "model/model_items.hpp"

#include "foundation/script_text.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

std::u16string seqText(std::int16_t seq) {
  const std::string digits = std::to_string(seq);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string itemVarName(const std::u16string& name) {
  return toString(GetVarName(Variant(name), Variant(u"")));
}

std::int16_t storedSeq(const Variant& value) noexcept {
  // Add and the renumbering store an Integer; templates look items up by it all the time.
  if (value.type() == VarType::Integer) return value.integerValue();
  try {
    return toInteger(value);
  } catch (...) {
    return 0;
  }
}

}  // namespace vantorel
