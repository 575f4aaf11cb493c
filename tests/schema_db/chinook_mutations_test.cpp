// The Chinook schema-change scripts of the shared test data applied on each server, and the
// counts the check gives for them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/text/unicode.hpp"
#include "schema/difference_check.hpp"
#include "schema_db/schema_db.hpp"
#include "support/odbc_config.hpp"
#include "support/sample_databases.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

class ChinookMutationsRealDb : public SchemaDbTest {
 protected:
  void SetUp() override {
    if (!sharedTestData() || !fs::is_directory(*sharedTestData() / "chinook" / "mutations")) {
      GTEST_SKIP() << "no shared/testdata folder with the Chinook mutations";
    }
    SchemaDbTest::SetUp();
  }
  fs::path mutation(const std::string& name) const {
    return *sharedTestData() / "chinook" / "mutations" / name;
  }
  // A fresh Chinook on the server; its connection string.
  std::u16string freshChinook(Server server, const std::string& name) {
    TestDatabases& db = databases();
    const fs::path chinook = *sharedTestData() / "chinook";
    switch (server) {
      case Server::Sqlite: {
        const fs::path copy = db.folder() / (name + ".sqlite");
        fs::copy_file(chinook / "Chinook_Sqlite.sqlite", copy,
                      fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
        return data::ConnectionString()
            .add(u"Driver", fromUtf8(kSqliteDriver))
            .add(u"Database", fromUtf8(copy.string()))
            .text();
      }
      case Server::Postgres:
        // The script makes its own database "chinook".
        run(db.postgres().connectionString(u"postgres"), {u"DROP DATABASE IF EXISTS chinook"});
        db.postgres().runScripts("postgres", {chinook / "Chinook_PostgreSql.sql"});
        return db.postgres().connectionString(u"chinook");
      case Server::MariaDb:
        break;
    }
    db.mariadb().runScript(chinook / "Chinook_MySql.sql", {"--default-character-set=utf8mb4"});
    return db.mariadb().connectionString(u"Chinook");
  }
  void apply(Server server, const std::u16string& cs, const std::string& step) {
    TestDatabases& db = databases();
    switch (server) {
      case Server::Sqlite: {
        const std::string file = toUtf8(cs.substr(cs.find(u"Database=") + 9));
        const std::string command = "sqlite3 -batch -bail '" + file + "' < '" +
                                    mutation("sqlite-" + step).string() + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        return;
      }
      case Server::Postgres:
        db.postgres().runScripts("chinook", {mutation("postgresql-" + step)});
        return;
      case Server::MariaDb:
        break;
    }
    db.mariadb().runScript(mutation("mariadb-" + step), {"--database=Chinook"});
  }
};

TEST_F(ChinookMutationsRealDb, EachScriptCounts) {
  // 01: a column added (3), one dropped and one renamed within the same tables (Customer 3 with
  // the added one, Track 3), one retyped (2). 02: a table of six columns added (7), one of two
  // dropped (3), one of two renamed (6), a view of eight columns added (9).
  for (const Server server : kServers) {
    SCOPED_TRACE(serverName(server));
    const std::u16string cs = freshChinook(server, "chinook_mutations");
    const Ref<AGP> before = loadProject(cs);
    ASSERT_TRUE(before->DB());
    EXPECT_EQ(CheckDB(*before), 0) << toUtf8(err());
    EXPECT_EQ(CheckDB(*before), 0) << toUtf8(err());

    apply(server, cs, "01-columns.sql");
    EXPECT_EQ(CheckDB(*before), 8) << toUtf8(err());
    const Ref<AGP> between = loadProject(cs);
    EXPECT_EQ(CheckDB(*between), 0) << toUtf8(err());

    apply(server, cs, "02-tables.sql");
    EXPECT_EQ(CheckDB(*between), 25) << toUtf8(err());
    EXPECT_EQ(CheckDB(*before), 33) << toUtf8(err());
  }
}

// After both scripts, a synchronisation brings the project in line with the database on every
// server: the check then finds nothing, and a table the scripts leave alone keeps its fields.
// Unattended, no rename is paired, so the renamed table and column are dropped and added.
TEST_F(ChinookMutationsRealDb, SynchronisingFollowsBothScripts) {
  projectContext().reportFolder = fromUtf8((databases().folder() / "reports").string());
  for (const Server server : kServers) {
    SCOPED_TRACE(serverName(server));
    const std::u16string cs = freshChinook(server, "chinook_sync");
    const Ref<AGP> project = loadProject(cs);
    ASSERT_TRUE(project->DB());
    const std::u16string artist = server == Server::Postgres ? u"artist" : u"Artist";
    const std::int32_t artistFields =
        project->DB()->tables().item(Variant(artist))->fields().count();
    apply(server, cs, "01-columns.sql");
    apply(server, cs, "02-tables.sql");
    ASSERT_EQ(CheckDB(*project), 33) << toUtf8(err());

    projectContext().lastErrorText.clear();
    SynchronizeDB(*project);
    EXPECT_EQ(toUtf8(err()), "");
    EXPECT_EQ(CheckDB(*project), 0) << toUtf8(err());
    EXPECT_EQ(project->DB()->tables().item(Variant(artist))->fields().count(), artistFields);
  }
}

}  // namespace
}  // namespace vantorel::test
