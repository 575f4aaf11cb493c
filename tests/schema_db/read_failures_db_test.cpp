// Reading a live database that hides a table, loses its connection part-way, or names things
// outside ASCII: the check, the synchronisation and the whole-database load on the servers where
// each was found.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "database/load_entries.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/project_file_operations.hpp"
#include "schema/difference_check.hpp"
#include "schema_db/schema_db.hpp"
#include "support/site_pages.hpp"
#include "support/test_files.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

std::u16string databaseOf(const std::u16string& cs) {
  const std::size_t from = cs.find(u"Database=") + 9;
  return cs.substr(from, cs.find(u';', from) - from);
}

// Runs an action once, when the progress display first shows the given line.
class StatusTrigger : public ui::RecordingBackend {
 public:
  StatusTrigger(std::u16string line, std::function<void()> action)
      : line_(std::move(line)), action_(std::move(action)) {}
  void progressStatus(int handle, std::u16string_view text) override {
    RecordingBackend::progressStatus(handle, text);
    if (fired_ || text != line_) return;
    fired_ = true;
    action_();
  }
  bool fired() const { return fired_; }

 private:
  std::u16string line_;
  std::function<void()> action_;
  bool fired_ = false;
};

class ReadFailuresDb : public SchemaDbTest {
 protected:
  void SetUp() override {
    SchemaDbTest::SetUp();
    projectContext().reportFolder = fromUtf8((databases().folder() / "reports").string());
  }
  void TearDown() override {
    ui::setBackendForTesting(nullptr);
    SchemaDbTest::TearDown();
  }
  std::string save(AGP& p, const char* name) {
    const fs::path path = databases().folder() / name;
    saveProjectFile(p, fromUtf8(path.string()));
    EXPECT_EQ(toUtf8(err()), "");
    return readFile(path);
  }
  // Ends every other session on the database, as a server restart or an administrator would.
  void endSessions(Dbms server, const std::u16string& database) {
    TestDatabases& db = databases();
    if (server == Dbms::Postgres) {
      run(db.postgres().connectionString(u"postgres"),
          {u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" + database +
           u"' AND pid <> pg_backend_pid()"});
      return;
    }
    data::Connection killer(db.mariadb().connectionString(u""));
    const data::QueryResult ids =
        data::runQuery(killer,
                       u"SELECT id FROM information_schema.processlist WHERE db = ? AND id <> "
                       u"CONNECTION_ID()",
                       {Variant(database)});
    for (const auto& row : ids.rows) {
      data::execute(killer, u"KILL CONNECTION " + toString(row.front()));
    }
  }
};

TEST_F(ReadFailuresDb, ATableMariaDbHidesIsKeptWithOneRecord) {
  const std::u16string cs = freshShop(Dbms::MariaDb);
  const Ref<AGP> p = loadProject(cs);
  ASSERT_TRUE(p->DB());
  const std::u16string db = databaseOf(cs);
  const std::u16string user = db + u"_limited";
  // Everything but the notes: MariaDB then leaves notes out of its list of tables.
  run(cs, {u"CREATE USER " + user + u" IDENTIFIED BY 'pw'",
           u"GRANT SELECT ON " + db + u".customers TO " + user,
           u"GRANT SELECT ON " + db + u".orders TO " + user,
           u"GRANT SELECT ON " + db + u".order_totals TO " + user});
  const std::string before = save(*p, "hidden_before.vtp");
  p->DB()->properties().setting(kDBConnstr) =
      Variant(databases().mariadb().connectionString(db, user, u"pw"));
  EXPECT_EQ(CheckDB(*p), 1) << toUtf8(err());
  EXPECT_NE(err().find(u"SELECT command denied"), std::u16string::npos) << toUtf8(err());

  projectContext().lastErrorText.clear();
  SynchronizeDB(*p);
  EXPECT_EQ(toUtf8(err()), "");
  const std::string log = readFile(fs::path(toUtf8(p->SyncLog())));
  EXPECT_NE(log.find("CHANGED : (TABLE) notes - "), std::string::npos) << log;
  EXPECT_EQ(log.find("DELETED"), std::string::npos) << log;
  p->DB()->properties().setting(kDBConnstr) = Variant(cs);
  ASSERT_NE(p->DB()->tables().find(u"notes"), nullptr);
  EXPECT_EQ(p->DB()->tables().find(u"notes")->fields().count(), 2);
  EXPECT_EQ(save(*p, "hidden_after.vtp"), before);

  // A table dropped for good is still taken as removed when the server can say so.
  run(cs, {u"DROP TABLE notes"});
  EXPECT_EQ(CheckDB(*p), 3) << toUtf8(err());
}

TEST_F(ReadFailuresDb, AConnectionLostPartWayReadsNothing) {
  for (const Dbms server : {Dbms::Postgres, Dbms::MariaDb}) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    ASSERT_TRUE(p->DB());
    const std::string before = save(*p, "lost_before.vtp");
    run(cs, {u"ALTER TABLE orders ADD COLUMN note VARCHAR(20)"});
    // customers is read, then the session ends before orders.
    const auto trigger = [&] {
      return std::make_shared<StatusTrigger>(u"Loading TABLE orders...",
                                             [&] { endSessions(server, databaseOf(cs)); });
    };
    const struct {
      const char* what;
      std::function<void()> read;
    } reads[] = {
        {"check", [&] { EXPECT_EQ(CheckDB(*p), -1); }},
        {"synchronisation", [&] { SynchronizeDB(*p); }},
    };
    for (const auto& r : reads) {
      SCOPED_TRACE(r.what);
      const auto ui = trigger();
      ui::setBackendForTesting(ui);
      projectContext().lastErrorText.clear();
      r.read();
      ui::setBackendForTesting(nullptr);
      EXPECT_TRUE(ui->fired());
      EXPECT_NE(err().find(u"Error #1:"), std::u16string::npos) << toUtf8(err());
      projectContext().lastErrorText.clear();
      EXPECT_EQ(save(*p, "lost_after.vtp"), before);
    }

    // The whole-database load of a new project keeps no database.
    const auto ui = trigger();
    ui::setBackendForTesting(ui);
    const Ref<AGP> fresh = makeRef<AGP>();
    fresh->AddProj(u"Fresh");
    DatabaseLoadArguments a;
    a.sDbType = u"DB";
    a.sConnStr = cs;
    LoadDB(*fresh, a);
    ui::setBackendForTesting(nullptr);
    EXPECT_TRUE(ui->fired());
    EXPECT_EQ(err().rfind(u"Vantorel: \r\nError #1:", 0), 0U) << toUtf8(err());
    EXPECT_FALSE(fresh->DB());
    fresh->UnLoadDB();
  }
}

TEST_F(ReadFailuresDb, NamesOutsideAsciiAreReadCheckedAndSynchronised) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshDatabase(databases(), server);
    data::Connection connection(cs);
    const std::u16string table = connection.quoteName(u"Künstler");
    run(cs, {u"CREATE TABLE " + table + u" (id INTEGER PRIMARY KEY, " +
             connection.quoteName(u"Größe") + u" VARCHAR(20))"});
    const Ref<AGP> p = loadProject(cs);
    ASSERT_TRUE(p->DB());
    AGPTable* artists = p->DB()->tables().find(u"Künstler");
    ASSERT_NE(artists, nullptr);
    ASSERT_EQ(artists->fields().count(), 2);
    EXPECT_EQ(artists->fields().at(1).FldName(), u"Größe");
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());

    run(cs,
        {u"ALTER TABLE " + table + u" ADD COLUMN " + connection.quoteName(u"Maß") + u" INTEGER"});
    EXPECT_EQ(CheckDB(*p), 3) << toUtf8(err());
    SynchronizeDB(*p);
    EXPECT_EQ(toUtf8(err()), "");
    artists = p->DB()->tables().find(u"Künstler");
    ASSERT_NE(artists, nullptr);
    ASSERT_EQ(artists->fields().count(), 3);
    EXPECT_EQ(artists->fields().at(2).FldName(), u"Maß");
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());
  }
}

}  // namespace
}  // namespace vantorel::test
