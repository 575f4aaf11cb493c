// Chinook and Sakila, loaded from the shared sample scripts into the program's own servers,
// read whole by the database loader into a project: every table and view with its columns and
// key. What each should hold is asked of the server's own catalogue (information_schema, or
// SQLite's sqlite_master and table_info), not of anything the loader reads.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "agp/agp.hpp"
#include "database/ado_database_loader.hpp"
#include "database_loading/loading_schema.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/data/query.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/unicode.hpp"
#include "support/sample_databases.hpp"
#include "support/test_databases.hpp"

namespace vantorel::test {
namespace {

// What the server says a table or view holds.
struct Expected {
  std::u16string type;  // TABLE or VIEW
  std::int32_t columns = 0;
  std::int32_t keyColumns = 0;
};

// information_schema answers alike on both servers but for the name of the current schema.
std::u16string informationSchemaQuery(std::u16string_view currentSchema) {
  const std::u16string schema(currentSchema);
  return u"SELECT t.table_name, t.table_type, "
         u"(SELECT COUNT(*) FROM information_schema.columns c "
         u"  WHERE c.table_schema = t.table_schema AND c.table_name = t.table_name), "
         u"(SELECT COUNT(*) FROM information_schema.table_constraints tc "
         u"  JOIN information_schema.key_column_usage k "
         u"    ON k.constraint_schema = tc.constraint_schema "
         u"   AND k.constraint_name = tc.constraint_name AND k.table_name = tc.table_name "
         u"  WHERE tc.constraint_type = 'PRIMARY KEY' AND tc.table_schema = t.table_schema "
         u"    AND tc.table_name = t.table_name) "
         u"FROM information_schema.tables t WHERE t.table_schema = " +
         schema;
}

constexpr char16_t kSqliteCatalogue[] =
    u"SELECT m.name, m.type, (SELECT COUNT(*) FROM pragma_table_info(m.name)), "
    u"(SELECT COUNT(*) FROM pragma_table_info(m.name) WHERE pk > 0) "
    u"FROM sqlite_master m WHERE m.type IN ('table', 'view') AND m.name NOT LIKE 'sqlite%'";

std::map<std::u16string, Expected> serverCatalogue(const SampleDatabase& sample,
                                                   const std::u16string& connectionString) {
  data::Connection connection(connectionString);
  const std::u16string sql = sample.server == Dbms::Sqlite ? kSqliteCatalogue
                             : sample.server == Dbms::Postgres
                                 ? informationSchemaQuery(u"current_schema()")
                                 : informationSchemaQuery(u"DATABASE()");
  std::map<std::u16string, Expected> out;
  for (const auto& row : data::runQuery(connection, sql).rows) {
    const std::u16string type = toString(row.at(1));
    out[toString(row.at(0))] = {type == u"VIEW" || type == u"view" ? u"VIEW" : u"TABLE",
                                data::integerOf(row.at(2)), data::integerOf(row.at(3))};
  }
  return out;
}

// The samples are loaded once, by the first test that wants them.
class SampleLoad {
 public:
  static SampleLoad& instance() {
    static SampleLoad load;
    return load;
  }
  const std::string& problem() const { return problem_; }

 private:
  SampleLoad() {
    TestDatabases& db = TestDatabases::instance();
    try {
      loadSampleDatabases(*sharedTestData(), db.postgres(), db.mariadb(), db.folder());
    } catch (const std::exception& e) {
      problem_ = std::string("the sample databases did not load: ") + e.what();
    }
  }
  std::string problem_;
};

class SampleDatabaseRealDb : public DatabaseTest {
 protected:
  void SetUp() override {
    if (!sharedTestData()) GTEST_SKIP() << "no shared/testdata folder with chinook and sakila";
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_EQ(SampleLoad::instance().problem(), "");
    projectContext().lastErrorText.clear();
  }

  std::u16string connectionString(const SampleDatabase& sample) {
    return sampleConnectionString(sample, databases().postgres(), databases().mariadb(),
                                  databases().folder());
  }

  // A new project whose database the loader fills; the arguments name one table or none.
  Ref<AGP> load(const SampleDatabase& sample, bool dynamic, std::u16string table = {},
                Ref<AGP> project = {}) {
    if (!project) {
      project = makeRef<AGP>();
      project->setDB(makeRef<AGPDatabase>());
    }
    DatabaseLoad settings;
    settings.dynamicLoad = dynamic;
    projectContext().lastErrorText.clear();
    const std::int16_t result = reportLoad(
        settings,
        loadAdoDatabase(settings, *project->DB(),
                        {u"DB", u"", u"", u"", connectionString(sample), std::move(table), u""}));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
    return project;
  }
};

std::int32_t keyColumns(AGPTable& table) {
  std::int32_t keys = 0;
  for (std::int32_t i = 0; i < table.fields().count(); ++i) {
    if (table.fields().at(static_cast<std::size_t>(i)).FldIsPrimaryKey()) ++keys;
  }
  return keys;
}

std::u16string setting(AGPTable& table, TableSetting row) {
  return toString(table.properties().setting(row));
}

// Every table and view the server lists is loaded with its columns and key, and nothing else.
void expectCatalogue(AGPDatabase& db, const std::map<std::u16string, Expected>& expected) {
  EXPECT_EQ(db.tables().count(), static_cast<std::int32_t>(expected.size()));
  for (const auto& [name, want] : expected) {
    SCOPED_TRACE(toUtf8(name));
    if (!db.tables().tableExist(Variant(name))) {
      ADD_FAILURE() << "not loaded";
      continue;
    }
    AGPTable& table = *db.tables().item(Variant(name));
    EXPECT_EQ(setting(table, kTblType), want.type);
    EXPECT_EQ(setting(table, kTblLoaded), u"True");
    EXPECT_EQ(toUtf8(setting(table, kTblError)), "");
    EXPECT_EQ(table.fields().count(), want.columns);
    EXPECT_EQ(keyColumns(table), want.keyColumns);
  }
}

// Settings the scripts give some columns, each read by the rule of its database.
struct Spot {
  const char* sample;
  const char16_t* table;
  const char16_t* field;  // empty for a table setting
  SettingSlot row;
  const char16_t* value;
};
const Spot kSpots[] = {
    {"Chinook on SQLite", u"PlaylistTrack", u"", kTblKey, u"PlaylistId\r\nTrackId"},
    // A key of one INTEGER column is the rowid's alias, which SQLite numbers itself.
    {"Chinook on SQLite", u"Album", u"AlbumId", kFldAutoIncrement, u"True"},
    {"Chinook on SQLite", u"PlaylistTrack", u"TrackId", kFldAutoIncrement, u"False"},
    {"Chinook on PostgreSQL", u"playlist_track", u"", kTblKey, u"playlist_id\r\ntrack_id"},
    {"Chinook on MariaDB", u"Track", u"UnitPrice", kFldTypeName, u"decimal(10,2)"},
    {"Sakila on PostgreSQL", u"actor", u"actor_id", kFldAutoIncrement, u"True"},
    {"Sakila on PostgreSQL", u"film", u"rating", kFldDefault, u"G"},
    {"Sakila on PostgreSQL", u"film", u"rental_rate", kFldDefault, u"4.99"},
    {"Sakila on PostgreSQL", u"film", u"special_features", kFldTypeName, u"array"},
    {"Sakila on PostgreSQL", u"film", u"special_features", kFldEdit, u"False"},
    {"Sakila on PostgreSQL", u"film", u"rating", kFldHtmlTag, u"SELECT"},
    {"Sakila on PostgreSQL", u"film", u"rating", kFldTagValues,
     u"\"G\",\"G\"\r\n\"PG\",\"PG\"\r\n\"PG-13\",\"PG-13\"\r\n\"R\",\"R\"\r\n"
     u"\"NC-17\",\"NC-17\"\r\n"},
    {"Sakila on PostgreSQL", u"customer", u"create_date", kFldDefault, u"now"},
    {"Sakila on MariaDB", u"actor", u"actor_id", kFldAutoIncrement, u"True"},
    {"Sakila on MariaDB", u"film", u"rating", kFldTagValues,
     u"\"G\",\"G\"\r\n\"PG\",\"PG\"\r\n\"PG-13\",\"PG-13\"\r\n\"R\",\"R\"\r\n"
     u"\"NC-17\",\"NC-17\"\r\n"},
    {"Sakila on MariaDB", u"film", u"special_features", kFldHtmlTag, u"CHECKBOX"},
};

void expectSpots(AGPDatabase& db, const SampleDatabase& sample) {
  for (const Spot& spot : kSpots) {
    if (std::string(spot.sample) != sample.label) continue;
    SCOPED_TRACE(toUtf8(spot.table) + "." + toUtf8(spot.field));
    ASSERT_TRUE(db.tables().tableExist(Variant(std::u16string(spot.table))));
    AGPTable& table = *db.tables().item(Variant(std::u16string(spot.table)));
    if (*spot.field == 0) {
      EXPECT_EQ(toUtf8(toString(table.properties().setting(spot.row))), toUtf8(spot.value));
      continue;
    }
    AGPField* field = table.fields().find(spot.field);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(toUtf8(toString(field->properties().setting(spot.row))), toUtf8(spot.value));
  }
}

TEST_F(SampleDatabaseRealDb, WholeLoadsReadEveryTableViewColumnAndKey) {
  for (const SampleDatabase& sample : sampleDatabases()) {
    SCOPED_TRACE(sample.label);
    const std::map<std::u16string, Expected> expected =
        serverCatalogue(sample, connectionString(sample));
    std::size_t tables = 0, views = 0, columns = 0, keys = 0;
    for (const auto& [name, want] : expected) {
      ++(want.type == u"VIEW" ? views : tables);
      columns += static_cast<std::size_t>(want.columns);
      keys += static_cast<std::size_t>(want.keyColumns);
    }
    // The server's catalogue agrees with the scripts before it judges the loader.
    EXPECT_EQ(tables, sample.tables);
    EXPECT_EQ(views, sample.views);
    EXPECT_GE(columns, 4 * (tables + views));
    EXPECT_GE(keys, sample.server == Dbms::MariaDb ? tables - 1 : tables - 6);

    Ref<AGP> project = load(sample, /*dynamic=*/false);
    expectCatalogue(*project->DB(), expected);
    expectSpots(*project->DB(), sample);
  }
}

// Reading the catalogue in bulk gives each sample's model as reading it table by table does.
TEST_F(SampleDatabaseRealDb, BulkAndTableByTableLoadsAgree) {
  for (const SampleDatabase& sample : sampleDatabases()) {
    if (sample.server == Dbms::Sqlite) continue;
    SCOPED_TRACE(sample.label);
    expectBulkLoadAsPerTable(connectionString(sample));
  }
}

TEST_F(SampleDatabaseRealDb, DynamicLoadsRegisterEveryTableAndReadEachOnDemand) {
  for (const SampleDatabase& sample : sampleDatabases()) {
    SCOPED_TRACE(sample.label);
    const std::map<std::u16string, Expected> expected =
        serverCatalogue(sample, connectionString(sample));
    Ref<AGP> project = load(sample, /*dynamic=*/true);
    AGPDatabase& db = *project->DB();
    ASSERT_EQ(db.tables().count(), static_cast<std::int32_t>(expected.size()));
    for (const auto& [name, want] : expected) {
      ASSERT_TRUE(db.tables().tableExist(Variant(name))) << toUtf8(name);
      AGPTable& table = *db.tables().item(Variant(name));
      EXPECT_EQ(setting(table, kTblLoaded), u"False") << toUtf8(name);
      EXPECT_EQ(table.fields().count(), 0) << toUtf8(name);
    }
    for (const auto& [name, want] : expected) load(sample, /*dynamic=*/true, name, project);
    expectCatalogue(db, expected);
    expectSpots(db, sample);
  }
}

TEST_F(SampleDatabaseRealDb, CustomViewsOverJoinsNameTheirSources) {
  struct Case {
    const char* sample;
    const char16_t* sql;
    const char16_t* fields;  // each "name=source table.source column", joined by ","
  } cases[] = {
      {"Chinook on SQLite",
       u"SELECT t.Name AS TrackName, a.Title, ar.Name AS Artist FROM Track t "
       u"JOIN Album a ON a.AlbumId = t.AlbumId JOIN Artist ar ON ar.ArtistId = a.ArtistId",
       u"TrackName=Track.Name,Title=Album.Title,Artist=Artist.Name"},
      {"Chinook on PostgreSQL",
       u"SELECT t.name AS track_name, a.title, ar.name AS artist FROM track t "
       u"JOIN album a ON a.album_id = t.album_id JOIN artist ar ON ar.artist_id = a.artist_id",
       u"track_name=track.name,title=album.title,artist=artist.name"},
      {"Chinook on MariaDB",
       u"SELECT t.Name AS TrackName, a.Title, ar.Name AS Artist FROM Track t "
       u"JOIN Album a ON a.AlbumId = t.AlbumId JOIN Artist ar ON ar.ArtistId = a.ArtistId",
       u"TrackName=Track.Name,Title=Album.Title,Artist=Artist.Name"},
      {"Sakila on PostgreSQL",
       u"SELECT f.title AS film, c.name AS category, f.rental_rate FROM film f "
       u"JOIN film_category fc ON fc.film_id = f.film_id "
       u"JOIN category c ON c.category_id = fc.category_id",
       u"film=film.title,category=category.name,rental_rate=film.rental_rate"},
      {"Sakila on MariaDB",
       u"SELECT f.title AS film, c.name AS category, f.rental_rate FROM film f "
       u"JOIN film_category fc ON fc.film_id = f.film_id "
       u"JOIN category c ON c.category_id = fc.category_id",
       u"film=film.title,category=category.name,rental_rate=film.rental_rate"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sample);
    const SampleDatabase* sample = nullptr;
    for (const SampleDatabase& s : sampleDatabases()) {
      if (std::string(s.label) == c.sample) sample = &s;
    }
    ASSERT_NE(sample, nullptr);
    Ref<AGP> project = load(*sample, /*dynamic=*/true);
    AGPDatabase& db = *project->DB();
    ASSERT_EQ(LoadADOCustomView(db, connectionString(*sample), u"cv", c.sql), 0)
        << toUtf8(projectContext().lastErrorText);
    AGPTable& table = *db.tables().item(Variant(u"cv"));
    EXPECT_EQ(setting(table, kTblType), u"CUSTOMVIEW");
    std::u16string fields;
    for (std::int32_t i = 0; i < table.fields().count(); ++i) {
      AGPField& field = table.fields().at(static_cast<std::size_t>(i));
      fields += (i ? u"," : u"") + field.FldName() + u"=" +
                toString(field.properties().setting(kFldSourceTable)) + u"." +
                toString(field.properties().setting(kFldSourceField));
    }
    EXPECT_EQ(toUtf8(fields), toUtf8(c.fields));
  }
}

}  // namespace
}  // namespace vantorel::test
