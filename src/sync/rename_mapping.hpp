#pragma once
// AGP.MapRenamedObjects: the first pass of a synchronisation. Before the other passes match the
// project with the snapshot by name, the tables, views and fields found only in the snapshot
// are paired with those found only in the project, so that an object renamed in the database
// keeps its settings. Names that differ only in letter case pair by themselves; the others are
// put to the user. Each rename goes through the collections' own change operation and is
// recorded with its old and new names, which the reference repair reads.
namespace vantorel {

struct SyncRun;

// Empties the run's change records first, so that the log holds this run only.
void MapRenamedObjects(SyncRun& run);

}  // namespace vantorel
