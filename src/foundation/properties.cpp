#include "foundation/properties.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

// The name an index stands for; nullopt when the value has no text (Null, an object without a
// default value, an array).
std::optional<std::u16string> indexText(const Variant& index) {
  if (index.isString()) return index.stringValue();
  try {
    return toString(index);
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

}  // namespace

const ClassInfo& AGProperty::classInfo() const noexcept {
  static const ClassInfo info(u"AGProperty", [](ClassInfo& c) {
    ClassBuilder<AGProperty>(c)
        .prop<&AGProperty::name, &AGProperty::setName>(u"Key")
        .prop<&AGProperty::name, &AGProperty::setName>(u"Name")
        .prop<&AGProperty::dataType, &AGProperty::setDataType>(u"DataType")
        .prop<&AGProperty::value, &AGProperty::setValue>(u"Value")
        .prop<&AGProperty::regSave, &AGProperty::setRegSave>(u"RegSave")
        .prop<&AGProperty::regFormat, &AGProperty::setRegFormat>(u"RegFormat")
        .prop<&AGProperty::fileSave, &AGProperty::setFileSave>(u"FileSave")
        .prop<&AGProperty::sync, &AGProperty::setSync>(u"Sync");
  });
  return info;
}

AGProperties::AGProperties() : items_(makeRef<CSuperCollection>()) {
  items_->setCompareMode(1);
}

const ClassInfo& AGProperties::classInfo() const noexcept {
  static const ClassInfo info(u"AGProperties", [](ClassInfo& c) {
    ClassBuilder<AGProperties>(c)
        .method<&AGProperties::scriptAdd>(u"Add")
        .get<&AGProperties::count>(u"Count")
        .method<&AGProperties::scriptDelete>(u"Delete")
        .get<&AGProperties::scriptPropertyExist>(u"PropertyExist")
        .get<&AGProperties::scriptItem>(u"Item")
        .get<&AGProperties::newEnum>(u"NewEnum_prp")
        .defaultMember(u"Item")
        .enumerator<&AGProperties::newEnum>();
  });
  return info;
}

bool AGProperties::add(std::u16string_view name, std::u16string_view dataType, bool regSave,
                       std::int32_t regFormat, bool fileSave, bool sync) {
  if (name.empty() || items_->keyExists(name) != kNoPosition) return false;
  auto property = makeRef<AGProperty>(std::u16string(name), std::u16string(dataType), regSave,
                                      regFormat, fileSave, sync);
  items_->add(Variant(property), name);
  return true;
}

bool AGProperties::scriptAdd(const std::u16string& name, std::optional<std::u16string> dataType,
                             std::optional<bool> regSave, std::optional<std::int32_t> regFormat,
                             std::optional<bool> fileSave, std::optional<bool> sync) {
  return add(name, dataType ? std::u16string_view(*dataType) : std::u16string_view(u"String"),
             regSave.value_or(false), regFormat.value_or(0), fileSave.value_or(true),
             sync.value_or(true));
}

bool AGProperties::remove(std::u16string_view name) {
  if (name.empty() || items_->keyExists(name) == kNoPosition) return false;
  items_->remove(Variant(std::u16string(name)));
  return true;
}

Variant AGProperties::scriptDelete(const Variant& index) {
  std::optional<std::u16string> name = indexText(index);
  return Variant(name && remove(*name));
}

bool AGProperties::scriptPropertyExist(const Variant& index) const {
  std::optional<std::u16string> name = indexText(index);
  return name && exists(*name);
}

AGProperty* AGProperties::find(std::u16string_view name) const {
  const Variant* v = items_->find(name);
  // The collection is private to the bag and holds nothing but AGProperty records.
  return v ? static_cast<AGProperty*>(v->objectValue()) : nullptr;
}

AGProperty* AGProperties::item(std::u16string_view name) {
  if (AGProperty* p = find(name)) return p;
  if (!add(name)) return nullptr;
  return find(name);
}

Ref<AGProperty> AGProperties::item(const Variant& index) {
  std::optional<std::u16string> name = indexText(index);
  if (!name) return nullptr;
  return Ref<AGProperty>(item(std::u16string_view(*name)));
}

AGProperty& AGProperties::at(std::size_t index) const {
  return *static_cast<AGProperty*>(items_->valueAt(index).objectValue());
}

}  // namespace vantorel
