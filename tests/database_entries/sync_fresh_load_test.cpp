// `vantorel sync` on each server brings a project to what `vantorel new` makes of the changed
// database, but for what the user chose; a run that could read nothing it was to change leaves
// the file alone; and AGP.LoadTable names the reason a table could not be read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/text/unicode.hpp"
#include "project/project_catalogue.hpp"
#include "support/project_settings.hpp"
#include "support/schema_script.hpp"
#include "support/shared_menus.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = VANTOREL_CLI_PATH;

// The settings that may differ between a synchronised project and a new one: the menu's order,
// which follows the order objects came in, and the mail server a load fills in when empty.
const std::set<std::string> kNotFromTheDatabase = {"MenuID", "MenuDisplayOrder", "SmtpServer",
                                                   "SmtpServerPort"};

// "Owner Setting" of each line settingDifferences gives.
std::set<std::string> differingSettings(const std::vector<std::string>& lines) {
  std::set<std::string> out;
  for (const std::string& line : lines) out.insert(line.substr(0, line.find(':')));
  return out;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

class SyncAsNew : public DatabaseTest {
 protected:
  int cli(const std::string& arguments, std::string& output) {
    return runCommand("env -u VANTOREL_ANSWERS " + kCli + " " + arguments, output);
  }
  // `vantorel new` into the folder, as p.vtp (the project's name comes from the file's).
  fs::path makeProject(const std::u16string& connection, const std::string& folder) {
    const fs::path file = dir_.path() / folder / "p.vtp";
    fs::create_directories(file.parent_path());
    std::string output;
    EXPECT_EQ(cli("new " + file.string() + " --connect '" + toUtf8(connection) + "'", output), 0)
        << output;
    return file;
  }
  // Runs a script of the host program with the project file as its argument.
  void runScript(const std::string& body, const fs::path& project) {
    const fs::path script = dir_.path() / "edit.vbs";
    std::ofstream(script, std::ios::trunc) << "Set p = CreateObject(\"vantorel4.AGP\")\n"
                                           << "p.Load WScript.Arguments(0)\n"
                                           << body << "p.Save WScript.Arguments(0)\n";
    std::string output;
    ASSERT_EQ(cli("run " + script.string() + " " + project.string(), output), 0) << output;
  }

  TempDir dir_;
};

// Per server: what the user set, the changes, and in what the synchronised project is to differ
// from a new one (the user's settings, nothing else).
struct FreshCase {
  Dbms kind;
  std::vector<std::u16string> change;
};

TEST_F(SyncAsNew, ASynchronisedProjectIsANewOneButForTheUsersSettings) {
  const std::vector<std::u16string> schema = {
      u"CREATE TABLE genre (genre_id INTEGER PRIMARY KEY, name VARCHAR(40), note VARCHAR(120))",
      u"CREATE TABLE track (id INTEGER PRIMARY KEY, genre_id INTEGER, title VARCHAR(50) NOT NULL)",
  };
  const std::vector<std::u16string> added = {
      u"CREATE TABLE review (id INTEGER PRIMARY KEY, body VARCHAR(30) NOT NULL, rating INTEGER "
      u"DEFAULT 3)",
      u"CREATE VIEW titles AS SELECT id, title FROM track",
  };
  const FreshCase cases[] = {
      {Dbms::Sqlite,
       {u"ALTER TABLE track ADD COLUMN pts INTEGER NOT NULL DEFAULT 0",
        u"CREATE TABLE genre_new (genre_id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL, note "
        u"VARCHAR(200))",
        u"INSERT INTO genre_new SELECT * FROM genre", u"DROP TABLE genre",
        u"ALTER TABLE genre_new RENAME TO genre",
        u"CREATE TABLE track_new (id INTEGER PRIMARY KEY, genre_id INTEGER, title VARCHAR(50), "
        u"pts INTEGER NOT NULL DEFAULT 0)",
        u"INSERT INTO track_new SELECT * FROM track", u"DROP TABLE track",
        u"ALTER TABLE track_new RENAME TO track"}},
      {Dbms::Postgres,
       {u"ALTER TABLE track ADD COLUMN pts INTEGER NOT NULL DEFAULT 0",
        u"ALTER TABLE genre ALTER COLUMN name SET NOT NULL",
        u"ALTER TABLE genre ALTER COLUMN note TYPE VARCHAR(200)",
        u"ALTER TABLE track ALTER COLUMN title DROP NOT NULL"}},
      {Dbms::MariaDb,
       {u"ALTER TABLE track ADD COLUMN pts INTEGER NOT NULL DEFAULT 0",
        u"ALTER TABLE genre MODIFY name VARCHAR(40) NOT NULL",
        u"ALTER TABLE genre MODIFY note VARCHAR(200)",
        u"ALTER TABLE track MODIFY title VARCHAR(50)"}},
  };
  for (const FreshCase& c : cases) {
    SCOPED_TRACE(dbmsName(c.kind));
    clearMenus();
    const std::u16string connection = freshDatabase(databases(), c.kind);
    run(connection, schema);
    const fs::path project = makeProject(connection, std::string(dbmsName(c.kind)) + "-synced");
    // The user's own: a caption, an input length set apart from the column's size, and a field
    // required that the database would take empty.
    runScript(
        "p.DB.Tables.Item(\"track\").SetV \"TblCaption\", \"Songs\"\n"
        "p.DB.Tables.Item(\"genre\").Fields.Item(\"note\").SetV \"FldTagMaxLength\", 60\n"
        "p.DB.Tables.Item(\"track\").Fields.Item(\"genre_id\").SetV \"FldRequired\", True\n",
        project);
    run(connection, c.change);
    run(connection, added);
    std::string output;
    ASSERT_EQ(cli("sync " + project.string() + " --yes", output), 0) << output;
    const fs::path fresh = makeProject(connection, std::string(dbmsName(c.kind)) + "-new");

    const std::vector<std::string> differences =
        settingDifferences(readProjectSettings(readFile(fresh)),
                           readProjectSettings(readFile(project)), kNotFromTheDatabase);
    EXPECT_EQ(differingSettings(differences),
              (std::set<std::string>{"Table track TblCaption", "Field genre.note FldTagMaxLength",
                                     "Field track.genre_id FldRequired"}))
        << joined(differences);
    EXPECT_EQ(checkDatabase(kCli, project, dir_.path()), "CheckDB 0\n");
  }
}

// A user who may no longer read one table: the run records that, changes nothing else, and so
// neither saves the file nor calls anything synchronised.
TEST_F(SyncAsNew, ARunThatCouldOnlyFailToReadSavesNothing) {
  const std::u16string connection = freshDatabase(databases(), Dbms::Postgres);
  run(connection, {u"CREATE TABLE genre (genre_id INTEGER PRIMARY KEY, name VARCHAR(40))",
                   u"CREATE TABLE track (id INTEGER PRIMARY KEY, title VARCHAR(50))"});
  const std::u16string database = connection.substr(
      connection.find(u"Database=") + 9,
      connection.find(u';', connection.find(u"Database=")) - connection.find(u"Database=") - 9);
  run(connection, {u"CREATE USER " + database + u"_reader PASSWORD 'pw'",
                   u"GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + database + u"_reader",
                   u"REVOKE SELECT ON genre FROM " + database + u"_reader"});
  const fs::path project = makeProject(connection, "revoked");
  const std::u16string reader =
      databases().postgres().connectionString(database, database + u"_reader", u"pw");
  runScript("p.DB.DBConnstr = \"" + toUtf8(reader) + "\"\n", project);
  const std::string before = readFile(project);
  const auto stamp = fs::last_write_time(project);

  std::string output;
  ASSERT_EQ(cli("sync " + project.string() + " --yes", output), 0) << output;
  EXPECT_NE(output.find("Nothing could be synchronized: " + project.string() + " is unchanged"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("CHANGED : (TABLE) genre - "), std::string::npos) << output;
  EXPECT_EQ(output.find("Synchronized"), std::string::npos) << output;
  EXPECT_EQ(readFile(project), before);
  EXPECT_EQ(fs::last_write_time(project), stamp);
}

// LoadTable of a table the user may not read says why, whether the model lists the table (after
// a whole load that could not read it) or not at all.
TEST_F(SyncAsNew, LoadTableSaysWhyATableCouldNotBeRead) {
  const std::u16string connection = freshDatabase(databases(), Dbms::Postgres);
  run(connection, {u"CREATE TABLE genre (genre_id INTEGER PRIMARY KEY, name VARCHAR(40))"});
  const std::u16string database = connection.substr(
      connection.find(u"Database=") + 9,
      connection.find(u';', connection.find(u"Database=")) - connection.find(u"Database=") - 9);
  run(connection, {u"CREATE USER " + database + u"_reader PASSWORD 'pw'",
                   u"REVOKE ALL ON genre FROM " + database + u"_reader"});
  for (const bool listed : {true, false}) {
    SCOPED_TRACE(listed ? "listed" : "not in the model");
    clearMenus();
    Ref<AGP> agp = makeRef<AGP>();
    agp->AddProj(u"Reader");
    DatabaseLoadArguments a;
    a.sDbType = u"ODBC";
    a.sConnStr = databases().postgres().connectionString(database, database + u"_reader", u"pw");
    LoadDB(*agp, a);
    ASSERT_EQ(toUtf8(projectContext().lastErrorText), "");
    AGPTables& tables = agp->DB()->tables();
    ASSERT_TRUE(tables.tableExist(Variant(u"genre")));
    if (!listed) tables.remove(u"genre");
    LoadTable(*agp, u"genre");
    const std::string error = toUtf8(projectContext().lastErrorText);
    EXPECT_NE(error.find(": Table genre could not be read! "), std::string::npos) << error;
    EXPECT_NE(error.find("permission denied"), std::string::npos) << error;
    agp->UnLoadDB();
  }
  clearMenus();
}

}  // namespace
}  // namespace vantorel::test
