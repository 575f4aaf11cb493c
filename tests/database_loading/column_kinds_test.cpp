// Columns whose load decides whether a page can show or take them: SQLite's BLOB columns and the
// key it numbers itself (the rowid's alias), PostgreSQL's enums, arrays and network addresses;
// each loaded with the catalogue read in bulk and table by table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/ado_database_loader.hpp"
#include "database/database_load.hpp"
#include "database_loading/loading_schema.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/ado_types.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

constexpr Dbms S = Dbms::Sqlite, P = Dbms::Postgres, M = Dbms::MariaDb;

// The whole database, its catalogue read in bulk where the server allows it or table by table.
Ref<AGPDatabase> loadWhole(const std::u16string& connectionString, bool inBulk) {
  projectContext().lastErrorText.clear();
  Ref<AGPDatabase> db = makeRef<AGPDatabase>();
  DatabaseLoad load;
  load.catalogueInBulk = inBulk;
  EXPECT_EQ(reportLoad(load, loadAdoDatabase(load, *db,
                                             {u"DB", u"", u"", u"", connectionString, u"", u""})),
            0);
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  return db;
}

AGProperties* fieldSettings(AGPDatabase& db, const std::u16string& table,
                            const std::u16string& field) {
  if (!db.tables().tableExist(Variant(table))) return nullptr;
  AGPField* found = db.tables().item(Variant(table))->fields().find(field);
  return found ? &found->properties() : nullptr;
}

std::string text(const AGProperties& bag, SettingSlot slot) {
  const Variant& v = bag.setting(slot);
  return v.isEmpty() ? "<empty>" : toUtf8(toString(v));
}

// "FldEdit FldAdd FldList FldView FldGenerate" as "E A L V G" letters, "-" for false.
std::string pageFlags(const AGProperties& bag) {
  std::string flags;
  for (const auto& [slot, letter] :
       {std::pair{kFldEdit, 'E'}, std::pair{kFldAdd, 'A'}, std::pair{kFldList, 'L'},
        std::pair{kFldView, 'V'}, std::pair{kFldGenerate, 'G'}}) {
    flags += toBool(bag.setting(slot)) ? letter : '-';
  }
  return flags;
}

// PostgreSQL's enums (one reordered after it was made, one of yes and no, one behind a domain),
// arrays of numbers, texts and an enum, and its network address types; a view of them.
std::u16string postgresKinds(TestDatabases& databases) {
  static std::u16string made;
  if (!made.empty()) return made;
  made = freshDatabase(databases, P);
  run(made, {u"CREATE TYPE mood AS ENUM ('sad', 'ok', 'say \"hi\"', 'a,b')",
             u"ALTER TYPE mood ADD VALUE 'meh' BEFORE 'ok'",
             u"CREATE TYPE yes_no AS ENUM ('N', 'Y')", u"CREATE DOMAIN feeling AS mood",
             u"CREATE TABLE moods (id serial PRIMARY KEY, mood mood NOT NULL DEFAULT 'ok', "
             u"answer yes_no, felt feeling, moods mood[], label varchar(20))",
             u"CREATE TABLE nets (id serial PRIMARY KEY, ints integer[], texts text[], ip inet, "
             u"net cidr, mac macaddr, note text)",
             u"CREATE VIEW mood_view AS SELECT id, mood, moods FROM moods"});
  return made;
}

class ColumnKindsLoad : public DatabaseTest {};

TEST_F(ColumnKindsLoad, ASqliteBlobLoadsAsTheOtherServersLongBinaryColumns) {
  struct Case {
    Dbms dbms;
    std::vector<const char16_t*> script;
  } cases[] = {
      {S,
       {u"CREATE TABLE files (id INTEGER PRIMARY KEY AUTOINCREMENT, body BLOB, "
        u"must BLOB NOT NULL, name TEXT)"}},
      {P,
       {u"CREATE TABLE files (id serial PRIMARY KEY, body bytea, must bytea NOT NULL, name text)"}},
      {M,
       {u"CREATE TABLE files (id int AUTO_INCREMENT PRIMARY KEY, body longblob, "
        u"must longblob NOT NULL, name text)"}},
  };
  for (const Case& c : cases) {
    const std::u16string connection = freshDatabase(databases(), c.dbms);
    SCOPED_TRACE(toUtf8(connection));
    run(connection, std::vector<std::u16string>(c.script.begin(), c.script.end()));
    for (bool inBulk : {false, true}) {
      Ref<AGPDatabase> db = loadWhole(connection, inBulk);
      for (const char16_t* name : {u"body", u"must"}) {
        SCOPED_TRACE(toUtf8(name));
        const AGProperties* bag = fieldSettings(*db, u"files", name);
        ASSERT_NE(bag, nullptr);
        EXPECT_EQ(text(*bag, kFldType), "205");
        EXPECT_EQ(text(*bag, kFldSupport), "True");
        EXPECT_EQ(text(*bag, kFldHtmlTag), "FILE");
        EXPECT_EQ(text(*bag, kFldViewTag), "IMAGE");
        EXPECT_EQ(pageFlags(*bag), "EA-VG");
        const std::int32_t attributes = toLong(bag->setting(kFldAttribute));
        EXPECT_EQ(attributes & data::kAdFldLong, data::kAdFldLong);
        EXPECT_EQ(attributes & data::kAdFldFixed, 0);
      }
      EXPECT_EQ(text(*fieldSettings(*db, u"files", u"must"), kFldReq), "True");
    }
  }
}

TEST_F(ColumnKindsLoad, ASqliteBlobKeepsItsKindInACustomViewAndBesideADeclaredLongBinary) {
  const std::u16string connection = freshDatabase(databases(), S);
  run(connection, {u"CREATE TABLE files (id INTEGER PRIMARY KEY, body BLOB, kept LONGVARBINARY)"});
  Ref<AGPDatabase> db = loadWhole(connection, true);
  ASSERT_EQ(LoadADOCustomView(*db, connection, u"cv", u"SELECT id, body AS picture FROM files"), 0);
  const AGProperties& declared = *fieldSettings(*db, u"files", u"kept");
  for (const auto& [table, field] : {std::pair{u"files", u"body"}, std::pair{u"cv", u"picture"}}) {
    SCOPED_TRACE(toUtf8(std::u16string(table) + u"." + field));
    const AGProperties* bag = fieldSettings(*db, table, field);
    ASSERT_NE(bag, nullptr);
    for (SettingSlot slot : {kFldType, kFldSize, kFldAttribute, kFldSupport, kFldHtmlTag}) {
      EXPECT_EQ(text(*bag, slot), text(declared, slot));
    }
  }
  EXPECT_EQ(text(declared, kFldSize), "65536");
}

TEST_F(ColumnKindsLoad, ASqliteRowidAliasIsAutoIncrement) {
  struct Case {
    const char16_t* create;
    bool autoIncrement;
  } cases[] = {
      {u"CREATE TABLE t (id INTEGER PRIMARY KEY, x TEXT)", true},
      {u"CREATE TABLE t (id integer primary key, x TEXT)", true},
      {u"CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, x TEXT)", true},
      {u"CREATE TABLE t (id INTEGER NOT NULL, x TEXT, PRIMARY KEY (id))", true},
      // DESC in the table's constraint still makes the alias; in the column's it does not.
      {u"CREATE TABLE t (id INTEGER, x TEXT, PRIMARY KEY (id DESC))", true},
      {u"CREATE TABLE t (id INTEGER PRIMARY KEY DESC, x TEXT)", false},
      {u"CREATE TABLE t (id INT PRIMARY KEY, x TEXT)", false},
      {u"CREATE TABLE t (id BIGINT PRIMARY KEY, x TEXT)", false},
      {u"CREATE TABLE t (id INTEGER, x INTEGER, PRIMARY KEY (id, x))", false},
      {u"CREATE TABLE t (id INTEGER PRIMARY KEY, x TEXT) WITHOUT ROWID", false},
      {u"CREATE TABLE t (id INTEGER UNIQUE, x TEXT)", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.create));
    const std::u16string connection = freshDatabase(databases(), S);
    run(connection, {c.create});
    Ref<AGPDatabase> db = loadWhole(connection, true);
    const AGProperties* bag = fieldSettings(*db, u"t", u"id");
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(toBool(bag->setting(kFldAutoIncrement)), c.autoIncrement);
    EXPECT_EQ(toBool(bag->setting(kFldAdd)), !c.autoIncrement);
    EXPECT_EQ(text(*bag, kFldHtmlTag), c.autoIncrement ? "" : "TEXT");
    EXPECT_FALSE(toBool(fieldSettings(*db, u"t", u"x")->setting(kFldAutoIncrement)));
  }
}

TEST_F(ColumnKindsLoad, APostgresEnumOffersItsValuesInTheirOrder) {
  const std::u16string moods =
      u"\"sad\",\"sad\"\r\n\"meh\",\"meh\"\r\n\"ok\",\"ok\"\r\n"
      u"\"say &quot;hi&quot;\",\"say &quot;hi&quot;\"\r\n\"a,b\",\"a,b\"\r\n";
  struct Case {
    const char16_t* table;
    const char16_t* field;
    const char* htmlTag;
    std::u16string tagValues;
    const char* flags;
  } cases[] = {
      {u"moods", u"mood", "SELECT", moods, "EALVG"},
      {u"moods", u"answer", "RADIO", u"\"N\",\"N\"\r\n\"Y\",\"Y\"\r\n", "EALVG"},
      // A domain over an enum takes only the enum's values.
      {u"moods", u"felt", "SELECT", moods, "EALVG"},
      // An array of an enum is an array.
      {u"moods", u"moods", "TEXT", u"<empty>", "--LVG"},
      {u"moods", u"label", "TEXT", u"<empty>", "EALVG"},
      // A view is read on its own, in a bulk load too.
      {u"mood_view", u"mood", "SELECT", moods, "EALVG"},
  };
  const std::u16string connection = postgresKinds(databases());
  for (bool inBulk : {false, true}) {
    SCOPED_TRACE(inBulk ? "in bulk" : "table by table");
    Ref<AGPDatabase> db = loadWhole(connection, inBulk);
    for (const Case& c : cases) {
      SCOPED_TRACE(toUtf8(std::u16string(c.table) + u"." + c.field));
      const AGProperties* bag = fieldSettings(*db, c.table, c.field);
      ASSERT_NE(bag, nullptr);
      EXPECT_EQ(text(*bag, kFldHtmlTag), c.htmlTag);
      EXPECT_EQ(text(*bag, kFldTagValues), toUtf8(c.tagValues));
      EXPECT_EQ(pageFlags(*bag), c.flags);
    }
    EXPECT_EQ(text(*fieldSettings(*db, u"moods", u"mood"), kFldDefault), "ok");
  }
}

TEST_F(ColumnKindsLoad, PostgresArraysAreShownAndAddressesTypedAsText) {
  struct Case {
    const char16_t* field;
    const char* typeName;
    const char* flags;
  } cases[] = {
      {u"ints", "array", "--LVG"}, {u"texts", "array", "--LVG"}, {u"ip", "inet", "EALVG"},
      {u"net", "cidr", "EALVG"},   {u"mac", "macaddr", "EALVG"},
  };
  const std::u16string connection = postgresKinds(databases());
  for (bool inBulk : {false, true}) {
    SCOPED_TRACE(inBulk ? "in bulk" : "table by table");
    Ref<AGPDatabase> db = loadWhole(connection, inBulk);
    for (const Case& c : cases) {
      SCOPED_TRACE(toUtf8(c.field));
      const AGProperties* bag = fieldSettings(*db, u"nets", c.field);
      ASSERT_NE(bag, nullptr);
      EXPECT_EQ(text(*bag, kFldTypeName), c.typeName);
      EXPECT_EQ(text(*bag, kFldSupport), "True");
      EXPECT_EQ(text(*bag, kFldHtmlTag), "TEXT");
      EXPECT_EQ(pageFlags(*bag), c.flags);
      // The field defaults, which a synchronisation gives a new column, keep an array off the
      // forms as well.
      AGPField& field = *db->tables().item(Variant(u"nets"))->fields().find(c.field);
      field.LoadFldDefault();
      EXPECT_EQ(pageFlags(field.properties()), c.flags);
    }
  }
}

TEST_F(ColumnKindsLoad, PostgresEnumsArraysAndAddressesLoadAlikeInBulkAndTableByTable) {
  expectBulkLoadAsPerTable(postgresKinds(databases()));
}

}  // namespace
}  // namespace vantorel::test
