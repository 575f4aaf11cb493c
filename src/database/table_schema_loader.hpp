#pragma once
// AGPTable.Load_ADO: fills one table or view of a database reached over ODBC with its fields,
// the rules of its database kind (MySQL, SQL Server, PostgreSQL), its primary key, required
// columns and single-column unique indexes, and its load-time defaults.
//
// It reads the DBMS name the database loader leaves (currentDbmsName) and the load's own state
// (dynamic load, quote characters); the table's schema is its catalogue row's. No failure reaches
// the caller: a probe that fails puts the provider's text in TblError, any later failing step is
// skipped.
#include "database/bulk_catalogue.hpp"
#include "database/database_load.hpp"
#include "model/table.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/schema_rowsets.hpp"

namespace vantorel {

// rs is the table's row of the tables catalogue; bLoadAll is true while the whole database is
// loaded, when a dynamic load only registers the table. A whole load passes the catalogue it read
// in bulk; without one the table is read on its own.
void Load_ADO(const DatabaseLoad& load, AGPTable& table, data::Connection& cnn,
              const data::TableRow& rs, bool bLoadAll, BulkCatalogue* catalogue = nullptr);

}  // namespace vantorel
