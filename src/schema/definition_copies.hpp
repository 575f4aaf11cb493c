#pragma once
// Moving a definition into the model: from a snapshot record (the live schema) or from another
// table or field of the model. The synchronisation, the custom-view entries and the check of
// custom views share them. `bNew` says the object was just made: it then also takes the
// generation switches of its source and the defaults that follow from its (new) type.
#include "fields/field.hpp"
#include "model/table.hpp"
#include "schema/schema_records.hpp"

namespace vantorel {

// Always TblUpdatable and TblSQL; when new also TblType, TblGen, TblLoaded (True), TblKey and
// the table defaults; otherwise TblKey only when the table has none.
void InitSyncedCustomView(AGPTable& table, const AGSchemaTable& rec, bool bNew);
// The same settings, taken from another table of the model.
void CopyTableDefinition(AGPTable& target, AGPTable& source, bool bNew);
// Type, size, key and attribute settings (with the value list and default of an "enum" or "set"
// column); when new also FldGenerate, FldRequired, FldCaption and the field defaults.
void CopyFieldFromSchema(AGPField& field, const AGSchemaField& rec, bool bNew);
// The same settings, taken from another field of the model.
void CopyFieldDefinition(AGPField& target, AGPField& source, bool bNew);

// True when a type name names a MySQL "enum" or "set" column (letter case ignored).
bool isValueListType(const std::u16string& typeName);

}  // namespace vantorel
