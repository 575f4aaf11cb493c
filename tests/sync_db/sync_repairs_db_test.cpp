// AGP.SynchronizeDB on each server after changes that named things move: a table replaced by a
// view of its name (and back), a primary-key column renamed, and a users table and its columns
// renamed. Each is synchronised in one run, after which the check finds nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "project/project_catalogue.hpp"
#include "schema/difference_check.hpp"
#include "support/schema_script.hpp"
#include "support/shared_menus.hpp"
#include "support/temp_home.hpp"
#include "support/test_databases.hpp"
#include "support/test_files.hpp"
#include "sync/sync_driver.hpp"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

class RepairSync : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped()) return;
    clearMenus();
  }
  void TearDown() override {
    ui::setBackendForTesting(nullptr);
    if (agp_) agp_->UnLoadDB();
    clearMenus();
  }
  // A new database of that kind made by the statements, loaded into a new project.
  std::u16string load(Dbms kind, const std::vector<std::u16string>& schema) {
    const std::u16string connection = freshDatabase(databases(), kind);
    run(connection, schema);
    if (agp_) agp_->UnLoadDB();
    clearMenus();
    agp_ = makeRef<AGP>();
    agp_->AddProj(u"Repairs");
    agp_->properties().setting(kProjAutoSync) = Variant(false);
    DatabaseLoadArguments a;
    a.sDbType = u"ODBC";
    a.sConnStr = connection;
    LoadDB(*agp_, a);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    return connection;
  }
  // SynchronizeDB with the user's answers queued; the run's log, "" when it recorded nothing.
  std::string synchronise(std::shared_ptr<ui::RecordingBackend> answers = nullptr) {
    if (!answers) answers = std::make_shared<ui::RecordingBackend>();
    recorder_ = answers;
    // Runs within one second append to one log file: each has a folder of its own.
    projectContext().reportFolder =
        fromUtf8((dir_.path() / ("reports" + std::to_string(++runs_))).string());
    ui::setBackendForTesting(answers);
    projectContext().lastErrorText.clear();
    SynchronizeDB(*agp_);
    ui::setBackendForTesting(nullptr);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    const std::u16string log = agp_->SyncLog();
    return log.empty() ? std::string() : readFile(fs::path(toUtf8(log)));
  }
  AGPTable& table(const char16_t* name) { return *agp_->DB()->tables().item(Variant(name)); }
  std::vector<std::u16string> fieldNames(const char16_t* name) {
    std::vector<std::u16string> out;
    AGPFields& fields = table(name).fields();
    for (std::int32_t i = 0; i < fields.count(); ++i) {
      out.push_back(fields.at(static_cast<std::size_t>(i)).FldName());
    }
    return out;
  }
  std::size_t questions() const {
    return recorder_->events(ui::RecordingBackend::Event::Kind::Asked).size();
  }

  TempDir dir_;
  Ref<AGP> agp_;
  std::shared_ptr<ui::RecordingBackend> recorder_;
  int runs_ = 0;
};

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// A table replaced by a view of its name, and a view replaced by a table of its name: one record
// of the new kind, its fields once, and nothing left to do afterwards.
TEST_F(RepairSync, AnObjectThatChangedKindIsRebuiltOnce) {
  const std::vector<std::u16string> schema = {
      u"CREATE TABLE genre (genre_id INTEGER PRIMARY KEY, name VARCHAR(40))",
      u"CREATE TABLE track (id INTEGER PRIMARY KEY, genre_id INTEGER, title VARCHAR(50))",
      u"CREATE VIEW long_tracks AS SELECT id, title FROM track",
  };
  struct Case {
    const char16_t* object;
    const char* from;
    const char* to;
    std::vector<std::u16string> change;
    std::vector<std::u16string> fields;
  } cases[] = {
      {u"genre",
       "TABLE",
       "VIEW",
       {u"ALTER TABLE genre RENAME TO genre2",
        u"CREATE VIEW genre AS SELECT genre_id, name FROM genre2"},
       {u"genre_id", u"name"}},
      {u"long_tracks",
       "VIEW",
       "TABLE",
       {u"DROP VIEW long_tracks",
        u"CREATE TABLE long_tracks (id INTEGER PRIMARY KEY, title VARCHAR(50), seconds INTEGER)"},
       {u"id", u"title", u"seconds"}},
  };
  for (const Dbms kind : kAllDbms) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(dbmsName(kind)) + " " + c.from + " to " + c.to);
      const std::u16string connection = load(kind, schema);
      run(connection, c.change);
      const std::string log = synchronise();
      const std::string object = toUtf8(c.object);
      EXPECT_EQ(occurrences(log, "Changed type from "), 1u) << log;
      EXPECT_NE(log.find("CHANGED : (" + std::string(c.from) + ") " + object +
                         " - Changed type from " + c.from + " to " + c.to + "\r\n"),
                std::string::npos)
          << log;
      EXPECT_EQ(toUtf8(table(c.object).tblType()), c.to);
      EXPECT_EQ(fieldNames(c.object), c.fields);
      EXPECT_EQ(CheckDB(*agp_), 0) << toUtf8(projectContext().lastErrorText);
      EXPECT_EQ(synchronise(), "");
    }
  }
}

// A primary-key column renamed: paired with its old name, the rename takes the key along and no
// key question is put; left unpaired, the key that names a column the table no longer has gives
// way to the database's, with its record, and no question either.
TEST_F(RepairSync, ARenamedKeyColumnStaysTheKey) {
  for (const Dbms kind : kAllDbms) {
    for (const bool paired : {true, false}) {
      SCOPED_TRACE(std::string(dbmsName(kind)) + (paired ? " paired" : " unpaired"));
      const std::u16string connection =
          load(kind, {u"CREATE TABLE genre (genre_id INTEGER PRIMARY KEY, name VARCHAR(40))"});
      table(u"genre").fields().item(Variant(u"genre_id"))->properties().setting(kFldCaption) =
          Variant(u"Number");
      run(connection, {u"ALTER TABLE genre RENAME COLUMN genre_id TO id"});
      auto answers = std::make_shared<ui::RecordingBackend>();
      if (paired) answers->queuePick(1);
      const std::string log = synchronise(answers);

      // The pairing question only.
      EXPECT_EQ(questions(), 1u);
      // Paired, the field keeps its place; unpaired, the new one comes last.
      const std::vector<std::u16string> order = paired
                                                    ? std::vector<std::u16string>{u"id", u"name"}
                                                    : std::vector<std::u16string>{u"name", u"id"};
      EXPECT_EQ(fieldNames(u"genre"), order);
      AGProperties& id = table(u"genre").fields().item(Variant(u"id"))->properties();
      EXPECT_TRUE(settingAsBool(id.setting(kFldIsPrimaryKey)));
      EXPECT_EQ(settingAsText(table(u"genre").properties().setting(kTblKey)), u"id");
      EXPECT_EQ(settingAsText(id.setting(kFldCaption)) == u"Number", paired);
      EXPECT_EQ(log.find("Changed key") == std::string::npos, paired) << log;
      if (!paired) {
        EXPECT_NE(log.find("CHANGED : (TABLE) genre - Changed key from genre_id to id\r\n"),
                  std::string::npos)
            << log;
      }
      EXPECT_EQ(CheckDB(*agp_), 0) << toUtf8(projectContext().lastErrorText);
    }
  }
}

// A users table and its columns renamed and paired: the project's and the database's security
// settings and a chart's fields name them by their new names, each with a record; a setting that
// names what was not renamed stays.
TEST_F(RepairSync, SecuritySettingsAndChartsFollowRenames) {
  for (const Dbms kind : kAllDbms) {
    SCOPED_TRACE(dbmsName(kind));
    const std::u16string connection = load(
        kind, {u"CREATE TABLE employee (id INTEGER PRIMARY KEY, email VARCHAR(60), pw VARCHAR(40), "
               u"boss_id INTEGER, level_id INTEGER)",
               u"CREATE TABLE user_level (level_id INTEGER PRIMARY KEY, level_name VARCHAR(40))"});
    AGProperties& project = agp_->properties();
    project.setting(kProjSecType) = Variant(u"Table");
    project.setting(kProjSecTbl) = Variant(u"employee");
    project.setting(kProjSecLoginIDFld) = Variant(u"email");
    project.setting(kProjSecPasswdFld) = Variant(u"pw");
    project.setting(kProjSecEmailFld) = Variant(u"email");
    AGProperties& db = agp_->DB()->properties();
    db.setting(kSecuUserIDFld) = Variant(u"email");
    db.setting(kSecuParentUserIDFld) = Variant(u"boss_id");
    db.setting(kSecUserLevelFld) = Variant(u"level_id");
    db.setting(kUserLevelTbl) = Variant(u"user_level");
    db.setting(kUserLevelIdFld) = Variant(u"level_id");
    db.setting(kUserLevelNameFld) = Variant(u"level_name");
    ASSERT_TRUE(agp_->LoadChart(u"by_level", u"employee"));
    AGPChart& chart = *table(u"employee").charts().item(Variant(u"by_level"));
    chart.properties().setting(*chart.properties().slotOf(u"ChartXFldName")) = Variant(u"email");
    chart.properties().setting(*chart.properties().slotOf(u"ChartYFldName")) = Variant(u"id");

    run(connection, {kind == Dbms::MariaDb ? u"RENAME TABLE employee TO staff"
                                           : u"ALTER TABLE employee RENAME TO staff",
                     u"ALTER TABLE staff RENAME COLUMN email TO mail",
                     u"ALTER TABLE user_level RENAME COLUMN level_name TO title"});
    // staff is employee, mail is email, title is level_name.
    auto answers = std::make_shared<ui::RecordingBackend>();
    for (int i = 0; i < 3; ++i) answers->queuePick(1);
    const std::string log = synchronise(answers);

    struct Setting {
      AGProperties* bag;
      SettingSlot slot;
      const char16_t* value;
    } const settings[] = {
        {&project, kProjSecTbl, u"staff"},    {&project, kProjSecLoginIDFld, u"mail"},
        {&project, kProjSecPasswdFld, u"pw"}, {&project, kProjSecEmailFld, u"mail"},
        {&db, kSecuUserIDFld, u"mail"},       {&db, kSecuParentUserIDFld, u"boss_id"},
        {&db, kSecUserLevelFld, u"level_id"}, {&db, kUserLevelTbl, u"user_level"},
        {&db, kUserLevelIdFld, u"level_id"},  {&db, kUserLevelNameFld, u"title"},
    };
    for (const Setting& e : settings) {
      EXPECT_EQ(toUtf8(settingAsText(e.bag->setting(e.slot))), toUtf8(e.value)) << e.slot;
    }
    AGPChart& moved = *table(u"staff").charts().item(Variant(u"by_level"));
    EXPECT_EQ(
        settingAsText(moved.properties().setting(*moved.properties().slotOf(u"ChartXFldName"))),
        u"mail");
    EXPECT_EQ(
        settingAsText(moved.properties().setting(*moved.properties().slotOf(u"ChartYFldName"))),
        u"id");
    for (const char* record : {
             "CHANGED : (TABLE) staff - Rename project setting SecTbl from employee to staff\r\n",
             "CHANGED : (TABLE) staff - Rename project setting SecLoginIDFld from email to "
             "mail\r\n",
             "CHANGED : (TABLE) staff - Rename project setting SecEmailFld from email to mail\r\n",
             "CHANGED : (TABLE) staff - Rename database setting SecuUserIDFld from email to "
             "mail\r\n",
             "CHANGED : (TABLE) user_level - Rename database setting UserLevelNameFld from "
             "level_name to title\r\n",
             "CHANGED : (TABLE) staff - Rename chart by_level setting ChartXFldName from email to "
             "mail\r\n",
         }) {
      EXPECT_NE(log.find(record), std::string::npos) << record << log;
    }
    EXPECT_EQ(CheckDB(*agp_), 0) << toUtf8(projectContext().lastErrorText);
  }
}

}  // namespace
}  // namespace vantorel::test
