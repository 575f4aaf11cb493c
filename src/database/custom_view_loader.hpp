#pragma once
// AGPTable.Load_ADOCustomView: makes a table a custom view of the query sSQL, one field per
// result column, with its load-time defaults. The query is described, never read; a query the
// provider refuses leaves its text in TblCustomError and the custom view without fields, and
// comes back as the load's failure. Where each column comes from is read from the query's text
// (ParseCustomSql).
#include <string>
#include <vector>

#include "database/custom_sql_analyzer.hpp"
#include "database/database_load.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "platform/data/access_file.hpp"
#include "platform/data/connection.hpp"

namespace vantorel {

// A result column's source as the database's own description of the query gave it.
struct DescribedSource {
  std::u16string column;  // the output name
  std::u16string table;
  std::u16string field;
};

// What a custom view's query is read against beside its text.
struct CustomViewSources {
  // The model: a source qualified by a schema or database is its table only when the qualifier
  // names where that table lives.
  AGPDatabase& db;
  // The database the custom view's connection works in (what a MariaDB qualifier names).
  std::u16string connectionDatabase;
  // Sources an Access file's description gave; they stand where the text alone cannot tell
  // (a * over several tables, a name DAO qualified with its table).
  std::vector<DescribedSource> described;
};

// AGPTable.ParseCustomSql: each field's alias flag and source (FldAlias, FldSourceName,
// FldSourceTable, FldSourceField) from the analysis of the table's TblCustomSQL. A source in
// another schema or database than the model table's keeps its FldSourceName but no table or
// column. A query the analyser cannot read leaves every field as it was.
// Names are quoted in `quote`; without, in the quote characters the database was loaded with.
void ParseCustomSql(AGPTable& table, const CustomViewSources& sources, const SqlQuote& quote);
void ParseCustomSql(AGPTable& table, const CustomViewSources& sources);

// The analysis of the output column `name` as ParseCustomSql takes it: under the name, else under
// the name in the quote characters.
CustomSqlColumn describeCustomViewColumn(const CustomSqlAnalyzer& analyzer, const SqlQuote& quote,
                                         const std::u16string& name);

LoadOutcome Load_ADOCustomView(const DatabaseLoad& load, AGPTable& table, AGPDatabase& db,
                               data::Connection& cnn, const std::u16string& sTableName,
                               const std::u16string& sSQL);

// The custom view over an Access file, described from the file (see access_custom_view.hpp):
// fields as the Access loader types the columns they show. A query that cannot be described
// leaves its reason, with its line and column where known, in TblCustomError and the custom view
// without fields, and comes back as the load's failure.
LoadOutcome Load_AccessCustomView(const DatabaseLoad& load, AGPTable& table, AGPDatabase& db,
                                  data::access::AccessFile& file, const std::u16string& sTableName,
                                  const std::u16string& sSQL);

}  // namespace vantorel
