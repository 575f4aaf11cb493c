#pragma once
// AGP.SyncMenus: keeps the menu list's table and chart links in step with the model after
// tables or charts came or went. Links whose table is gone are removed; every loaded table gets
// a "Table" link and each of its charts a "Chart" link below it when it has none. Existing
// entries and free entries are never changed.
namespace vantorel {

class AGP;

// Without a database nothing happens.
void SyncMenus(AGP& project);

}  // namespace vantorel
