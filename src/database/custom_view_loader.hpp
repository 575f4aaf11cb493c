#pragma once
// AGPTable.Load_ADOCustomView: makes a table a custom view of the query sSQL, one field per
// result column, with its load-time defaults. The query is described, never read; a query the
// provider refuses leaves its text in TblCustomError and in the project's LastErrorText, and the
// custom view without fields. Where each column comes from is read from the query's text
// (ParseCustomSql).
#include <string>

#include "database/custom_sql_analyzer.hpp"
#include "model/table.hpp"
#include "platform/data/connection.hpp"

namespace vantorel {

// AGPTable.ParseCustomSql: each field's alias flag and source (FldAlias, FldSourceName,
// FldSourceTable, FldSourceField) from the analysis of the table's TblCustomSQL. A query the
// analyser cannot read leaves every field as it was.
void ParseCustomSql(AGPTable& table);

// The analysis of the output column `name` as ParseCustomSql takes it: under the name, else under
// the name in the current quote characters.
CustomSqlColumn describeCustomViewColumn(const CustomSqlAnalyzer& analyzer,
                                         const std::u16string& name);

void Load_ADOCustomView(AGPTable& table, data::Connection& cnn, const std::u16string& sTableName,
                        const std::u16string& sSQL);

}  // namespace vantorel
