#include "fields/field.hpp"

#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/setting_access.hpp"
#include "foundation/setting_members.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace {

Object& requireObject(const Ref<Object>& object) {
  if (!object) raiseVbError(vberr::kObjectRequired);
  return *object;
}

// Properties(name).Value of a DAO or ADO field object.
Variant providerProperty(Object& field, std::u16string_view name) {
  const Variant properties = field.get(u"Properties");
  if (!properties.isObject() || properties.isNothing()) raiseVbError(vberr::kObjectRequired);
  // Properties(name) and the property's Value, both reached as default members, as a script
  // writes them.
  Variant key{std::u16string(name)};
  Variant* args[] = {&key};
  const Variant property =
      properties.objectValue()->invoke(kDispIdValue, kInvokeMethod | kInvokeGet, CallArgs(args));
  if (!property.isObject() || property.isNothing()) return property;
  return property.objectValue()->invoke(kDispIdValue, kInvokeGet, CallArgs());
}

}  // namespace

AGPField::AGPField() {
  loadRegistryDefaults(properties(), projectContext().fieldKey, MissingDefault::TypedZero);
}

const SettingCatalog& AGPField::catalog() {
  return fieldCatalog();
}

void AGPField::createProperties() {
  properties_ = makeRef<AGProperties>(fieldCatalog());
}

const ClassInfo& AGPField::classInfo() const noexcept {
  return MemberTable<AGPField>::get(u"AGPField");
}

Variant AGPField::GetV(const std::u16string& Name) {
  return getSettingText(properties(), Name);
}

Variant AGPField::SetV(const std::u16string& Name, const std::u16string& Value) {
  setSettingConverted(properties(), Name, Variant(Value));
  return Variant();
}

std::u16string AGPField::FldName() {
  return toString(properties().setting(kFldName));
}
void AGPField::setFldName(const std::u16string& value) {
  properties().setting(kFldName) = Variant(value);
}
std::int16_t AGPField::convertedSeq(const Variant& seq) {
  return toInteger(seq);
}
void AGPField::setFldSeq(std::int16_t value) {
  properties().setting(kFldSeq) = Variant(value);
}
std::u16string AGPField::FldVar() {
  return toString(properties().setting(kFldVar));
}
void AGPField::setFldVar(const std::u16string& value) {
  properties().setting(kFldVar) = Variant(value);
}
std::u16string AGPField::FldParm() {
  std::u16string var = FldVar();
  return var.size() < 3 ? std::u16string() : var.substr(2);
}
std::int16_t AGPField::FldType() {
  return toInteger(properties().setting(kFldType));
}
bool AGPField::FldGenerate() {
  return toBool(properties().setting(kFldGenerate));
}
bool AGPField::FldIsPrimaryKey() {
  return toBool(properties().setting(kFldIsPrimaryKey));
}
void AGPField::setFldIsPrimaryKey(bool value) {
  properties().setting(kFldIsPrimaryKey) = Variant(value);
}
std::u16string AGPField::FldOrder() {
  return toString(properties().setting(kFldOrder));
}

void AGPField::scriptLoadFldDao(const Ref<Object>& daoField) {
  Object& f = requireObject(daoField);
  DaoFieldDefinition d;
  d.Name = toString(f.get(u"Name"));
  d.Type = toInteger(f.get(u"Type"));
  d.Size = toLong(f.get(u"Size"));
  d.Attributes = toLong(f.get(u"Attributes"));
  d.AllowZeroLength = toBool(f.get(u"AllowZeroLength"));
  d.Required = toBool(f.get(u"Required"));
  // Only Access columns that were given a caption carry the property.
  try {
    const Variant caption = providerProperty(f, u"Caption");
    if (!caption.isNull()) d.Caption = toString(caption);
  } catch (const AutomationError&) {
  }
  LoadFld_DAO(d);
}

void AGPField::scriptLoadFldAdo(const Ref<Object>& adoField) {
  Object& f = requireObject(adoField);
  AdoFieldDefinition d;
  d.Name = toString(f.get(u"Name"));
  d.Type = toInteger(f.get(u"Type"));
  d.Precision = toByte(f.get(u"Precision"));
  d.DefinedSize = toLong(f.get(u"DefinedSize"));
  d.Attributes = toLong(f.get(u"Attributes"));
  d.IsAutoIncrement = providerProperty(f, u"ISAUTOINCREMENT");
  LoadFld_ADO(d);
}

}  // namespace vantorel
