#include "sync/field_marks.hpp"

#include <cstddef>

#include "agp/extension_hooks.hpp"
#include "fields/field_settings.hpp"
#include "fields/field_types.hpp"
#include "fields/fields.hpp"
#include "foundation/setting_values.hpp"
#include "platform/text/strings.hpp"
#include "schema/definition_copies.hpp"
#include "schema/live_schema.hpp"
#include "sync/sync_run.hpp"

namespace vantorel {

std::vector<Ref<AGPField>> fieldsOf(AGPTable& table) {
  std::vector<Ref<AGPField>> out;
  AGPFields& fields = table.fields();
  for (std::size_t f = 0, n = static_cast<std::size_t>(fields.count()); f < n; ++f) {
    out.emplace_back(&fields.at(f));
  }
  return out;
}

std::u16string typeText(std::int16_t type) {
  return toU16(static_cast<long long>(type));
}

void copyColumn(const SyncRun& run, AGPField& field, const AGSchemaField& sf, bool bNew) {
  AGProperties& bag = field.properties();
  const bool wasRequired = settingAsBool(bag.setting(kFldReq));
  const std::int32_t wasSize = settingAsLong(bag.setting(kFldSize));
  CopyFieldFromSchema(field, sf, bNew);
  if (!run.options.asFreshLoad) return;
  if (bNew) {
    // A load gives a new field the column's default where the database reports one.
    if (!sf.FldDefault.isEmpty()) bag.setting(kFldDefault) = sf.FldDefault;
    return;
  }
  // A setting still as a load left it follows the column; one the user set apart stays.
  if (wasRequired != sf.FldReq && settingAsBool(bag.setting(kFldRequired)) == wasRequired) {
    bag.setting(kFldRequired) = Variant(sf.FldReq);
  }
  const bool textBox =
      (sf.FldType == adoType::kVarChar || sf.FldType == adoType::kVarWChar) && !sf.FldAutoIncrement;
  if (textBox && wasSize != sf.FldSize && settingAsLong(bag.setting(kFldTagMaxLength)) == wasSize) {
    bag.setting(kFldTagMaxLength) = Variant(sf.FldSize);
  }
}

void keepUnchangedFields(const SyncRun& run, AGPTable& table, const AGSchemaTable& rec) {
  for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
    const AGSchemaField& sf = rec.TblFields.fld[j];
    for (const Ref<AGPField>& field : fieldsOf(table)) {
      if (settingAsBool(field->properties().setting(kFldSync)) || field->FldName() != sf.FldName ||
          field->FldType() != sf.FldType) {
        continue;
      }
      field->properties().setting(kFldSync) = Variant(true);
      copyColumn(run, *field, sf, false);
      break;
    }
  }
}

void followColumns(SyncRun& run, AGPTable& table, const AGSchemaTable& rec,
                   const ColumnPassTexts& texts) {
  keepUnchangedFields(run, table, rec);
  const std::u16string name = table.tblName();
  AGPFields& fields = table.fields();
  for (std::size_t j = 1, m = fieldRecordCount(rec); j <= m; ++j) {
    const AGSchemaField& sf = rec.TblFields.fld[j];
    Ref<AGPField> field;
    if (fields.fieldExist(Variant(sf.FldName))) {
      field = fields.item(Variant(sf.FldName));
      if (!field || field->FldType() == sf.FldType) continue;
      const std::u16string message = std::u16string(texts.typeChanged) +
                                     typeText(field->FldType()) + u" to " + typeText(sf.FldType);
      field->properties().setting(kFldSyncMessage) = Variant(message);
      run.log.AddSyncLog(u"C", u"Field", name, field->FldName(), message);
    } else if (fields.add(name, sf.FldName)) {
      field = fields.item(Variant(sf.FldName));
      if (!field) continue;
      field->properties().setting(kFldSyncMessage) = Variant(std::u16string(texts.added));
      run.log.AddSyncLog(u"A", u"Field", name, field->FldName(), std::u16string(texts.added));
    } else {
      continue;
    }
    field->properties().setting(kFldSync) = Variant(true);
    copyColumn(run, *field, sf, true);
    hooks::ApplyExtensionsToField(run.project, name, field->FldName());
  }
}

void removeUnmatchedFields(SyncRun& run, AGPTable& table) {
  if (!run.options.removals) return;
  const std::u16string name = table.tblName();
  for (const Ref<AGPField>& field : fieldsOf(table)) {
    if (settingAsBool(field->properties().setting(kFldSync))) continue;
    run.log.AddSyncLog(u"D", u"Field", name, field->FldName(), u"Delete field");
    table.fields().remove(name, Variant(field->FldName()));
  }
}

}  // namespace vantorel
