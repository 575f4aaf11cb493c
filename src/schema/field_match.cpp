// Whether a stored field still agrees with the live column (or a report's field with its source
// field): the schema settings only. Type names, defaults, captions and quoting are not compared.
#include "fields/field_settings.hpp"
#include "foundation/setting_values.hpp"
#include "schema/definition_copies.hpp"
#include "schema/difference_check.hpp"

namespace vantorel {

namespace {

// The settings the comparison reads, in one form for a column and a stored field.
struct SchemaSettings {
  std::int16_t type = 0;
  std::int32_t size = 0;
  bool uniqueIdx = false, zeroLen = false, autoIncrement = false, req = false;
  std::int32_t attribute = 0;
  friend bool operator==(const SchemaSettings&, const SchemaSettings&) = default;
};

SchemaSettings settingsOf(const AGSchemaField& rec) {
  return {rec.FldType,          rec.FldSize, rec.FldUniqueIdx, rec.FldZeroLen,
          rec.FldAutoIncrement, rec.FldReq,  rec.FldAttribute};
}

SchemaSettings settingsOf(AGPField& fld) {
  const AGProperties& bag = fld.properties();
  return {settingAsInteger(bag.setting(kFldType)),        settingAsLong(bag.setting(kFldSize)),
          settingAsBool(bag.setting(kFldUniqueIdx)),      settingAsBool(bag.setting(kFldZeroLen)),
          settingAsBool(bag.setting(kFldAutoIncrement)),  settingAsBool(bag.setting(kFldReq)),
          settingAsLong(bag.setting(kFldAttribute))};
}

std::u16string tagValues(AGPField& fld) {
  return settingAsText(fld.properties().setting(kFldTagValues));
}

std::u16string typeName(AGPField& fld) {
  return settingAsText(fld.properties().setting(kFldTypeName));
}

}  // namespace

bool FieldMatchesSchema(const AGSchemaField& rec, AGPField& fld) {
  if (settingsOf(fld) != settingsOf(rec)) return false;
  // The value list of an "enum" or "set" column is part of its type.
  return !isValueListType(typeName(fld)) || tagValues(fld) == rec.FldTagValues;
}

bool ReportFieldMatchesSource(AGPField& source, AGPField& target) {
  if (settingsOf(source) != settingsOf(target)) return false;
  return !isValueListType(typeName(source)) || tagValues(source) == tagValues(target);
}

}  // namespace vantorel
