#pragma once
// One table's definition read through libmdb: its columns in DAO's terms and its indexes, the
// index part checked against libmdb's known failure to walk some index lists.
#include "platform/data/access_schema.hpp"
#include "platform/data/access_types.hpp"
#include "platform/data/mdb_handles.hpp"

namespace vantorel::data::access {

// Raises (ObjectUnreadable, with libmdb's messages) when the definition cannot be read; an
// index list libmdb misreads leaves the table without indexes and says why in indexNote.
AccessTable readTableDefinition(MdbCatalogEntry& entry, JetFormat format);

}  // namespace vantorel::data::access
