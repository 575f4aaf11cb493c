// Custom views over an Access file through the project object: the query is described from the
// file (no Jet or ACE provider exists here), its fields typed as the Access loader types the
// columns they show, with their sources; a query that cannot be described changes nothing; a
// synchronisation keeps what the load gave.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "agp/agp.hpp"
#include "database/load_entries.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/registry_test_support.hpp"
#include "foundation/setting_values.hpp"
#include "model/database.hpp"
#include "platform/text/unicode.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "schema/live_schema.hpp"
#include "schema/schema_snapshot.hpp"
#include "support/temp_home.hpp"
#include "sync/sync_driver.hpp"
#include "sync/sync_log.hpp"

namespace vantorel {
namespace {

const std::filesystem::path kFiles = std::filesystem::path(VANTOREL_TEST_DATA) / "access";

// One field as the test compares it: name, type, type name, size, source table and column.
struct FieldRow {
  std::string name;
  std::int16_t type;
  std::string typeName;
  std::int32_t size;
  std::string sourceTable;
  std::string sourceField;

  bool operator==(const FieldRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FieldRow& f) {
  return out << f.name << " " << f.type << " " << f.typeName << " " << f.size << " "
             << f.sourceTable << "." << f.sourceField;
}

class AccessCustomView : public test::RegistryTest {
 protected:
  void SetUp() override {
    spillStore(machineFile(), "");
    agp_ = makeRef<AGP>();
    agp_->AddProj(u"Shop");
    projectContext().lastErrorText.clear();
  }
  void TearDown() override { agp_->UnLoadDB(); }

  void loadFile(const char* name) { loadPath(kFiles / name); }
  void loadPath(const std::filesystem::path& file) {
    DatabaseLoadArguments a;
    a.sDbType = u"ACCESS";
    a.sPath = u"db/" + fromUtf8(file.filename().string());
    a.sPhyPath = fromUtf8(file.string());
    LoadDB(*agp_, a);
    ASSERT_EQ(err(), "");
  }
  std::string err() const { return toUtf8(projectContext().lastErrorText); }
  AGPTables& tables() { return agp_->DB()->tables(); }

  std::vector<FieldRow> rows(const std::u16string& table) {
    std::vector<FieldRow> out;
    AGPFields& fields = tables().item(Variant(table))->fields();
    for (std::int32_t i = 0; i < fields.count(); ++i) {
      AGPField& f = fields.at(static_cast<std::size_t>(i));
      AGProperties& bag = f.properties();
      out.push_back({toUtf8(f.FldName()), f.FldType(),
                     toUtf8(settingAsText(bag.setting(kFldTypeName))),
                     settingAsLong(f.properties().setting(kFldSize)),
                     toUtf8(settingAsText(bag.setting(kFldSourceTable))),
                     toUtf8(settingAsText(bag.setting(kFldSourceField)))});
    }
    return out;
  }
  // The row the Access loader gave the table's own column, with that column as its source.
  FieldRow loaded(const std::u16string& table, const std::u16string& column,
                  const std::string& as = "") {
    AGPField& f = *tables().item(Variant(table))->fields().item(Variant(column));
    return {as.empty() ? toUtf8(f.FldName()) : as,
            f.FldType(),
            toUtf8(settingAsText(f.properties().setting(kFldTypeName))),
            settingAsLong(f.properties().setting(kFldSize)),
            toUtf8(table),
            toUtf8(column)};
  }

  Ref<AGP> agp_;
};

TEST_F(AccessCustomView, AJoinViewGetsTheTableColumnsTypesAndSources) {
  loadFile("calcFieldTestV2010.accdb");
  LoadCustomView(*agp_, u"people",
                 u"SELECT t.ID, t.FirstName AS Given, u.Popularity, t.[LastFirstLen]\r\n"
                 u"FROM Table1 AS t INNER JOIN Table1 AS u ON t.ID = u.ID",
                 false);
  ASSERT_EQ(err(), "");
  AGPTable& view = *tables().item(Variant(u"people"));
  EXPECT_EQ(settingAsText(view.properties().setting(kTblType)), u"CUSTOMVIEW");
  EXPECT_EQ(settingAsText(view.properties().setting(kTblCustomError)), u"");
  const std::vector<FieldRow> expected = {
      loaded(u"Table1", u"ID"), loaded(u"Table1", u"FirstName", "Given"),
      loaded(u"Table1", u"Popularity"), loaded(u"Table1", u"LastFirstLen")};
  EXPECT_EQ(rows(u"people"), expected);
  EXPECT_TRUE(
      settingAsBool(view.fields().item(Variant(u"Given"))->properties().setting(kFldAlias)));
}

// The file's path goes through the custom view's connection string: a ";" or "=" in it stays
// part of the path.
TEST_F(AccessCustomView, AFileWhosePathHoldsConnectionStringSeparatorsIsFound) {
  const test::TempDir dir;
  const std::filesystem::path folder = dir.path() / "a;b=c";
  std::filesystem::create_directory(folder);
  std::filesystem::copy_file(kFiles / "queryTestV2000.mdb", folder / "q.mdb");
  loadPath(folder / "q.mdb");
  LoadCustomView(*agp_, u"one", u"SELECT col2 FROM Table1", false);
  ASSERT_EQ(err(), "");
  EXPECT_EQ(rows(u"one"), std::vector<FieldRow>{loaded(u"Table1", u"col2")});
}

TEST_F(AccessCustomView, AStarOverJoinedTablesTakesEveryColumnAsDaoNamesIt) {
  loadFile("queryTestV2000.mdb");
  LoadCustomView(*agp_, u"joined",
                 u"SELECT * FROM Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1", false);
  ASSERT_EQ(err(), "");
  std::vector<FieldRow> expected;
  for (const std::u16string table : {u"Table1", u"Table3"}) {
    AGPFields& fields = tables().item(Variant(table))->fields();
    for (std::int32_t i = 0; i < fields.count(); ++i) {
      const std::u16string column = fields.at(static_cast<std::size_t>(i)).FldName();
      // A name both tables have is qualified with its table, as DAO names it.
      const bool shared = tables()
                              .item(Variant(table == u"Table1" ? u"Table3" : u"Table1"))
                              ->fields()
                              .fieldExist(Variant(column));
      expected.push_back(
          loaded(table, column, shared ? toUtf8(table + u"." + column) : std::string()));
    }
  }
  EXPECT_EQ(rows(u"joined"), expected);
}

TEST_F(AccessCustomView, AnExpressionIsLongTextWithoutSource) {
  loadFile("queryTestV2000.mdb");
  LoadCustomView(*agp_, u"counted", u"SELECT col1, Count(*) AS n, col2 & 'x' FROM Table1", false);
  ASSERT_EQ(err(), "");
  const std::vector<FieldRow> got = rows(u"counted");
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], loaded(u"Table1", u"col1"));
  for (const FieldRow& f : {got[1], got[2]}) {
    EXPECT_EQ(f.type, 203) << f;  // long text, as a Memo column loads
    EXPECT_EQ(f.sourceTable, "") << f;
  }
  EXPECT_EQ(got[1].name, "n");
  EXPECT_EQ(got[2].name, "Expr1000");
}

// Each column's source names the table the column comes from, a name two tables share too
// (which a star reaches as "b.col1"); an expression has none.
TEST_F(AccessCustomView, EachColumnsSourceNameNamesItsOwnTable) {
  loadFile("queryTestV2000.mdb");
  struct Case {
    const char16_t* query;
    std::vector<std::pair<std::string, std::string>> sources;  // field, FldSourceName
  } const cases[] = {
      {u"SELECT a.*, b.col1 FROM Table1 a INNER JOIN Table2 b ON a.col1 = b.col1",
       {{"a.col1", "[Table1].[col1]"},
        {"col2", "Table1.col2"},
        {"col3", "Table1.col3"},
        {"b.col1", "[Table2].[col1]"}}},
      {u"SELECT t.col1, t.col1 * 2, Table2.col2 AS c2, Count(*) FROM Table1 t, Table2 "
       u"GROUP BY t.col1, Table2.col2",
       {{"col1", "Table1.col1"}, {"Expr1000", ""}, {"c2", "Table2.col2"}, {"Expr1001", ""}}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::u16string name = u"view" + fromUtf8(std::to_string(++n));
    SCOPED_TRACE(toUtf8(c.query));
    LoadCustomView(*agp_, name, c.query, false);
    ASSERT_EQ(err(), "");
    std::vector<std::pair<std::string, std::string>> got;
    AGPFields& fields = tables().item(Variant(name))->fields();
    for (std::int32_t i = 0; i < fields.count(); ++i) {
      AGPField& f = fields.at(static_cast<std::size_t>(i));
      got.emplace_back(toUtf8(f.FldName()),
                       toUtf8(settingAsText(f.properties().setting(kFldSourceName))));
    }
    EXPECT_EQ(got, c.sources);
  }
}

TEST_F(AccessCustomView, AQueryThatCannotBeDescribedChangesNothing) {
  loadFile("queryTestV2000.mdb");
  struct Case {
    const char16_t* sql;
    std::string error;
  } cases[] = {
      {u"SELEC col1 FROM Table1",
       "The query of a custom view must begin with SELECT or WITH; it does not at line 1, "
       "column 1."},
      {u"SELECT col1,\n  Table1.nothing FROM Table1",
       "The query of a custom view names the column nothing, which Table1 does not have at "
       "line 2, column 3."},
      {u"SELECT col1 FROM Missing",
       "The query of a custom view names Missing, which is no table or select query of the "
       "file at line 1, column 18."},
      {u"SELECT col1 FROM Table1, Table3",
       "The query of a custom view names the column col1, which more than one of its tables "
       "has (Table1, Table3) at line 1, column 8."},
      {u"SELECT x.col1 FROM (SELECT col1 FROM Table1) AS x",
       "The query of a custom view takes a column from a subquery, which cannot be described "
       "without running it at line 1, column 8."},
  };
  const std::int32_t before = tables().count();
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.sql));
    LoadCustomView(*agp_, u"broken", c.sql, false);
    EXPECT_EQ(err(), c.error);
    EXPECT_FALSE(tables().tableExist(Variant(u"broken")));
    EXPECT_EQ(tables().count(), before);
  }
}

TEST_F(AccessCustomView, ASynchronisationKeepsTheCustomView) {
  loadFile("queryTestV2000.mdb");
  LoadCustomView(*agp_, u"joined", u"SELECT *, Table3.col3 AS third FROM Table1, Table3", false);
  ASSERT_EQ(err(), "");
  const std::vector<FieldRow> before = rows(u"joined");
  // The check reads the query as the load did: no difference.
  EXPECT_EQ(CheckDB(*agp_), 0) << err();
  // What the synchronisation must set right again from the file.
  AGPTable& view = *tables().item(Variant(u"joined"));
  view.properties().setting(kTblCustomError) = Variant(u"stale");
  view.fields().at(0).properties().setting(kFldSourceTable) = Variant(u"elsewhere");

  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  const Expected<> read = loadLiveSchema(*snapshot, *agp_->DB(), u"");
  ASSERT_TRUE(read) << toUtf8(read.failure().text);
  const SyncOutcome outcome = RunSyncPasses(*agp_, snapshot);
  for (const SyncLogEntry& change : outcome.changes) {
    EXPECT_NE(toUtf8(change.table), "joined") << toUtf8(change.message);
  }
  EXPECT_EQ(settingAsText(view.properties().setting(kTblCustomError)), u"");
  EXPECT_EQ(rows(u"joined"), before);
}

}  // namespace
}  // namespace vantorel
