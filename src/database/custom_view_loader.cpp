#include "database/custom_view_loader.hpp"

#include <vector>

#include "database/custom_sql_analyzer.hpp"
#include "database/load_steps.hpp"
#include "database/pg_metadata.hpp"
#include "database/table_description.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/query_metadata.hpp"

namespace vantorel {

CustomSqlColumn describeCustomViewColumn(const CustomSqlAnalyzer& analyzer,
                                         const std::u16string& name) {
  CustomSqlColumn column = analyzer.describeColumn(name);
  if (column.sourceName.empty()) column = analyzer.describeColumn(QuoteSqlNameRaw(Variant(name)));
  return column;
}

void ParseCustomSql(AGPTable& table) {
  // Any other database (SQLite, say) is read with every quote style, not as Access, which
  // would take its standard "quoted names" for text.
  const std::int16_t kind = GetDbmsType(projectContext().currentDbmsName);
  CustomSqlAnalyzer analyzer;
  if (!analyzer.analyse(toString(table.properties().setting(kTblCustomSQL)), kind)) return;
  AGPFields& fields = table.fields();
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    const CustomSqlColumn column = describeCustomViewColumn(analyzer, field.FldName());
    AGProperties& bag = field.properties();
    bag.setting(kFldAlias) = Variant(column.alias);
    bag.setting(kFldSourceName) = Variant(column.sourceName);
    bag.setting(kFldSourceTable) = Variant(column.sourceTable);
    bag.setting(kFldSourceField) = Variant(column.sourceField);
  }
}

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

  const TableDescription d = describeCustomView(cnn, sTableName, sSQL, kind);
  if (d.readError) {
    bag.setting(kTblGen) = Variant(false);
    bag.setting(kTblCustomError) = Variant(*d.readError);
    context.lastErrorText = *d.readError;
    table.LoadTableDefault();
    return;
  }
  bag.setting(kTblCustomError) = Variant(u"");
  AGPFields& fields = table.fields();
  for (const ColumnDescription& c : d.columns) {
    const data::FieldDescription& column = c.column;
    // Field names are keys that ignore case, so "Name" beside "name" is a duplicate too.
    if (c.duplicate || fields.fieldExist(Variant(column.name))) {
      bag.setting(kTblGen) = Variant(false);
      bag.setting(kTblCustomError) = Variant(duplicateColumnText(column.name));
      continue;
    }
    if (!fields.add(sTableName, column.name)) continue;
    if (AGPField* field = fields.find(column.name)) {
      attemptStep([&] { field->LoadFld_ADO(adoFieldDefinition(column)); });
    }
  }
  // The analysis is of the text only; a fault in it costs the sources, not the custom view.
  attemptStep([&] { ParseCustomSql(table); });
  if (d.typeNames) applyFieldTypeNames(fields, *d.typeNames);
  table.LoadTableDefault();
}

}  // namespace vantorel
