#pragma once
// Reading the snapshot's records in place: the passes walk every record and every column, and
// the snapshot's own accessor hands out copies.
#include <cstddef>
#include <cstdint>

#include "schema/schema_snapshot.hpp"

namespace vantorel {

// Record i (1 .. tblcnt); the empty record for an index the array does not hold.
inline const AGSchemaTable& snapshotTable(const AGPSchema& snapshot, std::int16_t i) {
  static const AGSchemaTable kEmpty;
  const auto& records = snapshot.database().Tables.Tbl;
  return i >= 0 && static_cast<std::size_t>(i) < records.size()
             ? records[static_cast<std::size_t>(i)]
             : kEmpty;
}

// Column j (1 .. TblFldCnt) of a record; the empty column when the array does not hold it.
inline const AGSchemaField& snapshotField(const AGSchemaTable& rec, std::int16_t j) {
  static const AGSchemaField kEmpty;
  const auto& fields = rec.TblFields.fld;
  return j >= 0 && static_cast<std::size_t>(j) < fields.size() ? fields[static_cast<std::size_t>(j)]
                                                               : kEmpty;
}

}  // namespace vantorel
