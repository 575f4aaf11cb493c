// `vantorel sync` on the servers, after changes that the synchronisation copies without a record
// of their own (a longer column, a column that may now be empty, enum values, a unique index)
// and a primary key that gained a column: the run applies everything the check counts, and the
// check then finds nothing. The key question takes Keep unattended and Update from the answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "database_entries/shop_schema.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/text/unicode.hpp"
#include "support/site_pages.hpp"
#include "support/temp_home.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = VANTOREL_CLI_PATH;
constexpr char16_t kDatabase[] = u"sync_apply";

void run(const std::u16string& connectionString, std::initializer_list<const char16_t*> script) {
  data::Connection connection(connectionString);
  for (const char16_t* sql : script) data::execute(connection, sql);
}

class SyncOnServers : public DatabaseTest {
 protected:
  // A project made by `vantorel new` from the database.
  void makeProject(const std::u16string& connectionString) {
    std::string output;
    ASSERT_EQ(runCommand(kCli + " new " + project_.string() + " --connect '" +
                             toUtf8(connectionString) + "'",
                         output),
              0)
        << output;
  }
  // `vantorel sync --yes`, with the answers given (none: every question takes its default).
  int syncYes(const std::string& answers, std::string& output) {
    std::string environment = "env -u VANTOREL_ANSWERS";
    if (!answers.empty()) {
      const fs::path file = dir_.path() / "answers.txt";
      std::ofstream(file, std::ios::trunc) << answers;
      environment = "VANTOREL_ANSWERS=" + file.string();
    }
    return runCommand(environment + " " + kCli + " sync " + project_.string() + " --yes", output);
  }
  std::string check() { return checkDatabase(kCli, project_, dir_.path()); }
  void expectLines(const std::string& output, std::initializer_list<const char*> lines) {
    for (const char* line : lines) {
      EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    }
  }

  TempDir dir_;
  fs::path project_ = dir_.path() / "p.vtp";
};

TEST_F(SyncOnServers, PostgreSqlSizesNullabilityAndAWiderKey) {
  run(databases().postgres().connectionString(u"postgres"),
      {u"DROP DATABASE IF EXISTS sync_apply", u"CREATE DATABASE sync_apply"});
  const std::u16string cs = databases().postgres().connectionString(kDatabase);
  run(cs, {u"CREATE TABLE artist (artist_id INTEGER PRIMARY KEY, name VARCHAR(120))",
           u"CREATE TABLE album (album_id INTEGER PRIMARY KEY, title VARCHAR(160) NOT NULL, "
           u"artist_id INTEGER NOT NULL REFERENCES artist (artist_id))",
           u"CREATE TABLE playlist_track (playlist_id INTEGER NOT NULL, track_id INTEGER NOT "
           u"NULL, position INTEGER NOT NULL, PRIMARY KEY (playlist_id, track_id))"});
  makeProject(cs);
  run(cs, {u"ALTER TABLE artist ALTER COLUMN name TYPE varchar(200)",
           u"ALTER TABLE album ALTER COLUMN title DROP NOT NULL",
           u"ALTER TABLE playlist_track DROP CONSTRAINT playlist_track_pkey, ADD PRIMARY KEY "
           u"(playlist_id, track_id, position)"});
  // Two for each changed column (the field and its table), one for the key.
  EXPECT_EQ(check(), "CheckDB 5\n");

  // Unattended, the key question keeps the old key; the rest is applied.
  std::string output;
  ASSERT_EQ(syncYes("", output), 0) << output;
  expectLines(output, {"Synchronized 2 change(s)",
                       "CHANGED : (Field) artist->name - Changed definition: size from 120 to 200",
                       "CHANGED : (Field) album->title - Changed definition: no longer required",
                       "Primary key for \"playlist_track\" has been modified"});
  EXPECT_EQ(check(), "CheckDB 1\n");

  ASSERT_EQ(syncYes("Update\n", output), 0) << output;
  expectLines(output, {"Synchronized 1 change(s)",
                       "CHANGED : (TABLE) playlist_track - Changed key from playlist_id"});
  EXPECT_EQ(check(), "CheckDB 0\n");
}

TEST_F(SyncOnServers, MariaDbEnumValuesAndAUniqueIndex) {
  run(databases().mariadb().connectionString(u""),
      {u"DROP DATABASE IF EXISTS sync_apply", u"CREATE DATABASE sync_apply"});
  const std::u16string cs = databases().mariadb().connectionString(kDatabase);
  run(cs, {u"CREATE TABLE film (film_id INT PRIMARY KEY, title VARCHAR(100) NOT NULL, "
           u"rating ENUM('G','PG','PG-13','R','NC-17') DEFAULT 'G')"});
  makeProject(cs);
  run(cs, {u"ALTER TABLE film MODIFY rating ENUM('G','PG','PG-13','R','NC-17','X') DEFAULT 'G'",
           u"ALTER TABLE film ADD UNIQUE (title)"});
  EXPECT_EQ(check(), "CheckDB 3\n");

  std::string output;
  ASSERT_EQ(syncYes("", output), 0) << output;
  expectLines(output,
              {"Synchronized 2 change(s)",
               "CHANGED : (Field) film->rating - Changed definition: values from G, PG, PG-13, R, "
               "NC-17 to G, PG, PG-13, R, NC-17, X",
               "CHANGED : (Field) film->title - Changed definition: now uniquely indexed"});
  EXPECT_EQ(check(), "CheckDB 0\n");
}

}  // namespace
}  // namespace vantorel::test
