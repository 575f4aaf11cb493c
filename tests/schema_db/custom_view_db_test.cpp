// Custom views against live databases: their check, and turning one into a view.
#include <gtest/gtest.h>

#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "model/database.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/text/unicode.hpp"
#include "schema/custom_views.hpp"
#include "schema/difference_check.hpp"
#include "schema_db/schema_db.hpp"

namespace vantorel::test {
namespace {

class CustomViewDb : public SchemaDbTest {
 protected:
  AGPTable* table(AGP& p, const std::u16string& name) { return p.DB()->tables().find(name); }
  std::u16string setting(AGPTable& t, TableSetting s) {
    return toString(t.properties().setting(s));
  }
};

TEST_F(CustomViewDb, QueryChangesCount) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    CheckNotes notes;
    LoadCustomView(*p, u"cv", u"SELECT * FROM notes", true);
    ASSERT_EQ(toUtf8(err()), "");
    ASSERT_EQ(table(*p, u"cv")->fields().count(), 2);
    EXPECT_EQ(CheckCustomView(*p, u"cv", notes), 0) << toUtf8(notes.text());
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());

    run(cs, {u"ALTER TABLE notes ADD COLUMN extra INTEGER"});
    EXPECT_EQ(CheckCustomView(*p, u"cv", notes), 2) << toUtf8(notes.text());
    EXPECT_EQ(setting(*table(*p, u"cv"), kTblCustomError), u"");
    run(cs, {u"ALTER TABLE notes DROP COLUMN extra", u"ALTER TABLE notes DROP COLUMN body"});
    EXPECT_EQ(CheckCustomView(*p, u"cv", notes), 0) << toUtf8(notes.text());
    EXPECT_EQ(table(*p, u"cv")->fields().count(), 2);

    run(cs, {u"DROP TABLE notes"});
    EXPECT_EQ(CheckCustomView(*p, u"cv", notes), 0);
    EXPECT_NE(setting(*table(*p, u"cv"), kTblCustomError), u"");
    EXPECT_EQ(notes.text(), setting(*table(*p, u"cv"), kTblCustomError));
    EXPECT_EQ(table(*p, u"cv")->fields().count(), 2);
  }
}

TEST_F(CustomViewDb, SourcesTakeTheModelsSpelling) {
  const std::u16string cs = freshShop(Dbms::Sqlite);
  const Ref<AGP> p = loadProject(cs);
  table(*p, u"customers")->fields().find(u"name")->properties().setting(kFldCaption) =
      Variant(u"Customer name");
  LoadCustomView(*p, u"cv", u"SELECT CUSTOMERS.NAME AS who, Customers.Id FROM Customers", true);
  ASSERT_EQ(toUtf8(err()), "");
  AGPField& who = *table(*p, u"cv")->fields().find(u"who");
  EXPECT_EQ(toString(who.properties().setting(kFldSourceTable)), u"customers");
  EXPECT_EQ(toString(who.properties().setting(kFldSourceField)), u"name");
  // Found by the model's names, the source field gave its settings.
  EXPECT_EQ(toString(who.properties().setting(kFldCaption)), u"Customer name");
}

TEST_F(CustomViewDb, QueryWithoutColumnsIsRefused) {
  // PostgreSQL accepts a select list that is empty.
  const std::u16string cs = freshShop(Dbms::Postgres);
  const Ref<AGP> p = loadProject(cs);
  LoadCustomView(*p, u"cv", u"SELECT FROM customers", false);
  EXPECT_NE(err().find(u"returns no columns"), std::u16string::npos) << toUtf8(err());
  EXPECT_EQ(table(*p, u"cv"), nullptr);
}

TEST_F(CustomViewDb, ChangeToView) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    LoadCustomView(*p, u"cv", u"SELECT name, id FROM customers", false);
    ASSERT_EQ(toUtf8(err()), "");
    AGPTable* report = nullptr;
    ASSERT_TRUE(p->LoadReport(u"rpt", u"orders"));
    report = table(*p, u"rpt");
    report->properties().setting(kTblRptSrc) = Variant(u"cv");
    run(cs, {u"CREATE VIEW v_short AS SELECT id FROM customers",
             u"CREATE VIEW v_customers AS SELECT id, name FROM customers"});

    projectContext().lastErrorText = u"kept";
    EXPECT_FALSE(ChangeCustomViewToView(*p, u"cv", u"v_short"));
    EXPECT_EQ(err(), u"Vantorel: fields mismatched!");
    EXPECT_FALSE(ChangeCustomViewToView(*p, u"cv", u"v_missing"));
    EXPECT_EQ(err(), u"Vantorel: load view failed!");
    AGPTable& cv = *table(*p, u"cv");
    EXPECT_EQ(setting(cv, kTblType), u"CUSTOMVIEW");

    projectContext().lastErrorText = u"kept";
    ASSERT_TRUE(ChangeCustomViewToView(*p, u"cv", u"v_customers"));
    EXPECT_EQ(err(), u"kept");
    EXPECT_EQ(table(*p, u"cv"), nullptr);
    AGPTable& view = *table(*p, u"v_customers");
    EXPECT_EQ(setting(view, kTblType), u"VIEW");
    EXPECT_EQ(setting(view, kTblCustomSQL), u"");
    EXPECT_EQ(setting(view, kTblRptSrc), u"v_customers");
    EXPECT_EQ(setting(*report, kTblRptSrc), u"v_customers");
    AGPField& name = *view.fields().find(u"name");
    EXPECT_EQ(toString(name.properties().setting(kFldSourceName)), u"");
    EXPECT_FALSE(toBool(name.properties().setting(kFldAlias)));
    // An ordinary view now, it checks like one.
    p->DB()->tables().remove(u"rpt");
    run(cs, {u"DROP VIEW v_short"});
    EXPECT_EQ(CheckDB(*p), 0) << toUtf8(err());
  }
}

// The database a connection string opens, as the server names it.
std::u16string databaseOf(const std::u16string& cs) {
  return data::Connection(cs).properties().currentCatalog;
}

TEST_F(CustomViewDb, QualifiedSourceIsTheModelsTableOnlyInItsOwnSchema) {
  for (const Dbms server : {Dbms::Postgres, Dbms::MariaDb}) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    const Ref<AGP> p = loadProject(cs);
    table(*p, u"orders")->fields().find(u"total")->properties().setting(kFldCaption) =
        Variant(u"Order total");
    // A table of the same bare name beside the model's: another schema, another database.
    std::u16string own = u"public";
    std::u16string foreign = u"other";
    if (server == Dbms::Postgres) {
      run(cs, {u"CREATE SCHEMA other", u"CREATE TABLE other.orders (id INTEGER, total INTEGER)"});
    } else {
      const std::u16string other = freshDatabase(databases(), server);
      run(other, {u"CREATE TABLE orders (id INTEGER, total INTEGER)"});
      own = databaseOf(cs);
      foreign = databaseOf(other);
    }
    struct Case {
      std::u16string query;
      std::u16string sourceName, sourceTable, caption;
    };
    const Case cases[] = {
        {u"SELECT o.total FROM " + foreign + u".orders o", foreign + u".orders.total", u"", u""},
        {u"SELECT total FROM " + foreign + u".orders", foreign + u".orders.total", u"", u""},
        {u"SELECT o.total FROM " + own + u".orders o", own + u".orders.total", u"orders",
         u"Order total"},
        {u"SELECT total FROM orders", u"orders.total", u"orders", u"Order total"},
    };
    int n = 0;
    for (const Case& c : cases) {
      SCOPED_TRACE(toUtf8(c.query));
      const std::u16string name = u"cv" + fromUtf8(std::to_string(++n));
      LoadCustomView(*p, name, c.query, true);
      ASSERT_EQ(toUtf8(err()), "");
      AGProperties& bag = table(*p, name)->fields().find(u"total")->properties();
      EXPECT_EQ(toString(bag.setting(kFldSourceName)), c.sourceName);
      EXPECT_EQ(toString(bag.setting(kFldSourceTable)), c.sourceTable);
      EXPECT_EQ(toString(bag.setting(kFldSourceField)), c.sourceTable.empty() ? u"" : u"total");
      EXPECT_EQ(toString(bag.setting(kFldCaption)) == u"Order total", !c.caption.empty());
    }
  }
}

TEST_F(CustomViewDb, ChangeToViewAlreadyInTheModelIsRefused) {
  for (const Dbms server : kAllDbms) {
    SCOPED_TRACE(dbmsName(server));
    const std::u16string cs = freshShop(server);
    run(cs, {u"CREATE VIEW v_customers AS SELECT id, name FROM customers"});
    const Ref<AGP> p = loadProject(cs);
    LoadCustomView(*p, u"cv", u"SELECT id, name FROM customers", false);
    ASSERT_EQ(toUtf8(err()), "");
    const std::int32_t count = p->DB()->tables().count();

    EXPECT_FALSE(ChangeCustomViewToView(*p, u"cv", u"v_customers"));
    EXPECT_EQ(err(), u"Vantorel: Table/View v_customers already exists!");
    EXPECT_EQ(p->DB()->tables().count(), count);
    AGPTable& cv = *table(*p, u"cv");
    EXPECT_EQ(setting(cv, kTblType), u"CUSTOMVIEW");
    EXPECT_EQ(setting(cv, kTblCustomSQL), u"SELECT id, name FROM customers");
    EXPECT_EQ(toString(cv.fields().find(u"name")->properties().setting(kFldSourceTable)),
              u"customers");
    EXPECT_EQ(setting(*table(*p, u"v_customers"), kTblType), u"VIEW");
  }
}

}  // namespace
}  // namespace vantorel::test
