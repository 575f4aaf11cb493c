#pragma once
// The changes a synchronisation makes to a field without writing a record of its own: a column
// of the same type whose size, nullability, unique index, zero-length or auto-increment setting,
// attributes or enum/set values changed. The synchronisation copies them silently; `vantorel
// sync` lists them with its records so that a run that only changed these still says so.
#include <vector>

#include "sync/sync_log.hpp"

namespace vantorel {
class AGPDatabase;
class AGPSchema;
}  // namespace vantorel

namespace vantorel::cli {

// One "C" (Field) entry per such field of a loaded table or view, read from the model as it is
// before the synchronisation; the model is not changed.
std::vector<SyncLogEntry> unrecordedFieldChanges(AGPDatabase& db, const AGPSchema& snapshot);

}  // namespace vantorel::cli
