#include "database/table_description.hpp"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "database/column_facts.hpp"
#include "database/custom_sql_statement.hpp"
#include "database/index_grouping.hpp"
#include "database/load_steps.hpp"
#include "database/postgresql_fields.hpp"
#include "database/sqlite_columns.hpp"
#include "foundation/project_context.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/query.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace {

template <typename Action>
void forColumnsNamed(TableDescription& table, std::u16string_view name, Action&& action) {
  for (ColumnDescription& c : table.columns) {
    if (!c.duplicate && c.column.name == name) action(c);
  }
}

bool isRowGuid(data::Connection& cnn, const TableDescription& table, const std::u16string& column) {
  const data::QueryResult result =
      data::runQuery(cnn, u"SELECT COLUMNPROPERTY(OBJECT_ID(?), ?, 'IsRowGuidCol')",
                     {Variant(cnn.quoteName(table.schema, table.name)), Variant(column)});
  return !result.rows.empty() && !result.rows.front().empty() &&
         data::integerOf(result.rows.front().front()) == 1;
}

// What each kind of database tells of the columns beyond the result's metadata.
void readColumnExtras(data::Connection& cnn, TableDescription& table, std::int16_t kind) {
  std::optional<data::QueryResult> showFields, defaults;
  std::map<std::u16string, std::vector<std::u16string>> enumValues;
  if (kind == kDbmsMySql) {
    attemptStep(
        [&] { showFields = data::runQuery(cnn, showFieldsQuery(cnn, table.schema, table.name)); });
  } else if (kind == kDbmsPostgreSql) {
    attemptStep([&] { defaults = readPostgreSqlDefaults(cnn, table.schema, table.name); });
    attemptStep([&] { enumValues = readPostgreSqlEnumValues(cnn, table.schema, table.name); });
  }
  for (ColumnDescription& c : table.columns) {
    if (c.duplicate) continue;
    const std::u16string& name = c.column.name;
    if (showFields) attemptStep([&] { c.mysql = mySqlColumnType(*showFields, name); });
    if (kind == kDbmsSqlServer && c.column.type == data::AdoType::Guid) {
      attemptStep([&] { c.rowGuid = isRowGuid(cnn, table, name); });
    }
    if (defaults) attemptStep([&] { c.pgDefault = postgreSqlColumnDefault(*defaults, name); });
    if (const auto values = enumValues.find(name); values != enumValues.end()) {
      c.pgEnumValues = values->second;
    }
  }
}

// Primary key, required columns and unique single-column indexes; views have none.
void readKeys(data::Connection& cnn, TableDescription& table, std::int16_t kind,
              const SqlQuote& quote) {
  data::SchemaScope scope;
  if (!table.schema.empty()) scope.schema = table.schema;
  TableKeys keys;
  if (kind != kDbmsAccess) {
    attemptStep([&] {
      for (const data::PrimaryKeyRow& row : data::listPrimaryKeys(cnn, scope, table.name)) {
        keys.primaryKey.push_back(row.column);
      }
    });
    attemptStep([&] {
      for (const data::ColumnRow& row : data::listColumns(cnn, scope, table.name)) {
        if (row.required()) keys.required.push_back(row.name);
      }
    });
  }
  std::optional<std::vector<data::IndexRow>> indexes;
  attemptStep([&] { indexes = data::listIndexes(cnn, scope, table.name); });
  if (!indexes && kind == kDbmsMySql) {
    attemptStep([&] {
      indexes = data::listIndexes(cnn, scope, QuoteSqlNameRaw(quote, Variant(table.name)));
    });
  }
  if (indexes) {
    std::vector<IndexColumn> rows;
    rows.reserve(indexes->size());
    for (const data::IndexRow& row : *indexes) {
      rows.push_back({row.indexName, row.unique, row.column, std::nullopt});
    }
    IndexMarks marks = groupIndexColumns(rows, kind);
    keys.primaryKey.insert(keys.primaryKey.end(), marks.primary.begin(), marks.primary.end());
    keys.unique = std::move(marks.unique);
  }
  applyKeys(table, keys);
}

std::u16string probeText(const data::Connection& cnn, const std::u16string& schema,
                         const std::u16string& name) {
  return u"SELECT * FROM " + cnn.quoteName(schema, name) + u" WHERE 0=1";
}

}  // namespace

std::vector<ColumnDescription> describedColumns(std::vector<data::FieldDescription> columns) {
  std::vector<ColumnDescription> described;
  described.reserve(columns.size());
  std::unordered_set<std::u16string, NoCaseHash, NoCaseEqual> names;
  for (data::FieldDescription& column : columns) {
    if (column.name.empty()) continue;
    ColumnDescription d;
    d.duplicate = !names.insert(column.name).second;
    d.column = std::move(column);
    described.push_back(std::move(d));
  }
  return described;
}

void applyKeys(TableDescription& table, const TableKeys& keys) {
  for (const std::u16string& name : keys.primaryKey) {
    forColumnsNamed(table, name, [](ColumnDescription& c) { c.primaryKey = true; });
  }
  for (const std::u16string& name : keys.required) {
    forColumnsNamed(table, name, [](ColumnDescription& c) { c.required = true; });
  }
  for (const std::u16string& name : keys.unique) {
    forColumnsNamed(table, name, [](ColumnDescription& c) { c.uniqueIndex = true; });
  }
}

std::vector<data::FieldDescription> probeTableColumns(data::Connection& cnn,
                                                      const std::u16string& schema,
                                                      const std::u16string& name) {
  data::Statement probe(cnn);
  probe.execDirect(probeText(cnn, schema, name));
  std::vector<data::FieldDescription> columns = data::describeResult(probe);
  probe.closeCursor();
  return columns;
}

TableDescription describeAdoTable(data::Connection& cnn, const data::TableRow& row,
                                  std::int16_t kind, const SqlQuote& quote) {
  TableDescription table;
  table.schema = row.schema;
  table.name = row.name;
  table.type = row.type;
  try {
    table.columns = describedColumns(probeTableColumns(cnn, table.schema, table.name));
  } catch (const AutomationError& e) {
    if (data::isConnectionLost(e)) throw;
    table.readError = e.description();
    return table;
  }
  readColumnExtras(cnn, table, kind);
  if (kind == kDbmsPostgreSql) {
    table.typeNames = readFieldTypeNames(cnn, table.name, table.schema, u"");
  }
  if (table.type == u"TABLE") {
    readKeys(cnn, table, kind, quote);
    attemptStep([&] {
      const std::map<std::u16string, ColumnFacts> facts = readColumnFacts(cnn, table, kind);
      for (ColumnDescription& c : table.columns) {
        if (const auto f = facts.find(c.column.name); !c.duplicate && f != facts.end()) {
          applyColumnFacts(c, f->second);
        }
      }
    });
  }
  if (isSqlite(cnn)) {
    describeSqliteBlobs(table.columns);
    if (table.type == u"TABLE") attemptStep([&] { markRowidAlias(cnn, table); });
  }
  return table;
}

std::optional<TableDescription> describeUnlistedTable(data::Connection& cnn,
                                                      const data::TableRow& row,
                                                      std::int16_t dbmsKind,
                                                      const SqlQuote& quote) {
  try {
    data::Statement probe(cnn);
    probe.execDirect(probeText(cnn, row.schema, row.name));
  } catch (const AutomationError& e) {
    if (data::isConnectionLost(e)) throw;
    if (!data::isAccessDenied(e)) return std::nullopt;
    TableDescription table;
    table.schema = row.schema;
    table.name = row.name;
    table.type = row.type;
    table.readError = e.description();
    return table;
  }
  return describeAdoTable(cnn, row, dbmsKind, quote);
}

Expected<TableDescription> describeCustomView(data::Connection& cnn, const std::u16string& name,
                                              const std::u16string& sql, std::int16_t kind) {
  // The text is read by the rules of the server it goes to, whatever the project says it is.
  const CustomQueryText query = checkCustomQuery(sql, GetDbmsType(cnn.properties().dbmsName));
  if (query.problem) return Failure{*query.problem};
  std::vector<data::FieldDescription> described;
  try {
    described = data::describeQuery(cnn, query.statement);
  } catch (const AutomationError& e) {
    if (data::isConnectionLost(e)) throw;
    return Failure{e.description(), e.number()};
  }
  TableDescription table;
  table.name = name;
  table.type = u"CUSTOMVIEW";
  if (kind == kDbmsPostgreSql) table.typeNames = readQueryTypeNames(cnn, name, described);
  table.columns = describedColumns(std::move(described));
  if (isSqlite(cnn)) describeSqliteBlobs(table.columns);
  return table;
}

std::u16string duplicateColumnText(const std::u16string& name) {
  return projectContext().productTitle + u": Duplicate Column Name - " + name +
         u" found! ASP scripts may not be generated correctly! Please rename duplicated field "
         u"names to ensure correct generation!";
}

AdoFieldDefinition adoFieldDefinition(const data::FieldDescription& column) {
  AdoFieldDefinition d;
  d.Name = column.name;
  d.Type = static_cast<std::int16_t>(column.type);
  // ADO's Precision is a byte; 255 stands for "not a number".
  d.Precision = static_cast<std::uint8_t>(std::clamp(column.precision, 0, 255));
  d.DefinedSize = column.definedSize;
  d.Attributes = column.attributes;
  d.IsAutoIncrement = Variant(column.autoIncrement);
  return d;
}

}  // namespace vantorel
