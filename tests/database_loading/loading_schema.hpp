#pragma once
// The schemas the loading tests read, one per database, and the way into each.
#include <string>
#include <vector>

#include "model/database.hpp"

#include "model/table.hpp"
#include "platform/automation/ref.hpp"
#include "support/schema_script.hpp"

namespace vantorel::test {

// A user of both servers, allowed to read the test database, whose password needs quoting.
inline constexpr char16_t kSemicolonUser[] = u"semi";
inline constexpr char16_t kSemicolonPassword[] = u"se;mi}x";

// What the database loader leaves for one table's load.
struct TableToLoad {
  Dbms dbms;
  std::u16string schema;
  std::u16string name;
  std::u16string type = u"TABLE";
  bool loadAll = false;
  bool dynamic = false;
};

// "table.field.setting=Type:value" for every setting of every table and field, in load order.
std::vector<std::string> modelSettings(AGPDatabase& db);

// Loads the database whole twice, reading the catalogue table by table and then in bulk, and
// expects the same settings, one by one.
void expectBulkLoadAsPerTable(const std::u16string& connectionString);

// A new table of that name, filled by Load_ADO over a connection of its own.
Ref<AGPTable> loadTable(TestDatabases& databases, const TableToLoad& what);

}  // namespace vantorel::test
