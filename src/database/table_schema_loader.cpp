#include "database/table_schema_loader.hpp"

#include <optional>
#include <utility>
#include <vector>

#include "database/field_description_import.hpp"
#include "database/index_grouping.hpp"
#include "database/load_steps.hpp"
#include "database/mysql_fields.hpp"
#include "database/pg_metadata.hpp"
#include "database/postgresql_fields.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/query.hpp"
#include "platform/data/query_metadata.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

// One table's load: the connection, the table and what the loader's queries read about it.
class TableSchemaLoad {
 public:
  TableSchemaLoad(AGPTable& table, data::Connection& cnn, std::u16string name)
      : table_(table),
        bag_(table.properties()),
        cnn_(cnn),
        name_(std::move(name)),
        schema_(projectContext().currentSchemaName),
        kind_(GetDbmsType(projectContext().currentDbmsName)) {}

  // The fields from the probe's result columns; false, with the provider's text in TblError,
  // when the probe fails.
  bool readFields() {
    std::vector<data::FieldDescription> columns;
    try {
      data::Statement probe(cnn_);
      probe.execDirect(u"SELECT * FROM " + cnn_.quoteName(schema_, name_) + u" WHERE 0=1");
      columns = data::describeResult(probe);
      probe.closeCursor();
    } catch (const AutomationError& e) {
      bag_.setting(kTblError) = Variant(e.description());
      bag_.setting(kTblGen) = Variant(false);
      return false;
    }
    std::optional<data::QueryResult> showFields, defaults;
    if (kind_ == kDbmsMySql) {
      attemptStep(
          [&] { showFields = data::runQuery(cnn_, showFieldsQuery(cnn_, schema_, name_)); });
    } else if (kind_ == kDbmsPostgreSql) {
      attemptStep([&] { defaults = readPostgreSqlDefaults(cnn_, schema_, name_); });
    }
    for (const data::FieldDescription& column : columns) {
      AGPField* field = addField(column);
      if (!field) continue;
      if (showFields) attemptStep([&] { SetupMySQLFld(*field, *showFields, column.name); });
      if (kind_ == kDbmsSqlServer && column.type == data::AdoType::Guid) {
        attemptStep([&] { readRowGuid(*field, column.name); });
      }
      if (defaults) attemptStep([&] { SetupPostgreSqlFld(*field, *defaults, column.name); });
    }
    if (kind_ == kDbmsPostgreSql) LoadFieldTypeNames(cnn_, table_.fields(), name_, u"");
    return true;
  }

  // Primary key, required columns and unique single-column indexes; views have none.
  void readKeys() {
    AGPFields& fields = table_.fields();
    data::SchemaScope scope;
    if (!schema_.empty()) scope.schema = schema_;
    if (kind_ != kDbmsAccess) {
      attemptStep([&] {
        for (const data::PrimaryKeyRow& row : data::listPrimaryKeys(cnn_, scope, name_)) {
          forFieldsNamed(fields, row.column, [](AGPField& f) { f.setFldIsPrimaryKey(true); });
        }
      });
      attemptStep([&] {
        for (const data::ColumnRow& row : data::listColumns(cnn_, scope, name_)) {
          if (!row.required()) continue;
          forFieldsNamed(fields, row.name, [](AGPField& f) {
            f.properties().setting(kFldReq) = Variant(true);
            f.properties().setting(kFldRequired) = Variant(true);
          });
        }
      });
    }
    std::optional<std::vector<data::IndexRow>> indexes;
    attemptStep([&] { indexes = data::listIndexes(cnn_, scope, name_); });
    if (!indexes && kind_ == kDbmsMySql) {
      attemptStep(
          [&] { indexes = data::listIndexes(cnn_, scope, QuoteSqlNameRaw(Variant(name_))); });
    }
    if (!indexes) return;
    std::vector<IndexColumn> rows;
    rows.reserve(indexes->size());
    for (const data::IndexRow& row : *indexes) {
      rows.push_back({row.indexName, row.unique, row.column, std::nullopt});
    }
    applyIndexColumns(rows, fields, kind_);
  }

  void setKey() {
    std::vector<std::u16string> names;
    AGPFields& fields = table_.fields();
    for (std::size_t i = 0; i < static_cast<std::size_t>(fields.count()); ++i) {
      if (fields.at(i).FldIsPrimaryKey()) names.push_back(fields.at(i).FldName());
    }
    bag_.setting(kTblKey) = Variant(toString(SortLines(Variant(join(names, u"\r\n")))));
  }

 private:
  // The column's new field; nullptr when the table already has a field of that name in any
  // letter case, which is reported rather than dropped unseen.
  AGPField* addField(const data::FieldDescription& column) {
    AGPFields& fields = table_.fields();
    if (fields.fieldExist(Variant(column.name))) {
      bag_.setting(kTblGen) = Variant(false);
      bag_.setting(kTblError) =
          Variant(projectContext().productTitle + u": Duplicate Column Name - " + column.name +
                  u" found! ASP scripts may not be generated correctly! Please rename duplicated "
                  u"field names to ensure correct generation!");
      return nullptr;
    }
    if (!fields.add(name_, column.name)) return nullptr;
    AGPField* field = fields.find(column.name);
    if (!field) return nullptr;
    attemptStep([&] { field->LoadFld_ADO(adoFieldDefinition(column)); });
    return field;
  }

  // A SQL Server uniqueidentifier column that the server fills itself counts as auto-increment.
  void readRowGuid(AGPField& field, const std::u16string& column) {
    const data::QueryResult result =
        data::runQuery(cnn_, u"SELECT COLUMNPROPERTY(OBJECT_ID(?), ?, 'IsRowGuidCol')",
                       {Variant(cnn_.quoteName(schema_, name_)), Variant(column)});
    if (!result.rows.empty() && !result.rows.front().empty() &&
        data::integerOf(result.rows.front().front()) == 1) {
      field.properties().setting(kFldAutoIncrement) = Variant(true);
    }
  }

  AGPTable& table_;
  AGProperties& bag_;
  data::Connection& cnn_;
  std::u16string name_;
  std::u16string schema_;
  std::int16_t kind_;
};

}  // namespace

void Load_ADO(AGPTable& table, data::Connection& cnn, const data::TableRow& rs, bool bLoadAll) {
  AGProperties& bag = table.properties();
  bag.setting(kTblType) = Variant(rs.type);
  bag.setting(kTblSchema) = Variant(projectContext().currentSchemaName);
  if (bLoadAll && projectContext().currentDynamicLoadDB) {
    // Only registered: AGP.LoadTable reads it when it is wanted.
    bag.setting(kTblGen) = Variant(false);
    bag.setting(kTblLoaded) = Variant(false);
    return;
  }
  bag.setting(kTblGen) = Variant(true);
  bag.setting(kTblError) = Variant(u"");

  TableSchemaLoad load(table, cnn, rs.name);
  if (load.readFields()) bag.setting(kTblLoaded) = Variant(true);
  if (rs.type == u"TABLE") load.readKeys();
  load.setKey();
  table.LoadTableDefault();
}

}  // namespace vantorel
