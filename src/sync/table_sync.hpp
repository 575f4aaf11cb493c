#pragma once
// AGP.SyncTablesViews: the main pass of a synchronisation. Every stored table and view follows
// its snapshot record: fields of tables that remain are updated, new tables and fields are
// added, a table whose type changed is rebuilt, a changed primary key is put to the user, and
// what the database no longer has is deleted. Custom views and reports have passes of their own.
namespace vantorel {

struct SyncRun;

void SyncTablesViews(SyncRun& run);

}  // namespace vantorel
