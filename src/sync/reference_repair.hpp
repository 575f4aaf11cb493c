#pragma once
// AGP.SyncFieldRefs: after the tables, custom views and reports followed the database, the
// settings that name another table or field (a lookup's source, the settings that point at a
// sibling field, and a table's master/detail link and user id field) follow the renames of this
// run or are cleared with what was deleted; the charts' fields and the project's and database's
// security tables and their fields follow renames. The renames and deletions are read from the
// run's change records; each repair adds one record.
#include <string>

namespace vantorel {

struct SyncRun;

void SyncFieldRefs(SyncRun& run);

// A renamed table takes the reports built on it along: their source names the new table. Called
// as the rename happens, since the report pass that needs it runs before the repair pass.
void FollowTableRename(SyncRun& run, const std::u16string& oldName, const std::u16string& newName);

}  // namespace vantorel
