#include "foundation/setting_access.hpp"

#include "foundation/value_conversion.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

Variant inType(const Variant& v, SettingType type) {
  switch (type) {
    case SettingType::String:
      // Text shares its characters; templates read names and captions all the time.
      if (v.isString() && !v.hasOddByte()) return v;
      return Variant(toString(v));
    case SettingType::Boolean:
      return Variant(toBool(v));
    case SettingType::Integer:
      return Variant(toInteger(v));
    case SettingType::Long:
      return Variant(toLong(v));
    case SettingType::Single:
      return Variant(toSingle(v));
    case SettingType::Double:
      return Variant(toDouble(v));
    case SettingType::Variant:
      break;
  }
  return v;
}

}  // namespace

Variant getSettingText(AGProperties& bag, std::u16string_view name) {
  if (std::optional<SettingSlot> slot = bag.slotOf(name)) {
    // Joined to "" as a script would: Null gives the empty text, not an error.
    const Variant& value = bag.value(*slot);
    return Variant(value.isNull() ? std::u16string() : toString(value));
  }
  if (std::optional<SettingSlot> added = bag.declare(name)) bag.setValue(*added, Variant(u""));
  return Variant(u"");
}

void setSettingConverted(AGProperties& bag, std::u16string_view name, const Variant& value) {
  if (std::optional<SettingSlot> slot = bag.slotOf(name)) {
    bag.setValue(*slot, ConvertSetting(value, Variant(bag.record(*slot).dataType)));
  } else if (std::optional<SettingSlot> added = bag.declare(name)) {
    bag.setValue(*added, value);
  }
}

Variant readSetting(const AGProperties& bag, SettingSlot row) {
  return inType(bag.setting(row), (*bag.catalog())[row].type);
}

void writeSetting(AGProperties& bag, SettingSlot row, const Variant& value) {
  Variant converted = inType(value, (*bag.catalog())[row].type);
  bag.setting(row) = std::move(converted);
}

}  // namespace vantorel
