#pragma once
// The descriptions of a whole database's base tables read in bulk: a few catalogue queries for
// all tables of the loaded schemas instead of several for each table, on PostgreSQL and MariaDB
// (or MySQL). Each table's description comes out exactly as describeAdoTable gives it: the
// columns' ODBC descriptions are those of a probe of a table holding a column of the same
// catalogue facts, and so is whether the driver's column catalogue calls it required; what
// the bulk passes cannot render exactly (an index over an expression, a table the user may not
// read, a view) is read table by table as before.
#include <cstdint>
#include <optional>
#include <vector>

#include "database/bulk_tables.hpp"
#include "database/catalogue_selection.hpp"
#include "database/table_description.hpp"

namespace vantorel {

class BulkCatalogue {
 public:
  // Holds nothing: every table is read on its own.
  BulkCatalogue() = default;

  // Reads the catalogue of the entries' base tables in bulk when the database's kind allows it
  // and the load reads in bulk (DatabaseLoad::catalogueInBulk). When a bulk query fails it holds
  // nothing. A lost connection is raised.
  static BulkCatalogue read(data::Connection& cnn, const std::vector<CatalogueEntry>& entries,
                            std::int16_t kind, bool inBulk);

  // The row's description, as describeAdoTable gives it: made from the bulk reading when it
  // holds the table (once; the reading of it is let go), else read on its own.
  TableDescription describe(data::Connection& cnn, const data::TableRow& row, std::int16_t kind,
                            const SqlQuote& quote);

  // True when describe makes the row's description from the bulk reading.
  bool holds(const data::TableRow& row, std::int16_t kind) const;

  // The columns of the tables the bulk reading holds: the fields a load will make of them.
  std::size_t columnCount() {
    std::size_t n = 0;
    for (const BulkTable& table : reading_.tables()) n += table.columns.size();
    return n;
  }

 private:
  const BulkTable* tableOf(const data::TableRow& row, std::int16_t kind) const;
  BulkTable* tableOf(const data::TableRow& row, std::int16_t kind);
  bool fullyDescribed(const BulkTable& table) const;
  void probeRepresentatives(data::Connection& cnn, const std::vector<CatalogueEntry>& entries,
                            std::int16_t kind);
  TableDescription build(const data::TableRow& row, BulkTable& table, std::int16_t kind) const;

  bool active_ = false;
  BulkReading reading_;
  // By signature: the description a probe gave a column of those facts, its table's name, and
  // whether the driver's column catalogue called that column required.
  struct Described {
    data::FieldDescription column;
    std::u16string schema, table;
    bool required = false;
  };
  std::vector<std::optional<Described>> described_;
};

}  // namespace vantorel
