// Every Access file of the shared sample folder loaded whole through AGPDatabase.LoadDAODB: each
// user table with its fields and key, each select query without parameters as a view with its
// fields and SQL, nothing else; an index list libmdb cannot read costs that table its key and
// leaves a note, not the load.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "database/dao_database_loader.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/value_format.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/access_file.hpp"
#include "platform/data/shared_access_folder.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

namespace access = data::access;

std::u16string setting(AGPTable& table, SettingSlot slot) {
  return toString(table.properties().setting(slot));
}

// The key the loader must give a table: the primary index's columns, sorted.
std::u16string primaryKeyOf(const access::AccessTable& definition) {
  for (const access::AccessIndex& index : definition.indexes) {
    if (index.primary()) return toString(SortLines(Variant(join(index.fields, u"\r\n"))));
  }
  return {};
}

void expectTableLoaded(AGPTables& tables, const access::AccessTable& definition) {
  SCOPED_TRACE(toUtf8(definition.name));
  Ref<AGPTable> table = tables.item(Variant(definition.name));
  ASSERT_TRUE(table);
  EXPECT_EQ(setting(*table, kTblType), u"TABLE");
  if (definition.columns.empty()) {
    EXPECT_FALSE(toBool(table->properties().setting(kTblLoaded)));
    return;
  }
  EXPECT_TRUE(toBool(table->properties().setting(kTblLoaded)));
  EXPECT_EQ(table->fields().count(), static_cast<std::int32_t>(definition.columns.size()));
  EXPECT_EQ(setting(*table, kTblKey), primaryKeyOf(definition));
  for (const access::AccessColumn& column : definition.columns) {
    Ref<AGPField> field = table->fields().item(Variant(column.name));
    ASSERT_TRUE(field) << toUtf8(column.name);
    const std::vector<std::u16string> key = split(setting(*table, kTblKey), u"\r\n");
    const bool inKey = std::find(key.begin(), key.end(), column.name) != key.end();
    EXPECT_EQ(toBool(field->properties().setting(kFldIsPrimaryKey)), inKey) << toUtf8(column.name);
    EXPECT_EQ(toBool(field->properties().setting(kFldAutoIncrement)), column.autoIncrement)
        << toUtf8(column.name);
  }
  // The index note is the table's error; the table is generated all the same.
  EXPECT_EQ(setting(*table, kTblError), definition.indexNote);
}

void expectViewLoaded(AGPTables& tables, const access::AccessQuery& query) {
  SCOPED_TRACE(toUtf8(query.info.name));
  Ref<AGPTable> view = tables.item(Variant(query.info.name));
  ASSERT_TRUE(view);
  EXPECT_EQ(setting(*view, kTblType), u"VIEW");
  EXPECT_TRUE(toBool(view->properties().setting(kTblLoaded)));
  EXPECT_EQ(setting(*view, kTblSQL), query.sql);
  EXPECT_FALSE(query.columns.empty());
  for (const access::AccessColumn& column : query.columns) {
    EXPECT_TRUE(view->fields().item(Variant(column.name))) << toUtf8(column.name);
  }
}

TEST(DaoLoaderRealDb, EveryFileLoadsItsTablesSelectQueriesColumnsAndKeys) {
  const std::filesystem::path folder = test::sharedAccessFolder();
  if (folder.empty()) GTEST_SKIP() << "no shared/testdata/access folder";
  const std::vector<std::filesystem::path> files = test::sharedAccessFiles(folder);
  EXPECT_GE(files.size(), 15u);
  int tablesLoaded = 0, viewsLoaded = 0, keys = 0, notes = 0;
  for (const std::filesystem::path& path : files) {
    SCOPED_TRACE(path.string());
    const std::u16string phyPath = fromUtf8(path.string());
    testing::internal::CaptureStderr();
    auto db = makeRef<AGPDatabase>();
    const std::int16_t result = loadDaoDatabase(*db, {path.filename().u16string(), phyPath});
    ASSERT_EQ(result, 0) << toUtf8(projectContext().lastErrorText);
    // Every .accdb is "12.0", so that a custom view's connection names the newer provider.
    const std::u16string version = path.extension() == ".accdb"              ? u"12.0"
                                   : path.filename() == "queryTestV1997.mdb" ? u"3.0"
                                                                             : u"4.0";
    EXPECT_EQ(toString(db->properties().setting(kDBDBMSVer)), version);
    access::AccessFile file = access::AccessFile::open(path);
    AGPTables& tables = db->tables();
    for (const std::u16string& name : file.tableNames()) {
      const access::AccessTable definition = file.readTable(name);
      expectTableLoaded(tables, definition);
      ++tablesLoaded;
      keys += primaryKeyOf(definition).empty() ? 0 : 1;
      notes += definition.indexNote.empty() ? 0 : 1;
    }
    for (const access::QueryInfo& info : file.queries()) {
      if (!info.isView()) {
        EXPECT_FALSE(tables.tableExist(Variant(info.name))) << toUtf8(info.name);
        continue;
      }
      expectViewLoaded(tables, file.readQuery(info.name));
      ++viewsLoaded;
    }
    EXPECT_EQ(tables.count(),
              static_cast<std::int32_t>(file.tableNames().size() + file.viewNames().size()));
    EXPECT_EQ(file.queryFailure(), u"");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
  // The set as a whole: many tables with keys, views from the query files, and the tables of
  // testIndexPropertiesV2000 whose index lists libmdb misreads.
  EXPECT_GT(tablesLoaded, 30);
  EXPECT_GT(keys, 10);
  EXPECT_GT(viewsLoaded, 3);
  EXPECT_GE(notes, 3);
}

}  // namespace
}  // namespace vantorel
