#include "generator/output_items.hpp"

#include <exception>

#include "agp/agp.hpp"
#include "foundation/control_items.hpp"
#include "foundation/project_context.hpp"
#include "foundation/properties.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/path.hpp"

namespace vantorel {

namespace {

std::u16string textOf(const Variant& value) {
  if (value.isEmpty() || value.isNull() || value.isObject() || value.isArray()) return {};
  try {
    return toString(value);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

bool IsOutputItemOn(AGP& proj, const std::u16string& id) {
  AGControlItems& items = proj.controlList();
  const Variant key(id);
  if (!items.ItemExist(key)) return true;
  const Ref<AGControlItem> item = items.Item(key);
  return !item || item->ItemGen();
}

std::u16string settingValueText(const AGProperties& bag, std::u16string_view name) {
  const Variant* value = bag.findValue(name);
  return value ? textOf(*value) : std::u16string();
}

std::u16string userGeneralText(std::u16string_view name) {
  try {
    return textOf(GetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey),
                              Variant(std::u16string(name))));
  } catch (const std::exception&) {
    return {};
  }
}

std::u16string fileNamePart(std::u16string_view path) {
  const std::size_t p = path.find_last_of(u"\\/");
  return std::u16string(p == std::u16string_view::npos ? path : path.substr(p + 1));
}

std::u16string inQuotes(std::u16string_view text) {
  std::u16string quoted;
  quoted.reserve(text.size() + 2);
  quoted += u'"';
  quoted += text;
  quoted += u'"';
  return quoted;
}

}  // namespace vantorel
