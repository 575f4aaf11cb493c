#include "database/pg_metadata.hpp"

#include <map>
#include <utility>

#include "database/custom_sql_statement.hpp"
#include "database/load_steps.hpp"
#include "database/postgresql_fields.hpp"
#include "fields/field_settings.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/query.hpp"
#include "platform/data/query_metadata.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kColumnTypesQuery =
    u"SELECT c.relname, c.relkind, a.attname, t.typname, t.typcategory"
    u" FROM pg_catalog.pg_class c"
    u" JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    u" JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid"
    u" JOIN pg_catalog.pg_type t ON t.oid = a.atttypid"
    u" WHERE c.relname = ? AND a.attnum > 0 AND NOT a.attisdropped";

std::u16string tableType(std::u16string_view relkind) {
  if (relkind == u"r" || relkind == u"p") return u"TABLE";
  if (relkind == u"v" || relkind == u"m") return u"VIEW";
  return std::u16string(relkind);
}

}  // namespace

// The types generated pages have no input for. The list has always named "lseq"; the
// line-segment type it meant is "lseg". An address (inet, cidr) is typed as its text, which
// the server checks; an array is shown as its text (see applyTypeName).
bool unsupportedPgType(std::u16string_view typeName) {
  static constexpr std::u16string_view kTypes[] = {u"bit",  u"box",  u"circle", u"line",   u"lseq",
                                                   u"lseg", u"path", u"point",  u"polygon"};
  if (typeName.empty()) return true;
  const std::u16string lower = toLower(typeName);
  for (std::u16string_view type : kTypes) {
    if (lower == type) return true;
  }
  return false;
}

namespace {

void applyTypeName(AGPFields& fields, const PgMetadataField& column) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(fields.count()); ++i) {
    AGPField& field = fields.at(i);
    if (field.FldName() != column.Name) continue;
    AGProperties& bag = field.properties();
    bag.setting(kFldTypeName) = Variant(column.DataTypeName);
    if (unsupportedPgType(column.DataTypeName)) {
      bag.setting(kFldSupport) = Variant(false);
      bag.setting(kFldGenerate) = Variant(false);
    } else if (column.DataTypeName == kPgArrayTypeName) {
      // Its text, "{1,2}", reads well, but a form has no input that keeps its elements apart.
      bag.setting(kFldEdit) = Variant(false);
      bag.setting(kFldAdd) = Variant(false);
    }
  }
}

}  // namespace

std::u16string pgTypeName(std::u16string typname, std::u16string_view typcategory) {
  return typcategory == u"A" ? std::u16string(kPgArrayTypeName) : std::move(typname);
}

std::vector<PgMetadataTable> PgMetadataComponent::tables(std::u16string_view name,
                                                         std::u16string_view schema) {
  const data::QueryResult result =
      queryPgTableColumns(connection_, std::u16string(kColumnTypesQuery), schema, name);
  std::vector<PgMetadataTable> found;
  for (std::size_t row = 0; row < result.rows.size(); ++row) {
    if (found.empty()) {
      found.push_back({data::textOf(result.value(row, u"relname")),
                       tableType(data::textOf(result.value(row, u"relkind"))),
                       {}});
    }
    found.front().Fields.push_back({data::textOf(result.value(row, u"attname")),
                                    pgTypeName(data::textOf(result.value(row, u"typname")),
                                               data::textOf(result.value(row, u"typcategory")))});
  }
  return found;
}

PgMetadataTable PgMetadataComponent::describe(std::u16string_view name,
                                              const std::vector<data::FieldDescription>& columns) {
  PgMetadataTable table{std::u16string(name), u"CUSTOMVIEW", {}};
  std::map<std::pair<std::u16string, std::u16string>, std::vector<PgMetadataTable>> sources;
  for (const data::FieldDescription& column : columns) {
    PgMetadataField field{column.name, column.typeName};
    if (!column.baseTable.empty() && !column.baseColumn.empty()) {
      const auto key = std::make_pair(column.baseSchema, column.baseTable);
      auto source = sources.find(key);
      if (source == sources.end()) {
        source = sources.emplace(key, tables(column.baseTable, column.baseSchema)).first;
      }
      for (const PgMetadataTable& base : source->second) {
        for (const PgMetadataField& baseField : base.Fields) {
          if (baseField.Name == column.baseColumn) field.DataTypeName = baseField.DataTypeName;
        }
      }
    }
    table.Fields.push_back(std::move(field));
  }
  return table;
}

std::optional<std::vector<PgMetadataField>> readQueryTypeNames(
    data::Connection& connection, std::u16string_view sTableName,
    const std::vector<data::FieldDescription>& columns) {
  PgMetadataComponent component(connection);
  std::vector<PgMetadataField> fields;
  if (!attemptStep([&] { fields = component.describe(sTableName, columns).Fields; })) {
    return std::nullopt;
  }
  return fields;
}

std::optional<std::vector<PgMetadataField>> readFieldTypeNames(data::Connection& connection,
                                                               std::u16string_view sTableName,
                                                               std::u16string_view schema,
                                                               std::u16string_view sSQL) {
  PgMetadataComponent component(connection);
  // Every type name is read before the first is used, so a failed read leaves them all as the
  // driver gave them.
  std::vector<PgMetadataField> columns;
  const bool read = attemptStep([&] {
    if (sSQL.empty()) {
      for (const PgMetadataTable& table : component.tables(sTableName, schema)) {
        if ((table.TableType == u"TABLE" || table.TableType == u"VIEW") &&
            table.Name == sTableName) {
          columns.insert(columns.end(), table.Fields.begin(), table.Fields.end());
        }
      }
    } else {
      // The query is described once and never run as it stands (see describeQuery).
      const CustomQueryText query = checkCustomQuery(sSQL, kDbmsPostgreSql);
      if (query.problem) throw data::DataError({}, *query.problem);
      columns =
          component.describe(sTableName, data::describeQuery(connection, query.statement)).Fields;
    }
  });
  if (!read) return std::nullopt;
  return columns;
}

void LoadFieldTypeNames(data::Connection& connection, AGPFields& Fields,
                        std::u16string_view sTableName, std::u16string_view schema,
                        std::u16string_view sSQL) {
  const std::optional<std::vector<PgMetadataField>> columns =
      readFieldTypeNames(connection, sTableName, schema, sSQL);
  if (columns) applyFieldTypeNames(Fields, *columns);
}

void applyFieldTypeNames(AGPFields& Fields, const std::vector<PgMetadataField>& columns) {
  for (const PgMetadataField& column : columns) applyTypeName(Fields, column);
}

}  // namespace vantorel
