#include "database/custom_view_loader.hpp"

#include <vector>

#include "database/field_description_import.hpp"
#include "database/load_steps.hpp"
#include "database/pg_metadata.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/data/query_metadata.hpp"

namespace vantorel {

void Load_ADOCustomView(AGPTable& table, data::Connection& cnn, const std::u16string& sTableName,
                        const std::u16string& sSQL) {
  ProjectContext& context = projectContext();
  const std::int16_t kind = GetDbmsType(context.currentDbmsName);
  AGProperties& bag = table.properties();
  bag.setting(kTblType) = Variant(u"CUSTOMVIEW");
  bag.setting(kTblCustomSQL) = Variant(sSQL);
  bag.setting(kTblLoaded) = Variant(true);
  bag.setting(kTblGen) = Variant(true);
  if (kind == kDbmsOracle && table.tblName().find(u' ') != std::u16string::npos) {
    bag.setting(kTblCustomError) = Variant(context.productTitle + u": Oracle Table/View Name [" +
                                           sTableName + u"] contain spaces,table not loaded!");
    bag.setting(kTblGen) = Variant(false);
    return;
  }

  std::vector<data::FieldDescription> columns;
  try {
    columns = data::describeQuery(cnn, sSQL);
  } catch (const AutomationError& e) {
    bag.setting(kTblGen) = Variant(false);
    bag.setting(kTblCustomError) = Variant(e.description());
    context.lastErrorText = e.description();
    table.LoadTableDefault();
    return;
  }
  bag.setting(kTblCustomError) = Variant(u"");
  AGPFields& fields = table.fields();
  for (const data::FieldDescription& column : columns) {
    // Field names are keys that ignore case, so "Name" beside "name" is a duplicate too.
    if (fields.fieldExist(Variant(column.name))) {
      bag.setting(kTblGen) = Variant(false);
      bag.setting(kTblCustomError) =
          Variant(context.productTitle + u": Duplicate Column Name - " + column.name +
                  u" found! ASP scripts may not be generated correctly! Please rename duplicated "
                  u"field names to ensure correct generation!");
      continue;
    }
    if (!fields.add(sTableName, column.name)) continue;
    if (AGPField* field = fields.find(column.name)) {
      attemptStep([&] { field->LoadFld_ADO(adoFieldDefinition(column)); });
    }
  }
  if (kind == kDbmsPostgreSql) LoadFieldTypeNames(cnn, fields, sTableName, sSQL);
  table.LoadTableDefault();
}

}  // namespace vantorel
