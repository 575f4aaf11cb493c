#pragma once
// A stored query as MSysQueries keeps it (one row per clause item) turned into the SQL text
// DAO's QueryDef.SQL gives, with the tables, joins and output expressions kept apart for the
// reader's view description.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/access_schema.hpp"

namespace vantorel::data::access {

struct QueryRow {
  std::int32_t attribute = 0;
  std::u16string name1;
  std::u16string name2;
  std::u16string expression;
  std::int32_t flag = 0;
};

struct QueryOutput {
  std::u16string expression;
  std::u16string alias;   // "" when the column is not renamed
  std::u16string target;  // the column an append or update query writes
  std::int32_t flag = 0;  // a crosstab's role: 0 value, 1 column heading, 2 row heading
};

struct ParsedQuery {
  bool hasParameters = false;
  bool selectStar = false;  // SELECT * over every table
  std::vector<QueryTable> tables;
  std::vector<QueryJoin> joins;  // table names as the query names them (aliases unresolved)
  std::vector<QueryOutput> outputs;
  std::u16string sql;
};

ParsedQuery parseQuery(QueryKind kind, const std::vector<QueryRow>& rows);

// The parts of an expression that is only a column reference ("col", "T.col", "[T].[c c]",
// "T.*"), unbracketed; nullopt for anything else.
std::optional<std::vector<std::u16string>> identifierPath(std::u16string_view expression);

}  // namespace vantorel::data::access
