// The difference check's counts, on a model and snapshots made by hand.
#include <gtest/gtest.h>

#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "schema/difference_check.hpp"
#include "schema_check/schema_model.hpp"

namespace vantorel {
namespace {

using test::Column;
using test::TableShape;

const Column kId{u"id"};
const Column kCustomer{u"customer", 202, 50, u"varchar"};
const Column kPlaced{u"placed", 135, 16, u"datetime"};
const Column kStatus{u"status", 202, 8, u"enum('new','paid')", u"\"new\",\"new\"\r\n"};
const TableShape kOrders{u"orders", u"TABLE", {kId, kCustomer, kPlaced, kStatus}, u"id"};
const TableShape kCustomers{u"customers", u"TABLE", {kId, {u"name", 202, 40}}, u"id"};
const TableShape kOrderView{u"order_view", u"VIEW", {kId, kCustomer}, u""};

TableShape with(TableShape t, const std::function<void(TableShape&)>& change) {
  change(t);
  return t;
}

struct CountCase {
  const char* what;
  std::vector<TableShape> model;
  std::vector<TableShape> live;
  std::int16_t expected;
};

class DifferenceCheck : public test::SchemaModelTest {
 protected:
  std::int16_t check(const std::vector<TableShape>& model, const std::vector<TableShape>& live) {
    for (const TableShape& t : model) addTable(t);
    const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
    for (const TableShape& t : live) test::addRecord(*snapshot, test::tableRecord(t));
    return tablesViews(*snapshot);
  }
  // The pass's count, or -1 with the refusal in the notes.
  std::int16_t tablesViews(const AGPSchema& snapshot) {
    notes_ = CheckNotes();
    Expected<std::int16_t> count = CheckTablesViews(*agp_, snapshot, notes_);
    if (count) return *count;
    notes_.say(count.failure().text);
    return -1;
  }
  CheckNotes notes_;
};

TEST_F(DifferenceCheck, CountsEachKindOfChange) {
  const Column kNote{u"note", 203, 1000, u"text"};
  const std::vector<CountCase> cases = {
      {"unchanged", {kOrders, kCustomers, kOrderView}, {kOrders, kCustomers, kOrderView}, 0},
      {"new column: new, unmatched and changed table",
       {kOrders},
       {with(kOrders, [&](TableShape& t) { t.columns.push_back(kNote); })},
       3},
      {"removed column: the changed table only",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns.pop_back(); })},
       1},
      {"size change: changed field and table",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns[1].size = 60; })},
       2},
      {"required flag changed",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns[2].required = true; })},
       2},
      {"type name alone is not compared",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns[2].typeName = u"timestamp"; })},
       0},
      {"key gained a column",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.key = u"customer\r\nid"; })},
       1},
      {"key order alone is no change",
       {with(kOrders, [](TableShape& t) { t.key = u"b\r\na"; })},
       {with(kOrders, [](TableShape& t) { t.key = u"a\r\nb"; })},
       0},
      {"a view's key is not compared",
       {kOrderView},
       {with(kOrderView, [](TableShape& t) { t.key = u"id"; })},
       0},
      {"new table of five columns",
       {kOrders},
       {kOrders, {u"items", u"TABLE", {kId, kCustomer, kPlaced, kStatus, kNote}, u"id"}},
       6},
      {"dropped table of four fields", {kOrders, kCustomers}, {kCustomers}, 5},
      {"enum values changed",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns[3].tags += u"\"paid\",\"paid\"\r\n"; })},
       2},
      {"value lists of other types are not compared",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns[1].tags = u"x"; })},
       0},
      {"column name differing only in case: one changed table",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns[1].name = u"Customer"; })},
       1},
      {"column renamed in case and resized: a changed field in a changed table",
       {kOrders},
       {with(kOrders,
             [](TableShape& t) {
               t.columns[1].name = u"Customer";
               t.columns[1].size = 60;
             })},
       2},
      {"table name differing only in case: one change, not a new and a removed table",
       {kCustomers},
       {with(kCustomers, [](TableShape& t) { t.name = u"Customers"; })},
       1},
      {"a table and a view whose names differ only in case do not pair",
       {kCustomers},
       {with(kCustomers,
             [](TableShape& t) {
               t.name = u"Customers";
               t.type = u"VIEW";
             })},
       6},
      {"a table that became a view",
       {kCustomers},
       {with(kCustomers, [](TableShape& t) { t.type = u"VIEW"; })},
       6},
  };
  for (const CountCase& c : cases) {
    TearDown();
    SetUp();
    EXPECT_EQ(check(c.model, c.live), c.expected) << c.what;
  }
}

TEST_F(DifferenceCheck, UnloadedTableCountsNothingAndTakesTheSchema) {
  AGPTable& stored = addTable(kOrders, false);
  stored.properties().setting(kTblSchema) = Variant(u"old");
  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  test::addRecord(*snapshot, test::tableRecord(with(kOrders, [](TableShape& t) {
    t.columns.pop_back();
    t.key = u"customer";
  })));
  EXPECT_EQ(tablesViews(*snapshot), 0);
  EXPECT_EQ(toString(stored.properties().setting(kTblSchema)), u"main");
}

TEST_F(DifferenceCheck, UnreadColumnsCountOneChangedTableAtMost) {
  addTable(kOrders);
  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  AGSchemaTable rec = test::tableRecord(kOrders);
  rec.TblFldCnt = 0;
  rec.TblFields.fld.resize(1);
  rec.TblKey.clear();
  rec.TblReadError = u"permission denied for table orders";
  test::addRecord(*snapshot, rec);
  test::addRecord(*snapshot, test::tableRecord(kCustomers));
  addTable(kCustomers);
  EXPECT_EQ(tablesViews(*snapshot), 1);
  EXPECT_NE(notes_.text().find(u"permission denied"), std::u16string::npos);
  // The stored fields are all there.
  EXPECT_EQ(table(u"orders").fields().count(), 4);
}

TEST_F(DifferenceCheck, TablesReadInPartCountTheirColumnsOnly) {
  // Columns read, indexes not: the key is unknown and is not compared.
  const std::vector<CountCase> cases = {
      {"same columns", {kOrders}, {with(kOrders, [](TableShape& t) { t.key.clear(); })}, 0},
      {"a column more",
       {kOrders},
       {with(kOrders, [](TableShape& t) { t.columns.push_back({u"note"}); })},
       1},
      {"two columns changed",
       {kOrders},
       {with(kOrders,
             [](TableShape& t) {
               t.columns[0].size = 8;
               t.columns[1].size = 8;
             })},
       1},
  };
  for (const CountCase& c : cases) {
    TearDown();
    SetUp();
    for (const TableShape& t : c.model) addTable(t);
    const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
    AGSchemaTable rec = test::tableRecord(c.live[0]);
    rec.TblReadError = u"The indexes could not be read";
    test::addRecord(*snapshot, rec);
    EXPECT_EQ(tablesViews(*snapshot), c.expected) << c.what;
  }
}

TEST_F(DifferenceCheck, PartialOrEmptySnapshotsAreRefused) {
  struct Partial {
    const char* what;
    std::function<void(AGSchemaDB&)> make;
    const char16_t* message;
  };
  const std::vector<Partial> cases = {
      {"nothing listed", [](AGSchemaDB&) {}, u"holds no table or view"},
      {"only a custom view listed",
       [](AGSchemaDB& db) {
         db.Tables.Tbl.push_back(test::tableRecord({u"cv", u"CUSTOMVIEW", {kId}}));
         db.DBTblCnt = 1;
       },
       u"holds no table or view"},
      {"table list unread",
       [](AGSchemaDB& db) {
         db.Tables.Tbl.push_back(test::tableRecord(kCustomers));
         db.DBTblCnt = 1;
         db.tableListError = u"catalogue locked";
       },
       u"catalogue locked"},
      {"view list unread",
       [](AGSchemaDB& db) {
         db.Tables.Tbl.push_back(test::tableRecord(kCustomers));
         db.DBTblCnt = 1;
         db.viewListError = u"no views for you";
       },
       u"no views for you"},
  };
  for (const Partial& c : cases) {
    TearDown();
    SetUp();
    addTable(kOrders).properties().setting(kTblSchema) = Variant(u"kept");
    const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
    c.make(snapshot->database());
    EXPECT_EQ(tablesViews(*snapshot), -1) << c.what;
    EXPECT_NE(notes_.text().find(c.message), std::u16string::npos)
        << c.what << ": " << toUtf8(notes_.text());
    EXPECT_EQ(toString(table(u"orders").properties().setting(kTblSchema)), u"kept") << c.what;
  }
}

TEST_F(DifferenceCheck, EmptyDatabaseAndEmptyModelAgree) {
  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  EXPECT_EQ(tablesViews(*snapshot), 0);
  addTable({u"cv", u"CUSTOMVIEW", {kId}});
  EXPECT_EQ(tablesViews(*snapshot), 0);
}

TEST_F(DifferenceCheck, CheckDBWithoutDatabaseIsZeroAndSilent) {
  agp_->UnLoadDB();
  projectContext().lastErrorText = u"earlier";
  EXPECT_EQ(CheckDB(*agp_), 0);
  EXPECT_EQ(projectContext().lastErrorText, u"earlier");
  EXPECT_FALSE(agp_->schemaSnapshot());
}

TEST_F(DifferenceCheck, CustomViewColumnsCountNewOnesTwice) {
  const TableShape view{u"cv", u"CUSTOMVIEW", {kId, kCustomer, kPlaced}};
  const std::vector<CountCase> cases = {
      {"same columns", {}, {view}, 0},
      {"one extra column",
       {},
       {with(view, [](TableShape& t) { t.columns.push_back(kStatus); })},
       2},
      {"one column fewer", {}, {with(view, [](TableShape& t) { t.columns.pop_back(); })}, 0},
      {"one column changed", {}, {with(view, [](TableShape& t) { t.columns[0].type = 20; })}, 1},
      {"one column renamed in letter case only",
       {},
       {with(view, [](TableShape& t) { t.columns[1].name = u"Customer"; })},
       1},
  };
  for (const CountCase& c : cases) {
    TearDown();
    SetUp();
    AGPTable& stored = addTable(view);
    EXPECT_EQ(CompareCustomViewColumns(test::tableRecord(c.live[0]), stored), c.expected) << c.what;
  }
}

TEST_F(DifferenceCheck, ReportsCompareWithTheirSource) {
  addTable(kOrders);
  AGPTable& report = addTable({u"rpt", u"REPORT", {kId, kCustomer, kPlaced, kStatus}});
  report.properties().setting(kTblRptSrc) = Variant(u"orders");
  EXPECT_EQ(CheckReport(*agp_, u"rpt", notes_), 0);

  test::setColumn(*report.fields().item(Variant(u"placed")), {u"placed", 7, 8});
  EXPECT_EQ(CheckReport(*agp_, u"rpt", notes_), 1);
  report.fields().remove(u"rpt", Variant(u"placed"));
  EXPECT_EQ(CheckReport(*agp_, u"rpt", notes_), 2);
  EXPECT_EQ(CheckReports(*agp_, notes_), 2);
  EXPECT_EQ(toString(report.properties().setting(kTblCustomError)), u"");
  // A report field whose source column was renamed in letter case only: one change more.
  ASSERT_TRUE(report.fields().change(u"rpt", u"customer", u"CUSTOMER"));
  EXPECT_EQ(CheckReport(*agp_, u"rpt", notes_), 3);

  // The source is matched exactly: another letter case is no source.
  report.properties().setting(kTblRptSrc) = Variant(u"Orders");
  EXPECT_EQ(CheckReport(*agp_, u"rpt", notes_), 0);
  EXPECT_EQ(notes_.text(), u"Vantorel: Source Table not found");
  EXPECT_EQ(toString(report.properties().setting(kTblCustomError)),
            u"Vantorel: Source Table not found");
}

TEST_F(DifferenceCheck, ReportFieldsAreFoundByName) {
  struct ReportCase {
    const char* what;
    std::vector<Column> fields;
    std::int16_t expected;
  };
  const std::vector<ReportCase> cases = {
      {"same fields", kOrders.columns, 0},
      {"a field of the report's own", {kId, kCustomer, kPlaced, kStatus, {u"note", 203, 1000}}, 0},
      {"another letter case is one change",
       {kId, kCustomer, {u"Placed", 135, 16, u"datetime"}, kStatus},
       1},
      {"one changed, one missing", {kId, {u"customer", 202, 60, u"varchar"}, kStatus}, 3},
  };
  for (const ReportCase& c : cases) {
    TearDown();
    SetUp();
    addTable(kOrders);
    AGPTable& report = addTable({u"rpt", u"REPORT", c.fields});
    report.properties().setting(kTblRptSrc) = Variant(u"orders");
    EXPECT_EQ(CheckReport(*agp_, u"rpt", notes_), c.expected) << c.what;
  }
}

TEST_F(DifferenceCheck, FieldMatchRules) {
  addTable(kOrders);
  AGPField& status = *table(u"orders").fields().item(Variant(u"status"));
  AGSchemaField rec = test::columnRecord(kStatus);
  EXPECT_TRUE(FieldMatchesSchema(rec, status));
  // The type name of the stored field decides whether the value lists count, in any case.
  status.properties().setting(kFldTypeName) = Variant(u"ENUM('new')");
  rec.FldTagValues = u"other";
  EXPECT_FALSE(FieldMatchesSchema(rec, status));
  status.properties().setting(kFldTypeName) = Variant(u"Set('new')");
  EXPECT_FALSE(FieldMatchesSchema(rec, status));
  status.properties().setting(kFldTypeName) = Variant(u"varchar");
  EXPECT_TRUE(FieldMatchesSchema(rec, status));
  for (auto change : std::vector<std::function<void(AGSchemaField&)>>{
           [](AGSchemaField& f) { f.FldUniqueIdx = true; },
           [](AGSchemaField& f) { f.FldZeroLen = true; },
           [](AGSchemaField& f) { f.FldAutoIncrement = true; },
           [](AGSchemaField& f) { f.FldAttribute = 4; },
           [](AGSchemaField& f) { f.FldType = 200; }}) {
    AGSchemaField changed = test::columnRecord(kStatus);
    change(changed);
    EXPECT_FALSE(FieldMatchesSchema(changed, status));
  }
  // A stored value that is no number reads as 0, a difference rather than a failure.
  status.properties().setting(kFldSize) = Variant(u"wide");
  EXPECT_FALSE(FieldMatchesSchema(test::columnRecord(kStatus), status));
}

TEST_F(DifferenceCheck, FieldTypeNamesEmptyOnlyWhereNamesAreNeeded) {
  addTable(kOrders);
  AGProperties& db = agp_->DB()->properties();
  table(u"orders").fields().item(Variant(u"id"))->properties().setting(kFldTypeName) = Variant(u"");
  struct Case {
    const char16_t* dbms;
    const char16_t* connStr;
    bool expected;
  };
  for (const Case& c : {Case{u"Microsoft SQL Server", u"", true},
                        Case{u"PostgreSQL", u"Driver=x", true}, Case{u"PostgreSQL", u"", false},
                        Case{u"MySQL", u"Driver=x", false}, Case{u"ACCESS", u"", false}}) {
    db.setting(kDBDBMSName) = Variant(c.dbms);
    db.setting(kDBConnstr) = Variant(c.connStr);
    EXPECT_EQ(FieldTypeNamesEmpty(*agp_), c.expected) << toUtf8(c.dbms);
  }
  db.setting(kDBDBMSName) = Variant(u"Microsoft SQL Server");
  table(u"orders").fields().item(Variant(u"id"))->properties().setting(kFldSupport) =
      Variant(false);
  EXPECT_FALSE(FieldTypeNamesEmpty(*agp_));
}

}  // namespace
}  // namespace vantorel
