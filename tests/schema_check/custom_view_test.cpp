// The custom views' connection string and field sources, and the copies of definitions.
#include <gtest/gtest.h>

#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "schema/custom_views.hpp"
#include "schema/definition_copies.hpp"
#include "schema_check/schema_model.hpp"

namespace vantorel {
namespace {

using test::Column;
using test::TableShape;

class CustomViews : public test::SchemaModelTest {
 protected:
  AGProperties& db() { return agp_->DB()->properties(); }
  AGPField& field(const std::u16string& t, const std::u16string& f) {
    return *table(t).fields().item(Variant(f));
  }
  std::u16string text(AGPField& f, FieldSetting s) { return toString(f.properties().setting(s)); }
};

TEST_F(CustomViews, ConnectionStringByDatabaseType) {
  struct Case {
    const char16_t *type, *version, *pwd, *expected;
  };
  db().setting(kDBName) = Variant(u"shop");
  db().setting(kDBUID) = Variant(u"ann");
  db().setting(kDBPhyPath) = Variant(u"/data/shop.mdb");
  db().setting(kDBConnstr) = Variant(u"Driver=SQLite3;Database=/data/shop.db");
  const Case cases[] = {
      {u"ACCESS", u"12.0", u"", u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=/data/shop.mdb;"},
      {u"access", u"12.0.4518", u"",
       u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=/data/shop.mdb;"},
      {u"ACCESS", u"4.0", u"", u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/shop.mdb;"},
      {u"ACCESS", u"120", u"", u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/shop.mdb;"},
      {u"ACCESS", u"", u"", u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/shop.mdb;"},
      {u"ACCESS", u"12.0", u"s3cret",
       u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=/data/shop.mdb;Jet OLEDB:Database "
       u"Password=s3cret;"},
      {u"ODBC", u"", u"pw", u"dsn=shop;uid=ann;pwd=pw"},
      // An empty password is the data source's own; one holding ';' is brace-quoted.
      {u"Odbc", u"", u"", u"dsn=shop;uid=ann"},
      {u"ODBC", u"", u"se;mi}x", u"dsn=shop;uid=ann;pwd={se;mi}}x}"},
      {u"SQLITE", u"", u"pw", u"Driver=SQLite3;Database=/data/shop.db"},
  };
  for (const Case& c : cases) {
    db().setting(kDBType) = Variant(c.type);
    db().setting(kDBDBMSVer) = Variant(c.version);
    db().setting(kDBPwd) = Variant(c.pwd);
    EXPECT_EQ(CustomViewConnStr(*agp_), c.expected) << toUtf8(c.type) << " " << toUtf8(c.version);
  }
  db().setting(kDBType) = Variant(u"ODBC");
  db().setting(kDBUID) = Variant(u"");
  db().setting(kDBPwd) = Variant(u"");
  EXPECT_EQ(CustomViewConnStr(*agp_), u"dsn=shop");
  // Without a data source name an ODBC database is reached through its connection string.
  db().setting(kDBName) = Variant(u"");
  EXPECT_EQ(CustomViewConnStr(*agp_), u"Driver=SQLite3;Database=/data/shop.db");
  agp_->UnLoadDB();
  EXPECT_EQ(CustomViewConnStr(*agp_), u"");
}

TEST_F(CustomViews, FieldSourcesTakeTheModelsNames) {
  addTable({u"Orders", u"TABLE", {{u"Qty"}, {u"id"}}});
  addTable({u"cv", u"CUSTOMVIEW", {{u"q"}}});
  db().setting(kDBQuoteS) = Variant(u"[");
  db().setting(kDBQuoteE) = Variant(u"]");
  struct Case {
    const char16_t* source;
    const char16_t* table;
    const char16_t* field;
  };
  const Case cases[] = {
      {u"[Orders].[Qty]", u"Orders", u"Qty"},
      {u"  [Orders] . [Qty] ", u"Orders", u"Qty"},
      {u"orders.QTY", u"Orders", u"Qty"},  // the model's spelling, not the query's
      {u"dbo.Orders.Qty", u"", u""},       // a schema part: left alone
      {u"Orders", u"", u""},
      {u"Orders.Missing", u"", u""},
      {u"Nowhere.Qty", u"", u""},
      {u"\"Orders\".\"Qty\"", u"", u""},  // other quotes than the database's
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    AGPField& f = field(u"cv", u"q");
    f.properties().setting(kFldSourceName) = Variant(c.source);
    f.properties().setting(kFldSourceTable) = Variant(u"");
    f.properties().setting(kFldSourceField) = Variant(u"");
    SetCustomViewFieldSources(*agp_, f);
    EXPECT_EQ(text(f, kFldSourceTable), c.table) << toUtf8(c.source);
    EXPECT_EQ(text(f, kFldSourceField), c.field) << toUtf8(c.source);
  }
}

TEST_F(CustomViews, ChangeToViewRefusesBeforeTouchingAnything) {
  addTable({u"cv", u"CUSTOMVIEW", {{u"id"}}});
  addTable({u"orders", u"TABLE", {{u"id"}}});
  struct Case {
    const char16_t *source, *target, *message;
  };
  table(u"cv").properties().setting(kTblCustomSQL) = Variant(u"SELECT id FROM orders");
  const Case cases[] = {
      {u"", u"v", u"before"},
      {u"cv", u"", u"before"},
      {u"nothing", u"v", u"before"},
      {u"orders", u"v", u"Vantorel: source table is not a custom view!"},
  };
  for (const Case& c : cases) {
    projectContext().lastErrorText = u"before";
    EXPECT_FALSE(ChangeCustomViewToView(*agp_, c.source, c.target)) << toUtf8(c.source);
    EXPECT_EQ(projectContext().lastErrorText, c.message) << toUtf8(c.source);
  }
  table(u"cv").properties().setting(kTblCustomError) = Variant(u"bad query");
  EXPECT_FALSE(ChangeCustomViewToView(*agp_, u"cv", u"v"));
  EXPECT_EQ(projectContext().lastErrorText, u"Vantorel: custom view has error!");
  EXPECT_EQ(toString(table(u"cv").properties().setting(kTblType)), u"CUSTOMVIEW");
  EXPECT_EQ(toString(table(u"cv").properties().setting(kTblCustomSQL)), u"SELECT id FROM orders");
  agp_->UnLoadDB();
  EXPECT_FALSE(ChangeCustomViewToView(*agp_, u"cv", u"v"));
}

TEST_F(CustomViews, LoadCustomViewRefusals) {
  addTable({u"orders", u"TABLE", {{u"id"}}});
  LoadCustomView(*agp_, u"orders", u"SELECT 1", true);
  EXPECT_EQ(projectContext().lastErrorText, u"Vantorel: Table/View orders already exists!");
  agp_->UnLoadDB();
  LoadCustomView(*agp_, u"cv", u"SELECT 1", false);
  EXPECT_EQ(projectContext().lastErrorText, u"Vantorel: Database not loaded!");
}

class DefinitionCopies : public test::SchemaModelTest {};

TEST_F(DefinitionCopies, FieldFromSchemaAndFromAnotherField) {
  const Column plain{u"qty", 3, 4, u"int"};
  const Column listed{u"state", 202, 5, u"SET('a','b')", u"\"a\",\"a\"\r\n"};
  for (const bool fromField : {false, true}) {
    TearDown();
    SetUp();
    AGPTable& t = addTable({u"t", u"TABLE", {{u"f", 7, 8, u"date"}, plain, listed}});
    AGPField& target = *t.fields().item(Variant(u"f"));
    AGProperties& bag = target.properties();
    bag.setting(kFldCaption) = Variant(u"My caption");
    bag.setting(kFldTagValues) = Variant(u"kept");
    bag.setting(kFldDefault) = Variant(u"keep me");
    bag.setting(kFldGenerate) = Variant(false);

    AGSchemaField rec = test::columnRecord(plain);
    rec.FldIsPrimaryKey = true;
    rec.FldAutoIncrement = true;
    rec.FldAttribute = 16;
    rec.FldQuoteS = u"'";
    rec.FldQuoteE = u"'";
    rec.FldCaption = u"Quantity";
    rec.FldDefault = Variant(u"0");
    rec.FldTagValues = u"not a value list";
    AGPField& source = *t.fields().item(Variant(u"qty"));
    if (fromField) {
      test::setColumn(source, plain);
      CopyFieldFromSchema(source, rec, false);  // the source field now holds the record
      source.properties().setting(kFldCaption) = Variant(u"Quantity");
      CopyFieldDefinition(target, source, false);
    } else {
      CopyFieldFromSchema(target, rec, false);
    }
    const char* how = fromField ? "from field" : "from record";
    EXPECT_EQ(target.FldType(), 3) << how;
    EXPECT_EQ(toString(bag.setting(kFldTypeName)), u"int") << how;
    EXPECT_TRUE(target.FldIsPrimaryKey()) << how;
    EXPECT_TRUE(toBool(bag.setting(kFldAutoIncrement))) << how;
    EXPECT_EQ(toLong(bag.setting(kFldAttribute)), 16) << how;
    EXPECT_EQ(toLong(bag.setting(kFldSize)), 4) << how;
    EXPECT_EQ(toString(bag.setting(kFldQuoteS)), u"'") << how;
    // Not an enum or set: value list and default stay; not new: caption and switches stay.
    EXPECT_EQ(toString(bag.setting(kFldTagValues)), u"kept") << how;
    EXPECT_EQ(toString(bag.setting(kFldDefault)), u"keep me") << how;
    EXPECT_EQ(toString(bag.setting(kFldCaption)), u"My caption") << how;
    EXPECT_FALSE(toBool(bag.setting(kFldGenerate))) << how;

    // A set column brings its values and default; a new field its caption and switches.
    AGSchemaField set = test::columnRecord(listed);
    set.FldDefault = Variant(u"a");
    set.FldCaption = u"State";
    set.FldReq = true;
    if (fromField) {
      AGPField& from = *t.fields().item(Variant(u"state"));
      CopyFieldFromSchema(from, set, false);
      from.properties().setting(kFldCaption) = Variant(u"State");
      CopyFieldDefinition(target, from, true);
    } else {
      CopyFieldFromSchema(target, set, true);
    }
    EXPECT_EQ(toString(bag.setting(kFldTagValues)), u"\"a\",\"a\"\r\n") << how;
    EXPECT_EQ(toString(bag.setting(kFldDefault)), u"a") << how;
    EXPECT_EQ(toString(bag.setting(kFldCaption)), u"State") << how;
    EXPECT_TRUE(toBool(bag.setting(kFldGenerate))) << how;
    EXPECT_TRUE(toBool(bag.setting(kFldRequired))) << how;
  }
}

TEST_F(DefinitionCopies, TableFromSchemaAndFromAnotherTable) {
  AGPTable& t = addTable({u"t", u"CUSTOMVIEW", {{u"id"}}});
  AGProperties& bag = t.properties();
  bag.setting(kTblKey) = Variant(u"");
  bag.setting(kTblCaption) = Variant(u"Mine");
  AGSchemaTable rec = test::tableRecord({u"t", u"VIEW", {{u"id"}}, u"id"});
  rec.TblUpdatable = true;
  rec.TblSQL = u"SELECT id FROM x";
  rec.TblGen = true;

  InitSyncedCustomView(t, rec, false);
  EXPECT_TRUE(toBool(bag.setting(kTblUpdatable)));
  EXPECT_EQ(toString(bag.setting(kTblSQL)), u"SELECT id FROM x");
  EXPECT_EQ(toString(bag.setting(kTblKey)), u"id");  // taken only because there was none
  EXPECT_EQ(toString(bag.setting(kTblType)), u"CUSTOMVIEW");
  rec.TblKey = u"other";
  InitSyncedCustomView(t, rec, false);
  EXPECT_EQ(toString(bag.setting(kTblKey)), u"id");

  AGPTable& copy = addTable({u"copy", u"TABLE", {{u"id"}}});
  copy.properties().setting(kTblKey) = Variant(u"old");
  CopyTableDefinition(copy, t, true);
  AGProperties& to = copy.properties();
  EXPECT_EQ(toString(to.setting(kTblType)), u"CUSTOMVIEW");
  EXPECT_EQ(toString(to.setting(kTblKey)), u"id");
  EXPECT_TRUE(toBool(to.setting(kTblLoaded)));
  EXPECT_EQ(toString(to.setting(kTblSQL)), u"SELECT id FROM x");
}

}  // namespace
}  // namespace vantorel
