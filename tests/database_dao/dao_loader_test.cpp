#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/dao_database_loader.hpp"
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

TEST(DaoLoader, TablesGetFieldsKeysAndIndexMarks) {
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
    LoadTbl_DAO(DatabaseLoad{}, *table, file, c.table, false);
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

TEST(DaoLoader, AWholeFileLoadsTablesAndOnlyPlainSelectQueriesAsViews) {
  auto db = makeRef<AGPDatabase>();
  ASSERT_EQ(loadDaoDatabase(*db, {u"db.mdb", filePath("queryTestV2000.mdb")}), 0)
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

TEST(DaoLoader, ADynamicLoadRegistersThenASingleLoadReads) {
  DatabaseLoad dynamic;
  dynamic.dynamicLoad = true;
  auto db = makeRef<AGPDatabase>();
  const std::u16string path = filePath("queryTestV1997.mdb");
  ASSERT_TRUE(loadAccessDatabase(dynamic, *db, {path, path}).loaded());
  Ref<AGPTable> table = db->tables().item(Variant(std::u16string(u"Table1")));
  ASSERT_TRUE(table);
  EXPECT_EQ(table->fields().count(), 0);
  EXPECT_FALSE(table->tblGen());
  ASSERT_EQ(loadDaoDatabase(*db, {path, path, false, u"", u"", u"Table1"}), 0);
  EXPECT_GT(table->fields().count(), 0);
  EXPECT_TRUE(toBool(table->properties().setting(kTblLoaded)));
  Ref<AGPTable> view = db->tables().item(Variant(std::u16string(u"SelectQuery")));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->fields().count(), 0);
  ASSERT_EQ(loadDaoDatabase(*db, {path, path, false, u"", u"", u"SelectQuery"}), 0);
  EXPECT_EQ(view->fields().count(), 6);
  EXPECT_EQ(tableSetting(*view, kTblSQL).rfind(u"SELECT DISTINCT", 0), 0u);
}

TEST(DaoLoader, FailuresReturnOneWithTheirText) {
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
    EXPECT_EQ(loadDaoDatabase(*db, {c.phyPath, c.phyPath}), 1);
    EXPECT_EQ(projectContext().lastErrorText.rfind(c.textStart, 0), 0u)
        << toUtf8(projectContext().lastErrorText);
    EXPECT_EQ(db->tables().count(), 0);
  }
}

// Index and column properties as a table definition gives them; the sample files set no
// Required flag, Caption or two-column primary key on a user table, so the definition is
// written out here.
TEST(DaoLoader, ADefinitionsKeysIndexesAndColumnPropertiesReachTheFields) {
  access::AccessTable definition;
  definition.name = u"Orders";
  auto column = [](const char16_t* name, std::int16_t type) {
    access::AccessColumn c;
    c.name = name;
    c.daoType = type;
    c.size = type == access::kDaoText ? 50 : 4;
    c.attributes = access::kDaoVariableField | access::kDaoUpdatableField;
    return c;
  };
  definition.columns = {column(u"Shop", access::kDaoLong), column(u"Number", access::kDaoLong),
                        column(u"Code", access::kDaoText), column(u"Note", access::kDaoText),
                        column(u"Row", access::kDaoLong)};
  definition.columns[2].required = true;
  definition.columns[3].allowZeroLength = true;
  definition.columns[3].caption = u"Remark";
  definition.columns[4].autoIncrement = true;
  definition.columns[4].attributes = access::kDaoFixedField | access::kDaoAutoIncrField;
  definition.indexes = {
      {u"PrimaryKey", access::IndexKind::Primary, true, false, {u"Shop", u"Number"}},
      {u"CodeIndex", access::IndexKind::Other, true, false, {u"Code"}},
      {u"Pair", access::IndexKind::Other, true, false, {u"Note", u"Row"}},
      {u"Plain", access::IndexKind::Other, false, false, {u"Row"}},
  };
  auto table = makeRef<AGPTable>();
  table->setTblName(u"Orders");
  LoadTbl_DAO(DatabaseLoad{}, *table, definition, true);
  EXPECT_EQ(tableSetting(*table, kTblKey), u"Number\r\nShop");
  EXPECT_EQ(tableSetting(*table, kTblError), u"");
  struct Expect {
    const char16_t* field;
    bool primary, unique, required, zeroLength, autoNumber;
    const char16_t* caption;
  } expects[] = {
      {u"Shop", true, false, false, false, false, nullptr},
      {u"Number", true, false, false, false, false, nullptr},
      {u"Code", false, true, true, false, false, nullptr},
      {u"Note", false, false, false, true, false, u"Remark"},
      {u"Row", false, false, false, false, true, nullptr},
  };
  for (const Expect& e : expects) {
    SCOPED_TRACE(toUtf8(e.field));
    EXPECT_EQ(fieldFlag(*table, e.field, kFldIsPrimaryKey), e.primary);
    EXPECT_EQ(fieldFlag(*table, e.field, kFldUniqueIdx), e.unique);
    EXPECT_EQ(fieldFlag(*table, e.field, kFldReq), e.required);
    EXPECT_EQ(fieldFlag(*table, e.field, kFldZeroLen), e.zeroLength);
    EXPECT_EQ(fieldFlag(*table, e.field, kFldAutoIncrement), e.autoNumber);
    if (e.caption) {
      Ref<AGPField> f = table->fields().item(Variant(std::u16string(e.field)));
      EXPECT_EQ(toString(f->properties().setting(kFldCaption)), e.caption);
    }
  }
}

// Columns DAO has no type for (attachments, multi-value and version-history columns, the
// extended date) load as fields of an unsupported type; the others keep theirs.
TEST(DaoLoader, ComplexColumnsAndTheExtendedDateLoadAsUnsupportedFields) {
  struct Case {
    const char* file;
    const char16_t* field;
    bool supported;
    bool zeroLength;
  } cases[] = {
      {"complexDataTestV2007.accdb", u"attach-data", false, false},
      {"complexDataTestV2007.accdb", u"multi-value-data", false, false},
      {"complexDataTestV2007.accdb", u"memo-data", true, true},
      {"extDateTestV2019.accdb", u"DateExt", false, false},
      {"extDateTestV2019.accdb", u"DateNormal", true, false},
      {"calcFieldTestV2010.accdb", u"FirstName", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + toUtf8(c.field));
    auto db = makeRef<AGPDatabase>();
    ASSERT_EQ(loadDaoDatabase(*db, {u"x", filePath(c.file)}), 0);
    Ref<AGPTable> table = db->tables().item(Variant(std::u16string(u"Table1")));
    ASSERT_TRUE(table);
    Ref<AGPField> field = table->fields().item(Variant(std::u16string(c.field)));
    ASSERT_TRUE(field);
    EXPECT_EQ(toBool(field->properties().setting(kFldSupport)), c.supported);
    if (!c.supported) {
      EXPECT_EQ(toString(field->properties().setting(kFldType)), u"-1");
    }
    EXPECT_EQ(toBool(field->properties().setting(kFldZeroLen)), c.zeroLength);
  }
}

// Scripts reach the loader by name with their own variants; the file's format decides
// DBDBMSVer, which picks the provider of a custom view's connection.
TEST(DaoLoader, ScriptsLoadByNameAndTheFormatGivesTheVersion) {
  struct Case {
    const char* file;
    std::u16string version;
  } cases[] = {
      {"queryTestV1997.mdb", u"3.0"},
      {"queryTestV2000.mdb", u"4.0"},
      {"complexDataTestV2007.accdb", u"12.0"},
      {"extDateTestV2019.accdb", u"12.0"},
  };
  for (const Case& c : cases) {
    auto db = makeRef<AGPDatabase>();
    const Variant result =
        db->call(u"LoadDAODB", {Variant(std::u16string(u"data/x.mdb")), Variant(filePath(c.file)),
                                Variant(true), Variant(std::u16string(u"admin")),
                                Variant(std::u16string()), Variant(std::u16string())});
    EXPECT_EQ(toString(result), u"0") << c.file;
    EXPECT_EQ(toString(db->get(u"DBDBMSVer")), c.version) << c.file;
    EXPECT_TRUE(toBool(db->get(u"DBUseServerMapPath")));
    EXPECT_EQ(toString(db->get(u"DBUID")), u"admin");
    EXPECT_EQ(toString(db->get(u"DBQuoteS")), u"[");
    EXPECT_GT(db->tables().count(), 0) << c.file;
  }
  auto db = makeRef<AGPDatabase>();
  EXPECT_EQ(toString(db->call(u"LoadDAODB",
                              {Variant(), Variant(), Variant(), Variant(), Variant(), Variant()})),
            u"1");
  EXPECT_EQ(projectContext().lastErrorText,
            u"Open MS Access database failed. Error: No database file was named.");
}

TEST(DaoLoader, AnInnerJoinViewTakesTheManySideKeyItExposes) {
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
