#include "database/dao_table_loader.hpp"

#include <string>
#include <vector>

#include "database/dao_database_loader.hpp"
#include "fields/field_settings.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace access = data::access;

namespace {

// A dynamic whole-file load leaves the reading to the later single-object load.
bool registerOnly(const DatabaseLoad& load, AGPTable& table, bool bLoadAll) {
  if (!bLoadAll || !load.dynamicLoad) return false;
  table.properties().setting(kTblGen) = Variant(false);
  table.properties().setting(kTblLoaded) = Variant(false);
  return true;
}

void addFields(AGPTable& table, const std::vector<access::AccessColumn>& columns) {
  AGPFields& fields = table.fields();
  const std::u16string tableName = table.tblName();
  for (const access::AccessColumn* column : loadedAccessColumns(columns)) {
    if (!fields.add(tableName, column->name)) continue;
    if (Ref<AGPField> field = fields.item(Variant(column->name))) {
      field->LoadFld_DAO(daoFieldDefinition(*column));
    }
  }
}

void applyIndex(AGPTable& table, const access::AccessIndex& index) {
  AGPFields& fields = table.fields();
  if (index.primary()) {
    for (const std::u16string& name : index.fields) {
      if (Ref<AGPField> field = fields.item(Variant(name))) field->setFldIsPrimaryKey(true);
    }
    table.properties().setting(kTblKey) =
        Variant(toString(SortLines(Variant(join(index.fields, u"\r\n")))));
  }
  if (index.fields.size() == 1 && index.unique) {
    if (Ref<AGPField> field = fields.item(Variant(index.fields.front()))) {
      field->properties().setting(kFldUniqueIdx) = Variant(true);
    }
  }
}

void finish(AGPTable& table) {
  table.properties().setting(kTblGen) = Variant(true);
  table.LoadTableDefault();
  table.properties().setting(kTblLoaded) = Variant(true);
}

}  // namespace

DaoFieldDefinition daoFieldDefinition(const access::AccessColumn& column) {
  DaoFieldDefinition definition;
  definition.Name = column.name;
  definition.Type = column.daoType;
  definition.Size = column.size;
  definition.Attributes = column.attributes;
  definition.AllowZeroLength = column.allowZeroLength;
  definition.Required = column.required;
  definition.Caption = column.caption;
  return definition;
}

void LoadTbl_DAO(const DatabaseLoad& load, AGPTable& table, const access::AccessTable& definition,
                 bool bLoadAll) {
  table.properties().setting(kTblType) = Variant(std::u16string(u"TABLE"));
  if (registerOnly(load, table, bLoadAll)) return;
  addFields(table, definition.columns);
  for (const access::AccessIndex& index : definition.indexes) applyIndex(table, index);
  if (!definition.indexNote.empty()) {
    table.properties().setting(kTblError) = Variant(definition.indexNote);
  }
  finish(table);
}

void LoadTbl_DAO(const DatabaseLoad& load, AGPTable& table, access::AccessFile& file,
                 std::u16string_view name, bool bLoadAll) {
  LoadTbl_DAO(load, table, file.readTable(name), bLoadAll);
}

void LoadView_DAO(const DatabaseLoad& load, AGPTable& table, const access::AccessQuery& definition,
                  bool bLoadAll) {
  table.properties().setting(kTblType) = Variant(std::u16string(u"VIEW"));
  if (registerOnly(load, table, bLoadAll)) return;
  addFields(table, definition.columns);
  finish(table);
}

}  // namespace vantorel
