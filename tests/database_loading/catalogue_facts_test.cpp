// Columns whose settings the driver's description alone gets wrong, on PostgreSQL and MariaDB,
// loaded with the catalogue read in bulk and table by table: a bit string's length, a column
// the server computes, a unique index over part of the rows, a domain's NOT NULL and MariaDB's
// NOT NULL timestamp. The snapshot of a check reads them alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "database/ado_database_loader.hpp"
#include "database/database_load.hpp"
#include "database/load_entries.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "schema/difference_check.hpp"
#include "support/schema_script.hpp"
#include "support/shared_menus.hpp"

namespace vantorel::test {
namespace {

const std::vector<std::u16string> kPostgresSchema = {
    u"CREATE DOMAIN positive_int AS integer NOT NULL CHECK (VALUE > 0)",
    u"CREATE TABLE k (id integer PRIMARY KEY, b bit(3), vb varbit(8), qty positive_int, "
    u"price numeric(10,2), total numeric(12,2) GENERATED ALWAYS AS (price * 2) STORED, "
    u"serial_no varchar(10) UNIQUE)",
    // Apart: a partial index has its table read on its own even in a bulk load.
    u"CREATE TABLE p (id integer PRIMARY KEY, code varchar(10), flag boolean)",
    u"CREATE UNIQUE INDEX p_code_when_flagged ON p (code) WHERE flag",
};

const std::vector<std::u16string> kMariaDbSchema = {
    u"CREATE TABLE m (id int AUTO_INCREMENT PRIMARY KEY, price decimal(10,2), "
    u"total decimal(12,2) AS (price * 2) STORED, half decimal(12,2) AS (price / 2) VIRTUAL, "
    u"ts timestamp NOT NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP, "
    u"note varchar(10))",
};

struct Expected {
  Dbms dbms;
  const char16_t* table;
  const char16_t* field;
  std::int32_t size;  // -1: not checked
  bool required, unique, generated;
};

const Expected kExpected[] = {
    {Dbms::Postgres, u"k", u"b", 3, false, false, false},
    {Dbms::Postgres, u"k", u"vb", 8, false, false, false},
    {Dbms::Postgres, u"k", u"qty", -1, true, false, false},
    {Dbms::Postgres, u"k", u"total", -1, false, false, true},
    {Dbms::Postgres, u"k", u"serial_no", 10, false, true, false},
    {Dbms::Postgres, u"p", u"code", 10, false, false, false},
    {Dbms::MariaDb, u"m", u"total", -1, false, false, true},
    {Dbms::MariaDb, u"m", u"half", -1, false, false, true},
    {Dbms::MariaDb, u"m", u"ts", -1, true, false, false},
    {Dbms::MariaDb, u"m", u"note", 10, false, false, false},
    // The server numbers it; the driver calls it nullable, and so it stays.
    {Dbms::MariaDb, u"m", u"id", -1, false, true, false},
};

class CatalogueFacts : public DatabaseTest {
 protected:
  std::u16string database(Dbms kind) {
    const std::u16string connection = freshDatabase(databases(), kind);
    run(connection, kind == Dbms::Postgres ? kPostgresSchema : kMariaDbSchema);
    return connection;
  }
};

TEST_F(CatalogueFacts, BothLoadPathsTakeTheCataloguesWord) {
  for (const Dbms kind : {Dbms::Postgres, Dbms::MariaDb}) {
    const std::u16string connection = database(kind);
    for (const bool inBulk : {true, false}) {
      SCOPED_TRACE(std::string(dbmsName(kind)) + (inBulk ? " in bulk" : " table by table"));
      Ref<AGPDatabase> db = makeRef<AGPDatabase>();
      projectContext().lastErrorText.clear();
      DatabaseLoad load;
      load.catalogueInBulk = inBulk;
      ASSERT_EQ(reportLoad(
                    load, loadAdoDatabase(load, *db, {u"DB", u"", u"", u"", connection, u"", u""})),
                0)
          << toUtf8(projectContext().lastErrorText);
      for (const Expected& e : kExpected) {
        if (e.dbms != kind) continue;
        SCOPED_TRACE(toUtf8(std::u16string(e.table) + u"." + e.field));
        Ref<AGPTable> table = db->tables().item(Variant(e.table));
        ASSERT_TRUE(table);
        AGPField* field = table->fields().find(e.field);
        ASSERT_NE(field, nullptr);
        AGProperties& bag = field->properties();
        if (e.size >= 0) {
          EXPECT_EQ(toLong(bag.setting(kFldSize)), e.size);
        }
        EXPECT_EQ(toBool(bag.setting(kFldReq)), e.required);
        EXPECT_EQ(toBool(bag.setting(kFldRequired)), e.required);
        EXPECT_EQ(toBool(bag.setting(kFldUniqueIdx)), e.unique);
        if (e.generated) {
          EXPECT_FALSE(toBool(bag.setting(kFldAdd)));
          EXPECT_FALSE(toBool(bag.setting(kFldEdit)));
        } else if (e.field != std::u16string_view(u"id")) {
          EXPECT_TRUE(toBool(bag.setting(kFldAdd)));
          EXPECT_TRUE(toBool(bag.setting(kFldEdit)));
        }
        // A computed column's expression is no default.
        EXPECT_EQ(toString(bag.setting(kFldDefault)), u"");
      }
    }
  }
  clearMenus();
}

// The snapshot reads the same, so that a project loaded from such a database is up to date.
TEST_F(CatalogueFacts, TheCheckOfAProjectLoadedFromThemFindsNothing) {
  for (const Dbms kind : {Dbms::Postgres, Dbms::MariaDb}) {
    SCOPED_TRACE(dbmsName(kind));
    clearMenus();
    Ref<AGP> project = makeRef<AGP>();
    project->AddProj(u"Facts");
    DatabaseLoadArguments arguments;
    arguments.sDbType = u"ODBC";
    arguments.sConnStr = database(kind);
    projectContext().lastErrorText.clear();
    LoadDB(*project, arguments);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    EXPECT_EQ(CheckDB(*project), 0) << toUtf8(projectContext().lastErrorText);
    project->UnLoadDB();
  }
  clearMenus();
}

}  // namespace
}  // namespace vantorel::test
