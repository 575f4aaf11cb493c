#include "database/table_schema_loader.hpp"

#include <vector>

#include "database/index_grouping.hpp"
#include "database/load_steps.hpp"
#include "database/table_description.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "foundation/value_format.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

// The model's reading of one described table: a field per column, with the load-time rules of
// the field import and what the database's kind tells beyond them.
class ModelTableSink {
 public:
  explicit ModelTableSink(AGPTable& table) : table_(table), bag_(table.properties()) {}

  void addFields(const TableDescription& d) {
    for (const ColumnDescription& c : d.columns) {
      AGPField* field = addField(c, d.name);
      if (!field) continue;
      AGProperties& f = field->properties();
      if (c.mysql) applyMySqlColumnType(*field, *c.mysql);
      if (!c.pgEnumValues.empty()) applyEnumTagValues(*field, tagValuesOf(c.pgEnumValues));
      if (c.rowGuid) f.setting(kFldAutoIncrement) = Variant(true);
      if (c.generated) {
        // The server computes it: no form writes it.
        f.setting(kFldAdd) = Variant(false);
        f.setting(kFldEdit) = Variant(false);
      }
      if (c.pgDefault && !toBool(f.setting(kFldAutoIncrement))) {
        f.setting(kFldDefault) = Variant(*c.pgDefault);
      }
    }
    if (d.typeNames) applyFieldTypeNames(table_.fields(), *d.typeNames);
  }

  void addKeys(const TableDescription& d) {
    AGPFields& fields = table_.fields();
    for (const ColumnDescription& c : d.columns) {
      if (c.duplicate) continue;
      forFieldsNamed(fields, c.column.name, [&](AGPField& f) {
        if (c.primaryKey) f.setFldIsPrimaryKey(true);
        if (c.required) {
          f.properties().setting(kFldReq) = Variant(true);
          f.properties().setting(kFldRequired) = Variant(true);
        }
        if (c.uniqueIndex) f.properties().setting(kFldUniqueIdx) = Variant(true);
      });
    }
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
  AGPField* addField(const ColumnDescription& c, const std::u16string& tableName) {
    AGPFields& fields = table_.fields();
    if (c.duplicate || fields.fieldExist(Variant(c.column.name))) {
      bag_.setting(kTblGen) = Variant(false);
      bag_.setting(kTblError) = Variant(duplicateColumnText(c.column.name));
      return nullptr;
    }
    if (!fields.add(tableName, c.column.name)) return nullptr;
    AGPField* field = fields.find(c.column.name);
    if (!field) return nullptr;
    attemptStep([&] { field->LoadFld_ADO(adoFieldDefinition(c.column)); });
    return field;
  }

  AGPTable& table_;
  AGProperties& bag_;
};

}  // namespace

void Load_ADO(const DatabaseLoad& load, AGPTable& table, data::Connection& cnn,
              const data::TableRow& rs, bool bLoadAll, BulkCatalogue* catalogue) {
  AGProperties& bag = table.properties();
  ProjectContext& context = projectContext();
  bag.setting(kTblType) = Variant(rs.type);
  bag.setting(kTblSchema) = Variant(rs.schema);
  if (bLoadAll && load.dynamicLoad) {
    // Only registered: AGP.LoadTable reads it when it is wanted.
    bag.setting(kTblGen) = Variant(false);
    bag.setting(kTblLoaded) = Variant(false);
    return;
  }
  bag.setting(kTblGen) = Variant(true);
  bag.setting(kTblError) = Variant(u"");

  const std::int16_t kind = GetDbmsType(context.currentDbmsName);
  const TableDescription d = catalogue ? catalogue->describe(cnn, rs, kind, load.quote)
                                       : describeAdoTable(cnn, rs, kind, load.quote);
  ModelTableSink sink(table);
  if (d.readError) {
    bag.setting(kTblError) = Variant(*d.readError);
    bag.setting(kTblGen) = Variant(false);
  } else {
    sink.addFields(d);
    bag.setting(kTblLoaded) = Variant(true);
    sink.addKeys(d);
  }
  sink.setKey();
  table.LoadTableDefault();
}

}  // namespace vantorel
