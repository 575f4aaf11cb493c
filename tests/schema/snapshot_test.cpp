// AGPSchema over the three servers and Access files: the snapshot agrees with the model loaded
// from the same database, records what each kind of database tells, and fails where it cannot
// give a true picture instead of giving an empty or partial one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/engine_setup.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "schema/snapshot_agreement.hpp"
#include "schema/snapshot_schema.hpp"
#include "support/db_servers.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

std::string utf8(const std::u16string& text) { return toUtf8(text); }

class SnapshotTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    ProjectContext& context = projectContext();
    context.lastErrorText.clear();
  }
  std::u16string connectionString(Dbms dbms) { return connectionStringFor(databases(), dbms); }
};

const AGSchemaTable* recordNamed(const std::vector<AGSchemaTable>& records, std::u16string_view n) {
  for (const AGSchemaTable& t : records) {
    if (t.TblName == n) return &t;
  }
  return nullptr;
}

std::vector<AGSchemaTable> records(const AGPSchema& snapshot) {
  std::vector<AGSchemaTable> out;
  for (std::int16_t i = 1; i <= snapshot.tblcnt(); ++i) out.push_back(snapshot.Tbl(i));
  return out;
}

const AGSchemaField* fieldNamed(const AGSchemaTable& tbl, std::u16string_view name) {
  for (std::int16_t j = 1; j <= tbl.TblFldCnt; ++j) {
    if (tbl.TblFields.fld[static_cast<std::size_t>(j)].FldName == name) {
      return &tbl.TblFields.fld[static_cast<std::size_t>(j)];
    }
  }
  return nullptr;
}

TEST_F(SnapshotTest, ModelAndSnapshotAgreeOnEveryServer) {
  for (Dbms dbms : {Dbms::Sqlite, Dbms::Postgres, Dbms::MariaDb}) {
    SCOPED_TRACE(static_cast<int>(dbms));
    const Ref<AGPDatabase> model = modelOf(connectionString(dbms));
    const Ref<AGPSchema> snapshot = snapshotOf(connectionString(dbms));
    EXPECT_GE(snapshot->tblcnt(), 3);
    expectModelAndSnapshotAgree(*model, *snapshot);
    EXPECT_EQ(snapshot->database().DBType, u"ODBC");
    EXPECT_EQ(snapshot->database().DBConnstr, connectionString(dbms));
    EXPECT_FALSE(snapshot->database().DBDBMSName.empty());
  }
}

TEST_F(SnapshotTest, ModelAndSnapshotAgreeOnTheAccessFilesKeptHere) {
  for (const auto& entry : fs::directory_iterator(fs::path(VANTOREL_TEST_DATA) / "access")) {
    const fs::path& path = entry.path();
    if (path.extension() == ".mdb" || path.extension() == ".accdb") expectAccessFileAgrees(path);
  }
}

// What the snapshot records of particular columns, server by server.
TEST_F(SnapshotTest, RecordsEachServersOwnRules) {
  struct Case {
    const char16_t* table;
    const char16_t* field;
    const char16_t* quote;  // nullptr: not checked
    const char16_t* tagValues;
    Dbms dbms;
    std::int32_t attributeBit4;  // 4 set, 0 clear, -1 not checked
    std::int16_t type;
    bool primary, required, unique, autoIncrement, supported;
  };
  const Case cases[] = {
      // A key alone in its index is also a unique index.
      {u"customers", u"id", u"", u"", Dbms::Sqlite, -1, 3, true, false, true, true, true},
      {u"customers", u"name", u"'", u"", Dbms::Sqlite, -1, 200, false, true, false, false, true},
      {u"customers", u"email", u"'", u"", Dbms::Sqlite, -1, 200, false, false, true, false, true},
      {u"customers", u"essay", u"'", u"", Dbms::Postgres, 4, 203, false, false, false, false, true},
      {u"customers", u"born", u"'", u"", Dbms::Postgres, 4, 133, false, false, false, false, true},
      {u"customers", u"pos", nullptr, u"", Dbms::Postgres, 4, -1, false, false, false, false,
       false},
      {u"order lines", u"line", u"", u"", Dbms::Postgres, 4, 3, true, true, false, false, true},
      // The driver reports an auto-numbered column as nullable.
      {u"customers", u"id", u"", u"", Dbms::MariaDb, -1, 3, true, false, true, true, true},
      {u"customers", u"yes_no", u"'", u"\"N\",\"N\"\r\n\"Y\",\"Y\"\r\n", Dbms::MariaDb, -1, -1,
       false, true, false, false, true},
      {u"customers", u"opts", u"'", u"\"x\",\"x\"\r\n\"y\",\"y\"\r\n", Dbms::MariaDb, -1, -1,
       false, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.table) + "." + utf8(c.field));
    const Ref<AGPSchema> snapshot = snapshotOf(connectionString(c.dbms));
    const std::vector<AGSchemaTable> all = records(*snapshot);
    const AGSchemaTable* tbl = recordNamed(all, c.table);
    ASSERT_TRUE(tbl);
    const AGSchemaField* fld = fieldNamed(*tbl, c.field);
    ASSERT_TRUE(fld);
    if (c.type >= 0) {
      EXPECT_EQ(fld->FldType, c.type);
    }
    if (c.attributeBit4 >= 0) {
      EXPECT_EQ(fld->FldAttribute & 4, c.attributeBit4);
    }
    if (c.quote) {
      EXPECT_EQ(fld->FldQuoteS, c.quote);
      EXPECT_EQ(fld->FldQuoteE, c.quote);
    }
    EXPECT_EQ(fld->FldIsPrimaryKey, c.primary);
    EXPECT_EQ(fld->FldReq, c.required);
    EXPECT_EQ(fld->FldUniqueIdx, c.unique);
    EXPECT_EQ(fld->FldAutoIncrement, c.autoIncrement);
    EXPECT_EQ(fld->FldSupport, c.supported);
    EXPECT_EQ(fld->FldTagValues, c.tagValues);
  }
}

TEST_F(SnapshotTest, KeysDefaultsAndViews) {
  const Ref<AGPSchema> snapshot = snapshotOf(connectionString(Dbms::Postgres));
  const std::vector<AGSchemaTable> all = records(*snapshot);
  const AGSchemaTable* lines = recordNamed(all, u"order lines");
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->TblKey, u"line\r\norder_id");
  EXPECT_EQ(lines->TblSchema, u"public");
  EXPECT_TRUE(lines->TblGen);
  const AGSchemaTable* customers = recordNamed(all, u"customers");
  ASSERT_TRUE(customers);
  EXPECT_EQ(toString(fieldNamed(*customers, u"note")->FldDefault), u"none");
  EXPECT_EQ(toString(fieldNamed(*customers, u"score")->FldDefault), u"0");
  // A sequence default is the database's to fill: no default recorded.
  EXPECT_TRUE(fieldNamed(*customers, u"id")->FldDefault.isEmpty());
  EXPECT_EQ(fieldNamed(*customers, u"tags")->FldTypeName, u"array");
  const AGSchemaTable* view = recordNamed(all, u"big_lines");
  ASSERT_TRUE(view);
  EXPECT_EQ(view->TblType, u"VIEW");
  EXPECT_EQ(view->TblKey, u"");
  EXPECT_FALSE(fieldNamed(*view, u"line")->FldReq);
  for (std::int16_t i = 1; i <= snapshot->tblcnt(); ++i) EXPECT_EQ(snapshot->Tbl(i).TblSeq, i);
}

// Names that differ only in letter case: the first is kept and the table is not generated, as
// the model loads it.
TEST_F(SnapshotTest, SecondOfCaseDuplicateColumnsIsSkipped) {
  const Ref<AGPSchema> snapshot = snapshotOf(connectionString(Dbms::Postgres));
  const std::vector<AGSchemaTable> all = records(*snapshot);
  const AGSchemaTable* cased = recordNamed(all, u"cased");
  ASSERT_TRUE(cased);
  EXPECT_FALSE(cased->TblGen);
  ASSERT_EQ(cased->TblFldCnt, 2);
  EXPECT_EQ(cased->TblFields.fld[1].FldName, u"Name");
  EXPECT_EQ(cased->TblFields.fld[2].FldName, u"id");
  EXPECT_EQ(cased->TblReadError, u"");
}

TEST_F(SnapshotTest, TableWhoseReadIsRefusedIsListedWithTheProvidersMessage) {
  const std::u16string cs =
      databases().postgres().connectionString(kTestDatabase, kReader, kReaderPassword);
  const Ref<AGPSchema> snapshot = snapshotOf(cs);
  const std::vector<AGSchemaTable> all = records(*snapshot);
  const AGSchemaTable* secret = recordNamed(all, u"secret");
  ASSERT_TRUE(secret);
  EXPECT_FALSE(secret->TblGen);
  EXPECT_EQ(secret->TblFldCnt, 0);
  EXPECT_NE(utf8(secret->TblReadError).find("permission denied"), std::string::npos)
      << utf8(secret->TblReadError);
  const AGSchemaTable* customers = recordNamed(all, u"customers");
  ASSERT_TRUE(customers);
  EXPECT_TRUE(customers->TblGen);
  EXPECT_EQ(customers->TblReadError, u"");
  expectModelAndSnapshotAgree(*modelOf(cs), *snapshot);
}

TEST_F(SnapshotTest, OneTableByName) {
  for (Dbms dbms : {Dbms::Sqlite, Dbms::Postgres, Dbms::MariaDb}) {
    auto snapshot = makeRef<AGPSchema>();
    std::u16string name;
    snapshot->LoadDB(name, u"ADO", u"", u"", false, u"", u"", connectionString(dbms), u"",
                     u"order lines");
    EXPECT_EQ(utf8(projectContext().lastErrorText), "");
    ASSERT_EQ(snapshot->tblcnt(), 1);
    EXPECT_EQ(snapshot->Tbl(1).TblName, u"order lines");
    EXPECT_EQ(snapshot->Tbl(1).TblKey, u"line\r\norder_id");
  }
}

// An ODBC source is reached by its data source name, or by the connection string when one is
// given.
TEST_F(SnapshotTest, OdbcSourcesByNameOrByConnectionString) {
  struct Case {
    const char16_t* name;
    std::u16string connStr;
  };
  const Case cases[] = {{kSqliteDsn, u""},
                        {u"no_such_dsn", connectionString(Dbms::Sqlite)},
                        {u"", connectionString(Dbms::Sqlite)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.name));
    auto snapshot = makeRef<AGPSchema>();
    std::u16string name = c.name;
    snapshot->LoadDB(name, u"odbc", u"", u"", false, u"", u"", c.connStr, u"", u"");
    EXPECT_EQ(utf8(projectContext().lastErrorText), "");
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(snapshot->database().DBName, c.name);
    EXPECT_EQ(snapshot->database().DBType, u"ODBC");
    EXPECT_EQ(snapshot->tblcnt(), 3);
  }
}

TEST_F(SnapshotTest, RecordsAreCopiesAndOutOfRangeRaises9) {
  auto fresh = makeRef<AGPSchema>();
  EXPECT_EQ(fresh->tblcnt(), 0);
  EXPECT_FALSE(fresh->loaded());
  EXPECT_THROW(fresh->Tbl(0), AutomationError);
  const Ref<AGPSchema> snapshot = snapshotOf(connectionString(Dbms::Sqlite));
  EXPECT_TRUE(snapshot->loaded());
  const AGSchemaTable empty = snapshot->Tbl(0);
  EXPECT_EQ(empty.TblName, u"");
  EXPECT_EQ(empty.TblFldCnt, 0);
  AGSchemaTable copy = snapshot->Tbl(1);
  const std::u16string name = copy.TblName;
  copy.TblName = u"changed";
  copy.TblFields.fld[1].FldName = u"changed";
  EXPECT_EQ(snapshot->Tbl(1).TblName, name);
  EXPECT_NE(snapshot->Tbl(1).TblFields.fld[1].FldName, u"changed");
  for (std::int16_t i : {static_cast<std::int16_t>(-1),
                         static_cast<std::int16_t>(snapshot->tblcnt() + 1)}) {
    try {
      static_cast<void>(snapshot->Tbl(i));
      ADD_FAILURE() << "no error for " << i;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 9);
    }
  }
}

TEST_F(SnapshotTest, SecondLoadChangesNothingButTheMessage) {
  const Ref<AGPSchema> snapshot = snapshotOf(connectionString(Dbms::Sqlite));
  const std::int16_t count = snapshot->tblcnt();
  std::u16string name;
  snapshot->LoadDB(name, u"ADO", u"", u"", false, u"", u"", connectionString(Dbms::Postgres),
                   u"", u"");
  EXPECT_EQ(projectContext().lastErrorText, u"database already loaded!");
  EXPECT_EQ(snapshot->tblcnt(), count);
  EXPECT_EQ(snapshot->database().DBConnstr, connectionString(Dbms::Sqlite));
}

// Settings that name no database fail with their message, and nothing is loaded.
TEST_F(SnapshotTest, GuardsFailWithTheirMessage) {
  struct Case {
    const char16_t* type;
    const char16_t* name;
    const char16_t* path;
    const char16_t* connStr;
    const char16_t* message;
    const char16_t* nameAfter;
  };
  const Case cases[] = {
      {u"ACCESS", u"x", u"", u"", u"invalid database path!", u"x"},
      {u"ODBC", u"", u"", u"", u"invalid DBName specified!", u""},
      {u"ADO", u"x", u"", u"", u"invalid connection string specified!", u"DB"},
      {u"whatever", u"", u"", u"", u"invalid connection string specified!", u"DB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.type));
    auto snapshot = makeRef<AGPSchema>();
    std::u16string name = c.name;
    snapshot->LoadDB(name, c.type, c.path, c.path, false, u"", u"", c.connStr, u"", u"");
    EXPECT_EQ(projectContext().lastErrorText, c.message);
    EXPECT_EQ(name, c.nameAfter);
    EXPECT_FALSE(snapshot->loaded());
    EXPECT_EQ(snapshot->tblcnt(), 0);
  }
}

// Whatever cannot be read fails with a message and leaves the snapshot empty and not loaded.
TEST_F(SnapshotTest, UnreadableDatabasesFailWithAMessage) {
  const fs::path garbage = databases().folder() / "not-a-database.sqlite";
  std::ofstream(garbage) << std::string(4096, 'x');
  struct Case {
    const char16_t* type;
    std::u16string path;
    std::u16string connStr;
    const char* messageHas;
  };
  const Case cases[] = {
      {u"ADO", u"",
       u"Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=" +
           fromUtf8(std::to_string(freeLocalPort())) +
           u";Database=vantorel;Uid=test;Pwd=test",
       "ADO Error"},
      {u"ACCESS", fromUtf8((databases().folder() / "missing.mdb").string()), u"", "Error # "},
      {u"ACCESS", fromUtf8(garbage.string()), u"", "Error # "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.path + c.connStr));
    auto snapshot = makeRef<AGPSchema>();
    std::u16string name;
    snapshot->LoadDB(name, c.type, c.path, c.path, false, u"", u"", c.connStr, u"", u"");
    const std::string message = utf8(projectContext().lastErrorText);
    EXPECT_NE(message.find(c.messageHas), std::string::npos) << message;
    EXPECT_EQ(snapshot->tblcnt(), 0);
    if (c.type == std::u16string(u"ADO")) {
      EXPECT_FALSE(snapshot->loaded());
    }
  }
}

TEST_F(SnapshotTest, AccessFileWithoutPhysicalPathIsAFailure) {
  auto snapshot = makeRef<AGPSchema>();
  std::u16string name;
  snapshot->LoadDB(name, u"ACCESS", u"shop.mdb", u"", false, u"", u"", u"", u"", u"");
  EXPECT_EQ(projectContext().lastErrorText,
            u"Open MS Access database failed. Error: No database file was named.");
  EXPECT_FALSE(snapshot->loaded());
}

TEST_F(SnapshotTest, CustomViewsAreDescribedWithoutRunning) {
  struct Case {
    Dbms dbms;
    const char16_t* sql;
    std::int16_t result;
    std::int16_t fields;
    bool gen;
    const char* messageHas;
  };
  const Case cases[] = {
      {Dbms::Sqlite, u"SELECT id, name FROM customers", 0, 2, true, ""},
      {Dbms::Postgres, u"SELECT c.id, c.name, c.tags FROM customers c", 0, 3, true, ""},
      {Dbms::MariaDb, u"SELECT id, yes_no FROM customers", 0, 2, true, ""},
      {Dbms::Postgres, u"SELECT id, id FROM customers", 0, 1, false, ""},
      {Dbms::Postgres, u"SELECT nothing FROM nowhere", 1, 0, false, "nowhere"},
      {Dbms::Postgres, u"SELECT FROM customers", 1, 0, false, "returns no columns"},
      {Dbms::Sqlite, u"DELETE FROM customers", 1, 0, false, ": "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf8(c.sql));
    const std::u16string cs = connectionString(c.dbms);
    projectContext().currentDbmsName = data::Connection(cs).properties().dbmsName;
    auto snapshot = makeRef<AGPSchema>();
    EXPECT_EQ(snapshot->LoadADOCustomView(cs, u"cv", c.sql), c.result);
    const std::string message = utf8(projectContext().lastErrorText);
    if (*c.messageHas) {
      EXPECT_NE(message.find(c.messageHas), std::string::npos) << message;
    } else {
      EXPECT_EQ(message, "");
    }
    EXPECT_EQ(snapshot->tblcnt(), 0);
    const AGSchemaTable tbl = snapshot->Tbl(1);
    EXPECT_EQ(tbl.TblType, u"CUSTOMVIEW");
    EXPECT_EQ(tbl.TblName, u"cv");
    EXPECT_EQ(tbl.TblFldCnt, c.fields);
    EXPECT_EQ(tbl.TblGen, c.gen);
  }
  // Described, never run: the table is still there.
  EXPECT_EQ(records(*snapshotOf(connectionString(Dbms::Sqlite))).size(), 3u);
}

// The display opens with the phase, shows each object, counts up to 100 and closes; a load of
// one object shows no per-object lines.
TEST_F(SnapshotTest, ProgressOpensShowsEachObjectAndCloses) {
  using Kind = ui::RecordingBackend::Event::Kind;
  auto rec = std::make_shared<ui::RecordingBackend>();
  ui::setBackendForTesting(rec);
  const Ref<AGPSchema> snapshot = snapshotOf(connectionString(Dbms::Sqlite));
  const auto opened = rec->events(Kind::Opened);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened.front().text, projectContext().productTitle + u" - Checking Database Schema...");
  std::vector<std::u16string> lines;
  for (const auto& e : rec->events(Kind::Status)) lines.push_back(e.text);
  const std::vector<std::u16string> expected{
      u"Connecting to Data Source...", u"Loading Database Tables/Views...",
      u"Loading TABLE customers...", u"Loading TABLE order lines...", u"Loading VIEW big_lines..."};
  EXPECT_EQ(lines, expected);
  ASSERT_FALSE(rec->events(Kind::Percent).empty());
  EXPECT_EQ(rec->events(Kind::Percent).back().percent, 100);
  EXPECT_EQ(rec->events(Kind::Closed).size(), 1u);
  EXPECT_EQ(rec->events().back().kind, Kind::Closed);

  rec->clearEvents();
  auto one = makeRef<AGPSchema>();
  std::u16string name;
  one->LoadDB(name, u"ADO", u"", u"", false, u"", u"", connectionString(Dbms::Sqlite), u"",
              u"customers");
  EXPECT_TRUE(rec->events(Kind::Status).empty());
  EXPECT_TRUE(rec->events(Kind::Percent).empty());
  EXPECT_EQ(rec->events(Kind::Closed).size(), 1u);
  ui::setBackendForTesting(nullptr);
}

TEST_F(SnapshotTest, ScriptsCreateAndLoadTheSnapshot) {
  setUpEngine();
  Ref<Object> object = ClassFactory::instance().create(u"vantorel4.AGPSchema");
  auto* snapshot = dynamic_cast<AGPSchema*>(object.get());
  ASSERT_TRUE(snapshot);
  EXPECT_EQ(AGPSchema::MySQLTagValues(u"('a','it''s')"),
            u"\"a\",\"a\"\r\n\"it's\",\"it's\"\r\n");
}

}  // namespace
}  // namespace vantorel::test
