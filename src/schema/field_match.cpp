// Whether a stored field still agrees with the live column (or a report's field with its source
// field): the schema settings only. Type names, defaults, captions and quoting are not compared.
// And the one walk the check's passes count their fields with.
#include <vector>

#include "fields/field_settings.hpp"
#include "foundation/setting_values.hpp"
#include "schema/definition_copies.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "schema/model_values.hpp"

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
  return {settingAsInteger(bag.setting(kFldType)),       settingAsLong(bag.setting(kFldSize)),
          settingAsBool(bag.setting(kFldUniqueIdx)),     settingAsBool(bag.setting(kFldZeroLen)),
          settingAsBool(bag.setting(kFldAutoIncrement)), settingAsBool(bag.setting(kFldReq)),
          settingAsLong(bag.setting(kFldAttribute))};
}

std::u16string tagValues(AGPField& fld) {
  return settingAsText(fld.properties().setting(kFldTagValues));
}

std::u16string typeName(AGPField& fld) {
  return settingAsText(fld.properties().setting(kFldTypeName));
}

// Counts each name by its counterpart among the stored fields: none, one that does not match,
// or one that matches under another spelling.
template <class Matches>
FieldTally tally(AGPFields& stored, const std::vector<std::u16string>& names, Matches matches) {
  FieldTally counts;
  const std::vector<AGPField*> found = fieldsForColumns(stored, names);
  for (std::size_t i = 0; i < names.size(); ++i) {
    AGPField* field = found[i];
    if (!field) {
      ++counts.added;
    } else if (!matches(i, *field)) {
      ++counts.changed;
    } else if (field->FldName() != names[i]) {
      ++counts.recased;
    }
  }
  return counts;
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

FieldTally TallyColumns(const AGSchemaTable& live, AGPFields& stored) {
  std::vector<std::u16string> names;
  for (std::size_t j = 1, n = fieldRecordCount(live); j <= n; ++j) {
    names.push_back(live.TblFields.fld[j].FldName);
  }
  return tally(stored, names, [&](std::size_t i, AGPField& field) {
    return FieldMatchesSchema(live.TblFields.fld[i + 1], field);
  });
}

FieldTally TallySourceFields(AGPFields& source, AGPFields& report) {
  std::vector<std::u16string> names;
  for (std::int32_t i = 0; i < source.count(); ++i) {
    names.push_back(source.at(static_cast<std::size_t>(i)).FldName());
  }
  return tally(report, names, [&](std::size_t i, AGPField& copy) {
    return ReportFieldMatchesSource(source.at(i), copy);
  });
}

}  // namespace vantorel
