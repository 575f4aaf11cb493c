// The Chinook schema-change scripts of the shared test data applied on each server, and the
// counts the check gives for them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "projectfile/project_file_operations.hpp"
#include "schema/difference_check.hpp"
#include "schema_db/schema_db.hpp"
#include "support/odbc_config.hpp"
#include "support/project_elements.hpp"
#include "support/project_settings.hpp"
#include "support/sample_databases.hpp"
#include "support/site_pages.hpp"
#include "support/test_files.hpp"
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
  std::u16string freshChinook(Dbms server, const std::string& name) {
    TestDatabases& db = databases();
    const fs::path chinook = *sharedTestData() / "chinook";
    switch (server) {
      case Dbms::Sqlite: {
        const fs::path copy = db.folder() / (name + ".sqlite");
        fs::copy_file(chinook / "Chinook_Sqlite.sqlite", copy,
                      fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
        return data::ConnectionString()
            .add(u"Driver", fromUtf8(kSqliteDriver))
            .add(u"Database", fromUtf8(copy.string()))
            .text();
      }
      case Dbms::Postgres:
        // The script makes its own database "chinook".
        run(db.postgres().connectionString(u"postgres"), {u"DROP DATABASE IF EXISTS chinook"});
        db.postgres().runScripts("postgres", {chinook / "Chinook_PostgreSql.sql"});
        return db.postgres().connectionString(u"chinook");
      case Dbms::MariaDb:
        break;
    }
    db.mariadb().runScript(chinook / "Chinook_MySql.sql", {"--default-character-set=utf8mb4"});
    return db.mariadb().connectionString(u"Chinook");
  }
  void apply(Dbms server, const std::u16string& cs, const std::string& step) {
    TestDatabases& db = databases();
    switch (server) {
      case Dbms::Sqlite: {
        const std::string file = toUtf8(cs.substr(cs.find(u"Database=") + 9));
        const std::string command = "sqlite3 -batch -bail '" + file + "' < '" +
                                    mutation("sqlite-" + step).string() + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        return;
      }
      case Dbms::Postgres:
        db.postgres().runScripts("chinook", {mutation("postgresql-" + step)});
        return;
      case Dbms::MariaDb:
        break;
    }
    db.mariadb().runScript(mutation("mariadb-" + step), {"--database=Chinook"});
  }
};

TEST_F(ChinookMutationsRealDb, EachScriptCounts) {
  // 01: a column added (3), one dropped and one renamed within the same tables (Customer 3 with
  // the added one, Track 3), one retyped (2). 02: a table of six columns added (7), one of two
  // dropped (3), one of two renamed (6), a view of eight columns added (9).
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
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
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshChinook(server, "chinook_sync");
    const Ref<AGP> project = loadProject(cs);
    ASSERT_TRUE(project->DB());
    const std::u16string artist = server == Dbms::Postgres ? u"artist" : u"Artist";
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

// Chinook's names on each server (snake_case on PostgreSQL), as the scripts change them.
struct ChinookNames {
  Dbms server;
  const char16_t* mediaType;  // renamed to mediaFormat
  const char16_t* mediaFormat;
  const char16_t* mediaTypeId;  // track's link to it
  const char16_t* name;         // its display column
  const char16_t* track;
  const char16_t* trackId;
  const char16_t* composer;  // renamed to songwriter
  const char16_t* songwriter;
  const char16_t* invoiceLine;  // its trackId shows the composer
  std::vector<const char*> untouched;
};

// clang-format off
const ChinookNames kChinookNames[] = {
    {Dbms::Sqlite, u"MediaType", u"MediaFormat", u"MediaTypeId", u"Name", u"Track", u"TrackId",
     u"Composer", u"Songwriter", u"InvoiceLine",
     {"Album", "Artist", "Genre", "Invoice", "Playlist", "Employee"}},
    {Dbms::Postgres, u"media_type", u"media_format", u"media_type_id", u"name", u"track",
     u"track_id", u"composer", u"songwriter", u"invoice_line",
     {"album", "artist", "genre", "invoice", "playlist", "employee"}},
    {Dbms::MariaDb, u"MediaType", u"MediaFormat", u"MediaTypeId", u"Name", u"Track", u"TrackId",
     u"Composer", u"Songwriter", u"InvoiceLine",
     {"Album", "Artist", "Genre", "Invoice", "Playlist", "Employee"}},
};
// clang-format on

// The user pairs the renamed table and column with their old names, on every server: they keep
// the project's settings, the lookups that named them follow, and the tables the scripts leave
// alone are unchanged in the saved file.
TEST_F(ChinookMutationsRealDb, RenamesPairedByTheUserKeepTheirSettings) {
  projectContext().reportFolder = fromUtf8((databases().folder() / "reports").string());
  for (const ChinookNames& n : kChinookNames) {
    SCOPED_TRACE(dbmsName(n.server));
    const std::u16string cs = freshChinook(n.server, "chinook_pairing");
    const Ref<AGP> project = loadProject(cs);
    ASSERT_TRUE(project->DB());
    AGPTables& tables = project->DB()->tables();
    tables.item(Variant(n.mediaType))->properties().setting(kTblCaption) = Variant(u"Formats");
    AGPFields& track = tables.item(Variant(n.track))->fields();
    track.item(Variant(n.composer))->properties().setting(kFldCaption) = Variant(u"Written by");
    AGProperties& format = track.item(Variant(n.mediaTypeId))->properties();
    format.setting(kFldTagLnkTbl) = Variant(n.mediaType);
    format.setting(kFldTagLnkFld) = Variant(n.mediaTypeId);
    format.setting(kFldTagLnkDisplay) = Variant(n.name);
    AGProperties& line =
        tables.item(Variant(n.invoiceLine))->fields().item(Variant(n.trackId))->properties();
    line.setting(kFldTagLnkTbl) = Variant(n.track);
    line.setting(kFldTagLnkFld) = Variant(n.trackId);
    line.setting(kFldTagLnkDisplay) = Variant(n.composer);
    const fs::path file = databases().folder() / "chinook_pairing.vtp";
    saveProjectFile(*project, fromUtf8(file.string()));
    const std::string before = readFile(file);
    apply(n.server, cs, "01-columns.sql");
    apply(n.server, cs, "02-tables.sql");

    // The table questions first, then the columns': the new table is the old media type, the
    // review is new; the loyalty points are new, the songwriter is the composer.
    auto recorder = std::make_shared<ui::RecordingBackend>();
    for (const std::size_t pick : {1, 0, 0, 1}) recorder->queuePick(pick);
    ui::setBackendForTesting(recorder);
    projectContext().lastErrorText.clear();
    SynchronizeDB(*project);
    ui::setBackendForTesting(nullptr);
    EXPECT_EQ(toUtf8(err()), "");
    std::vector<std::u16string> paired;
    for (const auto& e : recorder->events(ui::RecordingBackend::Event::Kind::Asked)) {
      if (!e.question.items.empty()) paired.push_back(e.question.items.at(e.reply.item));
    }
    EXPECT_EQ(paired, (std::vector<std::u16string>{n.mediaType, u"(none)", u"(none)", n.composer}));
    EXPECT_EQ(CheckDB(*project), 0) << toUtf8(err());

    ASSERT_TRUE(tables.tableExist(Variant(n.mediaFormat)));
    EXPECT_FALSE(tables.tableExist(Variant(n.mediaType)));
    EXPECT_EQ(settingAsText(tables.item(Variant(n.mediaFormat))->properties().setting(kTblCaption)),
              u"Formats");
    ASSERT_TRUE(track.fieldExist(Variant(n.songwriter)));
    EXPECT_EQ(settingAsText(track.item(Variant(n.songwriter))->properties().setting(kFldCaption)),
              u"Written by");
    EXPECT_EQ(settingAsText(format.setting(kFldTagLnkTbl)), n.mediaFormat);
    EXPECT_EQ(settingAsText(format.setting(kFldTagLnkDisplay)), n.name);
    EXPECT_EQ(settingAsText(line.setting(kFldTagLnkTbl)), n.track);
    EXPECT_EQ(settingAsText(line.setting(kFldTagLnkDisplay)), n.songwriter);

    saveProjectFile(*project, fromUtf8(file.string()));
    const std::string after = readFile(file);
    for (const char* table : n.untouched) {
      EXPECT_EQ(tableElement(after, table), tableElement(before, table)) << table;
    }
    const std::string log = readFile(toUtf8(project->SyncLog()));
    const std::string oldTable = toUtf8(n.mediaType), oldField = toUtf8(n.composer);
    for (const std::string& record :
         {"CHANGED : (TABLE) " + oldTable + " - Rename " + oldTable + " to " +
              toUtf8(n.mediaFormat) + "\r\n",
          "CHANGED : (Field) " + toUtf8(n.track) + "->" + oldField + " - Rename " + oldField +
              " to " + toUtf8(n.songwriter) + "\r\n"}) {
      EXPECT_NE(log.find(record), std::string::npos) << record << log;
    }
  }
}

// Both scripts applied and `vantorel sync --yes` run on each server: the project file then holds
// what `vantorel new` makes of the changed database, setting by setting, but for the caption the
// user gave (and the menu's order and the mail server a load fills in, which no load reads from
// the database). Unattended, the renamed table and column are a new table and field.
TEST_F(ChinookMutationsRealDb, TheSynchronisedProjectIsANewOneButForTheUsersSettings) {
  const std::string cli = VANTOREL_CLI_PATH;
  for (const ChinookNames& n : kChinookNames) {
    SCOPED_TRACE(dbmsName(n.server));
    const std::u16string cs = freshChinook(n.server, "chinook_fresh");
    const fs::path folder = databases().folder() / ("fresh-" + std::string(dbmsName(n.server)));
    fs::remove_all(folder);
    fs::create_directories(folder / "new");
    const fs::path project = folder / "chinook.vtp";
    const fs::path fresh = folder / "new" / "chinook.vtp";
    std::string output;
    const std::string host = "env -u VANTOREL_ANSWERS " + cli + " ";
    ASSERT_EQ(
        runCommand(host + "new " + project.string() + " --connect '" + toUtf8(cs) + "'", output), 0)
        << output;
    const fs::path script = folder / "caption.vbs";
    std::ofstream(script) << "Set p = CreateObject(\"vantorel4.AGP\")\n"
                          << "p.Load WScript.Arguments(0)\n"
                          << "p.DB.Tables.Item(\"" << toUtf8(n.track)
                          << "\").TblCaption = \"Songs\"\n"
                          << "p.Save WScript.Arguments(0)\n";
    ASSERT_EQ(runCommand(host + "run " + script.string() + " " + project.string(), output), 0)
        << output;
    apply(n.server, cs, "01-columns.sql");
    apply(n.server, cs, "02-tables.sql");
    ASSERT_EQ(runCommand(host + "sync " + project.string() + " --yes", output), 0) << output;
    ASSERT_EQ(
        runCommand(host + "new " + fresh.string() + " --connect '" + toUtf8(cs) + "'", output), 0)
        << output;

    std::vector<std::string> differences = settingDifferences(
        readProjectSettings(readFile(fresh)), readProjectSettings(readFile(project)),
        {"MenuID", "MenuDisplayOrder", "SmtpServer", "SmtpServerPort"});
    std::string listed;
    for (const std::string& d : differences) listed += d + "\n";
    ASSERT_EQ(differences.size(), 1u) << listed;
    EXPECT_EQ(differences[0],
              "Table " + toUtf8(n.track) + " TblCaption: " +
                  readProjectSettings(readFile(fresh))["Table " + toUtf8(n.track)]["TblCaption"] +
                  " -> Songs");
    EXPECT_EQ(checkDatabase(cli, project, folder), "CheckDB 0\n");
  }
}

}  // namespace
}  // namespace vantorel::test
