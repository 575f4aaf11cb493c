#pragma once
// What refers to tables and charts by name outside the model: menu entries (a "Table" entry's
// URL is the table name, a "Chart" entry's "table|chart") and the phrases of tables, charts and
// fields in the shared language. The collections keep them in step through these procedures.
// Names compare exactly, as menus and phrase tables store them; entries with a free URL
// (MenuCustomUrl) link nothing and are never renamed or deleted.
#include <string>
#include <string_view>

namespace vantorel {

std::u16string chartMenuUrl(std::u16string_view table, std::u16string_view chart);

// "Table" entries of oldName get newName; "Chart" entries of its charts keep their chart part.
void renameTableMenus(std::u16string_view oldName, std::u16string_view newName);
void deleteTableMenus(std::u16string_view table);
void renameChartMenus(std::u16string_view table, std::u16string_view oldName,
                      std::u16string_view newName);
void deleteChartMenus(std::u16string_view table, std::u16string_view chart);
// The table's own entry and its charts' entries are shown or hidden, free URLs that match
// included.
void showTableMenus(std::u16string_view table, bool show);

// The phrases of a table, of its charts and of its fields move to the new table name.
void renameTablePhrases(std::u16string_view oldName, std::u16string_view newName);
void renameChartPhrases(std::u16string_view table, std::u16string_view oldName,
                        std::u16string_view newName);

}  // namespace vantorel
