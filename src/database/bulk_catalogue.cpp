#include "database/bulk_catalogue.hpp"

#include <algorithm>
#include <utility>

#include "database/load_steps.hpp"
#include "foundation/sql_quoting.hpp"

namespace vantorel {

namespace {

bool hasBulkPath(std::int16_t kind) {
  return kind == kDbmsPostgreSql || kind == kDbmsMySql;
}

// MariaDB and MySQL list no schema; the bulk reading files their tables under the empty one.
std::u16string schemaOf(const data::TableRow& row, std::int16_t kind) {
  return kind == kDbmsMySql ? std::u16string() : row.schema;
}

// The schemas whose base tables the load reads.
std::vector<std::u16string> tableSchemas(const std::vector<CatalogueEntry>& entries,
                                         std::int16_t kind) {
  std::vector<std::u16string> schemas;
  for (const CatalogueEntry& entry : entries) {
    if (entry.row.type != u"TABLE") continue;
    std::u16string schema = schemaOf(entry.row, kind);
    if (std::find(schemas.begin(), schemas.end(), schema) == schemas.end()) {
      schemas.push_back(std::move(schema));
    }
  }
  return schemas;
}

}  // namespace

BulkCatalogue BulkCatalogue::read(data::Connection& cnn, const std::vector<CatalogueEntry>& entries,
                                  std::int16_t kind, bool inBulk) {
  if (!inBulk || !hasBulkPath(kind)) return {};
  const std::vector<std::u16string> schemas = tableSchemas(entries, kind);
  if (schemas.empty()) return {};
  BulkCatalogue catalogue;
  const bool read = attemptStep([&] {
    if (kind == kDbmsPostgreSql) {
      readPostgreSqlCatalogue(cnn, schemas, catalogue.reading_);
    } else {
      readMySqlCatalogue(cnn, catalogue.reading_);
    }
  });
  // A server whose catalogue does not answer these queries is read table by table.
  if (!read) return {};
  catalogue.described_.resize(catalogue.reading_.signatureCount());
  catalogue.active_ = true;
  catalogue.probeRepresentatives(cnn, entries, kind);
  return catalogue;
}

const BulkTable* BulkCatalogue::tableOf(const data::TableRow& row, std::int16_t kind) const {
  if (!active_ || row.type != u"TABLE") return nullptr;
  const BulkTable* table = reading_.find(schemaOf(row, kind), row.name);
  if (!table || table->onItsOwn || !table->readable) return nullptr;
  return table;
}

BulkTable* BulkCatalogue::tableOf(const data::TableRow& row, std::int16_t kind) {
  return const_cast<BulkTable*>(std::as_const(*this).tableOf(row, kind));
}

bool BulkCatalogue::holds(const data::TableRow& row, std::int16_t kind) const {
  const BulkTable* table = tableOf(row, kind);
  return table && fullyDescribed(*table);
}

bool BulkCatalogue::fullyDescribed(const BulkTable& table) const {
  return std::all_of(table.columns.begin(), table.columns.end(),
                     [&](const BulkColumn& c) { return described_[c.signature].has_value(); });
}

// Probes the tables, in load order, that hold a column of facts no probe described yet, and
// lists their columns in the driver's catalogue. A table whose probe or listing is refused, or
// whose columns the probe does not give as the catalogue listed them, is left to be read on
// its own.
void BulkCatalogue::probeRepresentatives(data::Connection& cnn,
                                         const std::vector<CatalogueEntry>& entries,
                                         std::int16_t kind) {
  for (const CatalogueEntry& entry : entries) {
    BulkTable* table = tableOf(entry.row, kind);
    if (!table || fullyDescribed(*table)) continue;
    std::vector<data::FieldDescription> probed;
    std::vector<data::ColumnRow> listed;
    data::SchemaScope scope;
    if (!entry.row.schema.empty()) scope.schema = entry.row.schema;
    if (!attemptStep([&] {
          probed = probeTableColumns(cnn, entry.row.schema, entry.row.name);
          listed = data::listColumns(cnn, scope, entry.row.name);
        })) {
      table->onItsOwn = true;
      continue;
    }
    const bool same = std::equal(
        probed.begin(), probed.end(), table->columns.begin(), table->columns.end(),
        [](const data::FieldDescription& p, const BulkColumn& c) { return p.name == c.name; });
    if (!same) {
      table->onItsOwn = true;
      continue;
    }
    for (std::size_t i = 0; i < probed.size(); ++i) {
      std::optional<Described>& d = described_[table->columns[i].signature];
      if (d) continue;
      const bool required = std::any_of(
          listed.begin(), listed.end(),
          [&](const data::ColumnRow& r) { return r.required() && r.name == probed[i].name; });
      d = Described{std::move(probed[i]), entry.row.schema, entry.row.name, required};
    }
  }
}

TableDescription BulkCatalogue::describe(data::Connection& cnn, const data::TableRow& row,
                                         std::int16_t kind, const SqlQuote& quote) {
  BulkTable* table = tableOf(row, kind);
  if (!table || !fullyDescribed(*table)) return describeAdoTable(cnn, row, kind, quote);
  TableDescription d = build(row, *table, kind);
  // Read once: a second request reads the table again, and the memory goes back now.
  table->onItsOwn = true;
  std::vector<BulkColumn>().swap(table->columns);
  return d;
}

TableDescription BulkCatalogue::build(const data::TableRow& row, BulkTable& table,
                                      std::int16_t kind) const {
  TableDescription d;
  d.schema = row.schema;
  d.name = row.name;
  d.type = row.type;
  std::vector<data::FieldDescription> fields;
  fields.reserve(table.columns.size());
  for (const BulkColumn& c : table.columns) {
    const Described& source = *described_[c.signature];
    data::FieldDescription& f = fields.emplace_back(source.column);
    // Where the driver named the probed column's own table and column, this one names its.
    if (f.baseTable == source.table) f.baseTable = row.name;
    if (f.baseSchema == source.schema) f.baseSchema = row.schema;
    if (f.baseColumn == f.name) f.baseColumn = c.name;
    f.name = c.name;
  }
  d.columns = describedColumns(std::move(fields));
  for (std::size_t i = 0; i < d.columns.size(); ++i) {
    ColumnDescription& column = d.columns[i];
    if (column.duplicate) continue;
    column.mysql = table.columns[i].mysql;
    column.pgDefault = table.columns[i].pgDefault;
    column.pgEnumValues = std::move(table.columns[i].pgEnumValues);
  }
  if (kind == kDbmsPostgreSql) {
    std::vector<PgMetadataField>& names = d.typeNames.emplace();
    names.reserve(table.columns.size());
    for (const BulkColumn& c : table.columns) names.push_back({c.name, c.pgTypeName});
  }
  std::vector<std::u16string> required;
  for (const BulkColumn& c : table.columns) {
    if (described_[c.signature]->required) required.push_back(c.name);
  }
  applyKeys(d, {table.primaryKey, std::move(required), table.unique});
  for (std::size_t i = 0; i < d.columns.size(); ++i) {
    if (!d.columns[i].duplicate) applyColumnFacts(d.columns[i], table.columns[i].facts);
  }
  return d;
}

}  // namespace vantorel
