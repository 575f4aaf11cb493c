#pragma once
// Owners of libmdb's handles, for the Access reader's own files: the one place outside them
// that sees mdbtools.h (and the glib it pulls in).
#include <mdbtools.h>

#include <memory>

namespace vantorel::data::access {

struct MdbHandleCloser {
  void operator()(MdbHandle* mdb) const noexcept { mdb_close(mdb); }
};
using MdbHandlePtr = std::unique_ptr<MdbHandle, MdbHandleCloser>;

// Frees the table with its columns and indexes.
struct MdbTableFreer {
  void operator()(MdbTableDef* table) const noexcept { mdb_free_tabledef(table); }
};
using MdbTablePtr = std::unique_ptr<MdbTableDef, MdbTableFreer>;

}  // namespace vantorel::data::access
