#include "database/custom_view_loader.hpp"

#include <vector>

#include "database/access_custom_view.hpp"
#include "database/custom_sql_analyzer.hpp"
#include "database/custom_view_qualifiers.hpp"
#include "database/dao_table_loader.hpp"
#include "database/load_steps.hpp"
#include "database/pg_metadata.hpp"
#include "database/table_description.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/query_metadata.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

CustomSqlColumn describeCustomViewColumn(const CustomSqlAnalyzer& analyzer, const SqlQuote& quote,
                                         const std::u16string& name) {
  CustomSqlColumn column = analyzer.describeColumn(name);
  if (column.sourceName.empty()) {
    column = analyzer.describeColumn(QuoteSqlNameRaw(quote, Variant(name)));
  }
  return column;
}

namespace {

const DescribedSource* describedSource(const CustomViewSources& sources,
                                       const std::u16string& name) {
  for (const DescribedSource& source : sources.described) {
    if (source.column == name) return &source;
  }
  return nullptr;
}

// The custom view's settings before its columns are known; false when it may not be described.
bool beginCustomView(AGPTable& table, const std::u16string& sTableName,
                     const std::u16string& sSQL) {
  ProjectContext& context = projectContext();
  AGProperties& bag = table.properties();
  bag.setting(kTblType) = Variant(u"CUSTOMVIEW");
  bag.setting(kTblCustomSQL) = Variant(sSQL);
  bag.setting(kTblLoaded) = Variant(true);
  bag.setting(kTblGen) = Variant(true);
  if (GetDbmsType(context.currentDbmsName) == kDbmsOracle &&
      table.tblName().find(u' ') != std::u16string::npos) {
    bag.setting(kTblCustomError) = Variant(context.productTitle + u": Oracle Table/View Name [" +
                                           sTableName + u"] contain spaces,table not loaded!");
    bag.setting(kTblGen) = Variant(false);
    return false;
  }
  return true;
}

LoadOutcome failCustomView(AGPTable& table, const std::u16string& reason) {
  AGProperties& bag = table.properties();
  bag.setting(kTblGen) = Variant(false);
  bag.setting(kTblCustomError) = Variant(reason);
  table.LoadTableDefault();
  return LoadOutcome::failed(1, reason);
}

// Adds the field `name` through `load`, unless a field of that name in any letter case is
// there: field names are keys that ignore case.
template <typename Load>
void addCustomViewField(AGPTable& table, const std::u16string& name, bool duplicate,
                        const Load& load) {
  AGPFields& fields = table.fields();
  if (duplicate || fields.fieldExist(Variant(name))) {
    table.properties().setting(kTblGen) = Variant(false);
    table.properties().setting(kTblCustomError) = Variant(duplicateColumnText(name));
    return;
  }
  if (!fields.add(table.tblName(), name)) return;
  if (AGPField* field = fields.find(name)) attemptStep([&] { load(*field); });
}

}  // namespace

void ParseCustomSql(AGPTable& table, const CustomViewSources& sources) {
  ParseCustomSql(table, sources, recordedSqlQuote(sources.db));
}

void ParseCustomSql(AGPTable& table, const CustomViewSources& sources, const SqlQuote& quote) {
  // Any other database (SQLite, say) is read with every quote style, not as Access, which
  // would take its standard "quoted names" for text.
  const std::int16_t kind = GetDbmsType(projectContext().currentDbmsName);
  CustomSqlAnalyzer analyzer;
  if (!analyzer.analyse(toString(table.properties().setting(kTblCustomSQL)), kind)) return;
  const ModelQualifiers model(sources.db, kind, sources.connectionDatabase);
  AGPFields& fields = table.fields();
  for (std::int32_t i = 0; i < fields.count(); ++i) {
    AGPField& field = fields.at(static_cast<std::size_t>(i));
    CustomSqlColumn column = describeCustomViewColumn(analyzer, quote, field.FldName());
    if (const DescribedSource* described = describedSource(sources, field.FldName())) {
      // The file's own reading knows each column's table; the text's can only guess where a
      // star reaches a name two tables share ("b.col1" under "a.*"). An expression has none.
      const bool agrees = equalsNoCase(column.sourceTable, described->table) &&
                          equalsNoCase(column.sourceField, described->field);
      if (described->table.empty()) {
        column.sourceName.clear();
      } else if (column.sourceName.empty() || !agrees) {
        column.sourceName = QuoteSqlNameRaw(quote, Variant(described->table)) + u"." +
                            QuoteSqlNameRaw(quote, Variant(described->field));
      }
      column.sourceTable = described->table;
      column.sourceField = described->field;
    } else if (!column.sourceSchema.empty() &&
               !model.namesModelTable(column.sourceSchema, column.sourceTable)) {
      column.sourceTable.clear();
      column.sourceField.clear();
    }
    AGProperties& bag = field.properties();
    bag.setting(kFldAlias) = Variant(column.alias);
    bag.setting(kFldSourceName) = Variant(column.sourceName);
    bag.setting(kFldSourceTable) = Variant(column.sourceTable);
    bag.setting(kFldSourceField) = Variant(column.sourceField);
  }
}

LoadOutcome Load_ADOCustomView(const DatabaseLoad& load, AGPTable& table, AGPDatabase& db,
                               data::Connection& cnn, const std::u16string& sTableName,
                               const std::u16string& sSQL) {
  if (!beginCustomView(table, sTableName, sSQL)) return {};
  const std::int16_t kind = GetDbmsType(projectContext().currentDbmsName);
  const Expected<TableDescription> d = describeCustomView(cnn, sTableName, sSQL, kind);
  if (!d) return failCustomView(table, d.failure().text);
  table.properties().setting(kTblCustomError) = Variant(u"");
  for (const ColumnDescription& c : d->columns) {
    addCustomViewField(table, c.column.name, c.duplicate,
                       [&](AGPField& field) { field.LoadFld_ADO(adoFieldDefinition(c.column)); });
  }
  // The analysis is of the text only; a fault in it costs the sources, not the custom view.
  attemptStep([&] {
    ParseCustomSql(table, {db, cnn.properties().currentCatalog, {}}, load.quote);
  });
  if (d->typeNames) applyFieldTypeNames(table.fields(), *d->typeNames);
  table.LoadTableDefault();
  return {};
}

LoadOutcome Load_AccessCustomView(const DatabaseLoad& load, AGPTable& table, AGPDatabase& db,
                                  data::access::AccessFile& file, const std::u16string& sTableName,
                                  const std::u16string& sSQL) {
  if (!beginCustomView(table, sTableName, sSQL)) return {};
  const AccessQueryDescription d = describeAccessQuery(file, sSQL);
  if (d.problem) return failCustomView(table, *d.problem);
  table.properties().setting(kTblCustomError) = Variant(u"");
  CustomViewSources sources{db, u"", {}};
  for (const data::access::AccessColumn& column : d.columns) {
    addCustomViewField(table, column.name, false,
                       [&](AGPField& field) { field.LoadFld_DAO(daoFieldDefinition(column)); });
    sources.described.push_back({column.name, column.sourceTable, column.sourceField});
  }
  attemptStep([&] { ParseCustomSql(table, sources, load.quote); });
  table.LoadTableDefault();
  return {};
}

}  // namespace vantorel
