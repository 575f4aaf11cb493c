#pragma once
// What every pass that may create tables or fields sets first: the date format and the security
// default that the new objects' defaults read.
namespace vantorel {

struct SyncRun;

// CurrentDateFormat from the project's "defaultDateFormat" when numeric, else 0;
// CurrentSecDefault from the database's SecDefault.
void SetSyncDefaults(SyncRun& run);

}  // namespace vantorel
