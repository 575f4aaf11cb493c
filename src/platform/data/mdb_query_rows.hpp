#pragma once
// The rows of MSysQueries, where Jet keeps every stored query clause by clause, grouped by the
// query's object id (its MSysObjects id without the top byte, as libmdb's catalogue keeps it).
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/data/access_query_sql.hpp"
#include "platform/data/mdb_handles.hpp"

namespace vantorel::data::access {

using QueryRowsById = std::unordered_map<std::uint32_t, std::vector<QueryRow>>;

inline std::uint32_t catalogueId(long objectId) noexcept {
  return static_cast<std::uint32_t>(objectId) & 0x00FFFFFFu;
}

// Raises (ObjectUnreadable) when the table cannot be read.
QueryRowsById readQueryRows(MdbCatalogEntry& msysQueries);

}  // namespace vantorel::data::access
