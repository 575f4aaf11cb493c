#pragma once
// AGP.SyncCustom, AGP.SyncReport and the report pass: custom views and reports are not in the
// database's catalogue, so they follow their own sources. A custom view runs its query again
// and its fields follow the columns that come back; a report's fields follow its source table.
#include <string>

namespace vantorel {

class AGP;
struct SyncRun;

void SyncCustom(SyncRun& run, const std::u16string& sTable);
void SyncReport(SyncRun& run, const std::u16string& sTable);
// Every report of the model, in order.
void SyncReports(SyncRun& run);

// The host's entries for one object, outside a whole synchronisation: their change records are
// not logged. Without a database nothing happens.
void SyncCustom(AGP& project, const std::u16string& sTable);
void SyncReport(AGP& project, const std::u16string& sTable);

}  // namespace vantorel
