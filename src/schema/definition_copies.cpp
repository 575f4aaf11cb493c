#include "schema/definition_copies.hpp"

#include "fields/field_settings.hpp"
#include "foundation/setting_values.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace {

// A model object's definition in the snapshot's form, so that a copy from the model and a copy
// from the live schema are one and the same.
AGSchemaTable tableDefinitionOf(AGPTable& table) {
  AGProperties& bag = table.properties();
  AGSchemaTable rec;
  rec.TblName = table.tblName();
  rec.TblType = settingAsText(bag.setting(kTblType));
  rec.TblKey = settingAsText(bag.setting(kTblKey));
  rec.TblUpdatable = settingAsBool(bag.setting(kTblUpdatable));
  rec.TblSQL = settingAsText(bag.setting(kTblSQL));
  rec.TblGen = settingAsBool(bag.setting(kTblGen));
  return rec;
}

AGSchemaField fieldDefinitionOf(AGPField& field) {
  AGProperties& bag = field.properties();
  AGSchemaField rec;
  rec.FldName = field.FldName();
  rec.FldType = settingAsInteger(bag.setting(kFldType));
  rec.FldTypeName = settingAsText(bag.setting(kFldTypeName));
  rec.FldIsPrimaryKey = settingAsBool(bag.setting(kFldIsPrimaryKey));
  rec.FldAutoIncrement = settingAsBool(bag.setting(kFldAutoIncrement));
  rec.FldAttribute = settingAsLong(bag.setting(kFldAttribute));
  rec.FldReq = settingAsBool(bag.setting(kFldReq));
  rec.FldSize = settingAsLong(bag.setting(kFldSize));
  rec.FldSupport = settingAsBool(bag.setting(kFldSupport));
  rec.FldUniqueIdx = settingAsBool(bag.setting(kFldUniqueIdx));
  rec.FldZeroLen = settingAsBool(bag.setting(kFldZeroLen));
  rec.FldQuoteS = settingAsText(bag.setting(kFldQuoteS));
  rec.FldQuoteE = settingAsText(bag.setting(kFldQuoteE));
  rec.FldTagValues = settingAsText(bag.setting(kFldTagValues));
  rec.FldDefault = bag.setting(kFldDefault);
  rec.FldCaption = settingAsText(bag.setting(kFldCaption));
  return rec;
}

}  // namespace

bool isValueListType(const std::u16string& typeName) {
  const std::u16string lower = toLower(typeName.substr(0, 4));
  return lower == u"enum" || lower.substr(0, 3) == u"set";
}

void InitSyncedCustomView(AGPTable& table, const AGSchemaTable& rec, bool bNew) {
  AGProperties& bag = table.properties();
  bag.setting(kTblUpdatable) = Variant(rec.TblUpdatable);
  bag.setting(kTblSQL) = Variant(rec.TblSQL);
  if (bNew) {
    bag.setting(kTblType) = Variant(rec.TblType);
    table.setTblGen(rec.TblGen);
    bag.setting(kTblLoaded) = Variant(true);
    bag.setting(kTblKey) = Variant(rec.TblKey);
    table.LoadTableDefault();
  } else if (settingAsText(bag.setting(kTblKey)).empty()) {
    bag.setting(kTblKey) = Variant(rec.TblKey);
  }
}

void CopyTableDefinition(AGPTable& target, AGPTable& source, bool bNew) {
  InitSyncedCustomView(target, tableDefinitionOf(source), bNew);
}

void CopyFieldFromSchema(AGPField& field, const AGSchemaField& rec, bool bNew) {
  AGProperties& bag = field.properties();
  bag.setting(kFldType) = Variant(rec.FldType);
  bag.setting(kFldTypeName) = Variant(rec.FldTypeName);
  bag.setting(kFldIsPrimaryKey) = Variant(rec.FldIsPrimaryKey);
  bag.setting(kFldAutoIncrement) = Variant(rec.FldAutoIncrement);
  bag.setting(kFldAttribute) = Variant(rec.FldAttribute);
  bag.setting(kFldReq) = Variant(rec.FldReq);
  bag.setting(kFldSize) = Variant(rec.FldSize);
  bag.setting(kFldSupport) = Variant(rec.FldSupport);
  bag.setting(kFldUniqueIdx) = Variant(rec.FldUniqueIdx);
  bag.setting(kFldZeroLen) = Variant(rec.FldZeroLen);
  bag.setting(kFldQuoteS) = Variant(rec.FldQuoteS);
  bag.setting(kFldQuoteE) = Variant(rec.FldQuoteE);
  if (isValueListType(rec.FldTypeName)) {
    bag.setting(kFldTagValues) = Variant(rec.FldTagValues);
    bag.setting(kFldDefault) = rec.FldDefault;
  }
  if (!bNew) return;
  bag.setting(kFldGenerate) = Variant(rec.FldSupport);
  bag.setting(kFldRequired) = Variant(rec.FldReq);
  bag.setting(kFldCaption) = Variant(rec.FldCaption);
  field.LoadFldDefault();
}

void CopyFieldDefinition(AGPField& target, AGPField& source, bool bNew) {
  CopyFieldFromSchema(target, fieldDefinitionOf(source), bNew);
}

}  // namespace vantorel
