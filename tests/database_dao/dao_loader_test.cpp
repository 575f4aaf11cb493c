#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/dao_table_loader.hpp"
#include "database/dao_view_key.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

namespace access = data::access;

const std::filesystem::path kFiles = std::filesystem::path(VANTOREL_TEST_DATA) / "access";

std::u16string filePath(const char* name) {
  return fromUtf8((kFiles / name).string());
}

std::u16string tableSetting(AGPTable& table, SettingSlot slot) {
  return toString(table.properties().setting(slot));
}

bool fieldFlag(AGPTable& table, const char16_t* field, SettingSlot slot) {
  Ref<AGPField> f = table.fields().item(Variant(std::u16string(field)));
  return f && toBool(f->properties().setting(slot));
}

class DaoLoader : public testing::Test {
 protected:
  void SetUp() override { projectContext().currentDynamicLoadDB = false; }
  void TearDown() override { projectContext().currentDynamicLoadDB = false; }
};

TEST_F(DaoLoader, TablesGetFieldsKeysAndIndexMarks) {
  struct Case {
    const char* file;
    std::u16string table;
    std::u16string key;
    std::vector<const char16_t*> primary, unique, autoNumber;
    bool noted;
  } cases[] = {
      {"calcFieldTestV2010.accdb",
       u"MSysIMEXColumns",
       u"FieldName\r\nSpecID",
       {u"SpecID", u"FieldName"},
       {},
       {},
       false},
      {"complexDataTestV2007.accdb",
       u"Table1",
       u"id",
       {u"id"},
       {u"id", u"multi-value-data"},
       {},
       false},
      {"calcFieldTestV2010.accdb", u"Table1", u"", {}, {}, {u"ID"}, false},
      {"testIndexPropertiesV2000.mdb", u"TableUnique1_temp", u"", {}, {}, {}, true},
  };
  for (const Case& c : cases) {
    const std::string where = std::string(c.file) + " " + toUtf8(c.table);
    access::AccessFile file = access::AccessFile::open(kFiles / c.file);
    auto table = makeRef<AGPTable>();
    table->setTblName(c.table);
    LoadTbl_DAO(*table, file, c.table, false);
    EXPECT_EQ(tableSetting(*table, kTblType), u"TABLE") << where;
    if (!c.key.empty()) {
      EXPECT_EQ(tableSetting(*table, kTblKey), c.key) << where;
    }
    EXPECT_TRUE(toBool(table->properties().setting(kTblLoaded))) << where;
    EXPECT_GT(table->fields().count(), 0) << where;
    for (const char16_t* f : c.primary)
      EXPECT_TRUE(fieldFlag(*table, f, kFldIsPrimaryKey)) << where;
    for (const char16_t* f : c.unique) EXPECT_TRUE(fieldFlag(*table, f, kFldUniqueIdx)) << where;
    for (const char16_t* f : c.autoNumber) {
      EXPECT_TRUE(fieldFlag(*table, f, kFldAutoIncrement)) << where;
    }
    EXPECT_EQ(tableSetting(*table, kTblError).find(u"could not be read") != std::u16string::npos,
              c.noted)
        << where;
  }
}

TEST_F(DaoLoader, AWholeFileLoadsTablesAndOnlyPlainSelectQueriesAsViews) {
  auto db = makeRef<AGPDatabase>();
  ASSERT_EQ(db->LoadDAODB({u"db.mdb", filePath("queryTestV2000.mdb")}), 0)
      << toUtf8(projectContext().lastErrorText);
  EXPECT_EQ(toString(db->properties().setting(kDBType)), u"ACCESS");
  EXPECT_EQ(toString(db->properties().setting(kDBDBMSVer)), u"4.0");
  EXPECT_EQ(toString(db->properties().setting(kDBPath)), u"db.mdb");
  EXPECT_EQ(toString(db->properties().setting(kDBProviderName)), u"N.A.");
  AGPTables& tables = db->tables();
  for (const char16_t* name : {u"Table1", u"Table2", u"Table3"}) {
    ASSERT_TRUE(tables.tableExist(Variant(std::u16string(name))));
    EXPECT_EQ(tableSetting(*tables.item(Variant(std::u16string(name))), kTblType), u"TABLE");
  }
  for (const char16_t* name : {u"UnionQuery", u"UpdateQuery", u"AppendQuery", u"CrosstabQuery"}) {
    EXPECT_FALSE(tables.tableExist(Variant(std::u16string(name)))) << toUtf8(name);
  }
  Ref<AGPTable> view = tables.item(Variant(std::u16string(u"SelectQuery")));
  ASSERT_TRUE(view);
  EXPECT_EQ(tableSetting(*view, kTblType), u"VIEW");
  EXPECT_EQ(tableSetting(*view, kTblSQL).rfind(u"SELECT DISTINCT Table1.*", 0), 0u);
  EXPECT_FALSE(toBool(view->properties().setting(kTblUpdatable)));
  EXPECT_EQ(view->fields().count(), 6);
}

TEST_F(DaoLoader, ADynamicLoadRegistersThenASingleLoadReads) {
  projectContext().currentDynamicLoadDB = true;
  auto db = makeRef<AGPDatabase>();
  const std::u16string path = filePath("queryTestV1997.mdb");
  ASSERT_EQ(db->LoadDAODB({path, path}), 0);
  Ref<AGPTable> table = db->tables().item(Variant(std::u16string(u"Table1")));
  ASSERT_TRUE(table);
  EXPECT_EQ(table->fields().count(), 0);
  EXPECT_FALSE(table->tblGen());
  ASSERT_EQ(db->LoadDAODB({path, path, false, u"", u"", u"Table1"}), 0);
  EXPECT_GT(table->fields().count(), 0);
  EXPECT_TRUE(toBool(table->properties().setting(kTblLoaded)));
}

TEST_F(DaoLoader, FailuresReturnOneWithTheirText) {
  struct Case {
    std::u16string phyPath;
    std::u16string textStart;
  } cases[] = {
      {u"", u"Open MS Access database failed. Error: No database file was named."},
      {filePath("missing.mdb"), u"\r\nError # 3024\r\nGenerated by libmdb\r\nDescription  "},
  };
  for (const Case& c : cases) {
    projectContext().lastErrorText.clear();
    auto db = makeRef<AGPDatabase>();
    EXPECT_EQ(db->LoadDAODB({c.phyPath, c.phyPath}), 1);
    EXPECT_EQ(projectContext().lastErrorText.rfind(c.textStart, 0), 0u)
        << toUtf8(projectContext().lastErrorText);
    EXPECT_EQ(db->tables().count(), 0);
  }
}

TEST_F(DaoLoader, AnInnerJoinViewTakesTheManySideKeyItExposes) {
  struct Case {
    access::JoinType type;
    std::u16string leftColumn, rightColumn;
    std::vector<std::u16string> viewFields;
    std::u16string key;
  } cases[] = {
      {access::JoinType::Inner, u"CustID", u"CustID", {u"OrderID", u"Name"}, u"OrderID"},
      {access::JoinType::Inner, u"CustID", u"CustID", {u"Name"}, u""},
      {access::JoinType::Left, u"CustID", u"CustID", {u"OrderID", u"Name"}, u""},
      {access::JoinType::Inner, u"CustID", u"OrderID", {u"CustID", u"OrderID"}, u"CustID"},
  };
  for (const Case& c : cases) {
    auto db = makeRef<AGPDatabase>();
    AGPTables& tables = db->tables();
    for (auto [name, key] : {std::pair{u"Customers", u"CustID"}, {u"Orders", u"OrderID"}}) {
      tables.add(name);
      tables.item(Variant(std::u16string(name)))->properties().setting(kTblKey) =
          Variant(std::u16string(key));
    }
    tables.add(u"V");
    Ref<AGPTable> view = tables.item(Variant(std::u16string(u"V")));
    for (const std::u16string& f : c.viewFields) view->fields().add(u"V", f);
    access::AccessQuery query;
    query.sql = u"SELECT * FROM Customers INNER JOIN Orders ON Customers.CustID = Orders.CustID;";
    query.tables = {{u"Customers", u""}, {u"Orders", u""}};
    query.joins = {{u"Customers", u"Orders", c.leftColumn, c.rightColumn, c.type, u""}};
    SetupViewKey(*db, *view, query);
    EXPECT_TRUE(toBool(view->properties().setting(kTblUpdatable)));
    EXPECT_EQ(tableSetting(*view, kTblKey), c.key) << toUtf8(c.key);
    if (!c.key.empty()) {
      EXPECT_TRUE(toBool(view->properties().setting(kTblView)));
    }
  }
}

}  // namespace
}  // namespace vantorel
