// Every public member of every model class, reached late-bound by name as scripts reach it, and
// the answers to bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/databases.hpp"
#include "model/model_classes.hpp"
#include "model/model_test_support.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

using test::joined;

std::vector<std::u16string> catalogNames(const SettingCatalog& catalog, std::size_t keyAfter) {
  std::vector<std::u16string> names;
  for (SettingSlot row = 0; row < catalog.size(); ++row) {
    names.emplace_back(catalog[row].name);
    if (row + 1 == keyAfter) names.emplace_back(u"Key");
  }
  return names;
}

std::vector<std::u16string> plus(std::vector<std::u16string> head,
                                 const std::vector<std::u16string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// A value of the row's type that no new object holds.
Variant sample(const SettingRecord& row) {
  switch (row.type) {
    case SettingType::Boolean:
      return Variant(true);
    case SettingType::Integer:
      return Variant(std::int16_t{-7});
    case SettingType::Long:
      return Variant(std::int32_t{70000});
    case SettingType::Double:
      return Variant(2.5);
    case SettingType::Single:
      return Variant(2.5f);
    default:
      return Variant(u"x|y");
  }
}

class MembersTest : public test::ModelTest {};

TEST_F(MembersTest, EveryMemberByNameInInterfaceOrder) {
  registerModelClasses(ClassFactory::instance());
  struct Class {
    const char16_t* name;
    std::vector<std::u16string> members;
    const SettingCatalog* catalog;
  };
  const std::vector<Class> classes = {
      {u"AGPTrend", plus({u"Properties"}, catalogNames(trendCatalog(), 1)), &trendCatalog()},
      {u"AGPTrends",
       {u"curName", u"curSeq", u"Add", u"Change", u"Count", u"Delete", u"TrendExist", u"Item",
        u"Seq", u"NewEnum_trend", u"_NewEnum"},
       nullptr},
      {u"AGPChart",
       plus({u"Properties", u"GetV", u"SetV", u"Trendlines"}, catalogNames(chartCatalog(), 1)),
       &chartCatalog()},
      {u"AGPCharts",
       {u"curName", u"curSeq", u"Add", u"Change", u"Count", u"Delete", u"ChartExist", u"Item",
        u"Seq", u"NewEnum_cht", u"_NewEnum"},
       nullptr},
      {u"AGPTable",
       plus(plus({u"Properties", u"GetV", u"SetV", u"Charts", u"Fields", u"ControlList", u"Key"},
                 catalogNames(tableCatalog(), 0)),
            {u"LoadTableDefault"}),
       &tableCatalog()},
      {u"AGPTables",
       {u"curName", u"curSeq", u"Add", u"Change", u"Count", u"Delete", u"TableExist", u"Item",
        u"Seq", u"SetItem", u"SetSeq", u"NewEnum_tbl", u"_NewEnum"},
       nullptr},
      {u"AGPDatabase",
       plus(plus({u"Properties", u"GetV", u"SetV", u"Tables", u"Key"},
                 catalogNames(databaseCatalog(), 0)),
            {u"LoadADODB", u"LoadDAODB", u"LoadADOCustomView"}),
       &databaseCatalog()},
      {u"AGPDatabases",
       {u"curName", u"curSeq", u"Add", u"Count", u"Delete", u"Item", u"NewEnum_db", u"_NewEnum"},
       nullptr},
  };
  for (const Class& c : classes) {
    SCOPED_TRACE(toUtf8(c.name));
    Ref<Object> o = ClassFactory::instance().create(u"vantorel4." + std::u16string(c.name));
    ASSERT_TRUE(o);
    std::vector<std::u16string> names;
    for (const MemberInfo& m : o->classInfo().members()) names.push_back(m.name);
    EXPECT_EQ(toUtf8(joined(names)), toUtf8(joined(c.members)));
    for (const std::u16string& name : c.members) {
      EXPECT_NE(o->memberId(name), kDispIdUnknown) << toUtf8(name);
    }
    if (!c.catalog) continue;
    // Each row: a typed round trip through its property, and the same value through the bag.
    auto& bag = *static_cast<AGProperties*>(o->get(u"Properties").objectValue());
    for (SettingSlot row = 0; row < c.catalog->size(); ++row) {
      const SettingRecord& r = (*c.catalog)[row];
      SCOPED_TRACE(toUtf8(r.name));
      const Variant v = sample(r);
      const std::int32_t id = o->memberId(r.name);
      const MemberInfo* m = o->classInfo().member(id);
      const bool readOnly = !m->let && !m->slotLet;
      if (readOnly) {
        EXPECT_THROW(o->let(r.name, v), AutomationError);
        bag.setting(row) = v;
      } else {
        o->let(r.name, v);
      }
      const Variant back = o->get(r.name);
      EXPECT_EQ(back.type(), v.type());
      EXPECT_EQ(toString(back), toString(v));
      EXPECT_EQ(toString(*bag.findValue(r.name)), toString(v));
    }
  }
}

TEST_F(MembersTest, GetVAndSetVConvertByTheRowAndDeclareUnknownNames) {
  struct Class {
    Ref<Object> object;
    const char16_t* number;  // a numeric row
    const char16_t* flag;    // a Boolean row
  };
  const std::vector<Class> classes = {
      {Ref<Object>(makeRef<AGPDatabase>()), u"MaxUploadSize", u"UseDynamicUserLevel"},
      {Ref<Object>(makeRef<AGPTable>()), u"TblRecPerPage", u"TblList"},
      {Ref<Object>(makeRef<AGPChart>()), u"ChartWidth", u"ShowChart"},
  };
  for (const Class& c : classes) {
    Object& o = *c.object;
    SCOPED_TRACE(toUtf8(o.classInfo().name()));
    auto& bag = *static_cast<AGProperties*>(o.get(u"Properties").objectValue());
    auto getV = [&](const std::u16string& name) {
      return toString(o.call(u"GetV", {Variant(name)}));
    };
    auto setV = [&](const std::u16string& name, const std::u16string& value) {
      EXPECT_TRUE(o.call(u"SetV", {Variant(name), Variant(value)}).isEmpty());
    };
    setV(c.number, u"25");
    EXPECT_EQ(toString(o.get(c.number)), u"25");
    EXPECT_EQ(getV(toLower(c.number)), u"25");
    setV(c.number, u"abc");
    EXPECT_TRUE(bag.findValue(c.number)->isEmpty());
    EXPECT_EQ(toString(o.get(c.number)), u"0");
    setV(c.flag, u"True");
    EXPECT_EQ(getV(c.flag), u"True");
    o.let(c.flag, Variant(false));
    EXPECT_EQ(getV(c.flag), u"False");
    // An unknown name becomes a saved, synchronised String row holding "", then an ordinary one.
    const std::int32_t rows = bag.count();
    EXPECT_EQ(getV(u"Extra"), u"");
    EXPECT_EQ(getV(u"EXTRA"), u"");
    ASSERT_EQ(bag.count(), rows + 1);
    const SettingRecord& extra = bag.record(*bag.slotOf(u"Extra"));
    EXPECT_EQ(toUtf8(extra.dataType + (extra.fileSave ? u"+file" : u"") +
                     (extra.sync ? u"+sync" : u"") + (extra.regSave ? u"+reg" : u"")),
              "String+file+sync");
    EXPECT_EQ(bag.findValue(u"Extra")->type(), VarType::String);
    setV(u"Other", u" 2048 ");
    EXPECT_EQ(bag.findValue(u"Other")->type(), VarType::String);
    EXPECT_EQ(toString(*bag.findValue(u"Other")), u" 2048 ");
  }
}

TEST_F(MembersTest, BadInputGivesAClearErrorAndChangesNothing) {
  auto dbs = makeRef<AGPDatabases>();
  ASSERT_TRUE(dbs->add(u"Main"));
  Ref<AGPDatabase> db = dbs->item(Variant(u"Main"));
  AGPTables& tables = db->tables();
  ASSERT_TRUE(tables.add(u"Orders"));
  AGPTable& t = tables.at(0);
  ASSERT_TRUE(t.charts().add(u"Orders", u"Sales"));
  t.let(u"TblRecPerPage", Variant(std::int16_t{20}));
  struct Case {
    const char* what;
    std::function<void()> call;
    std::int32_t error;
  };
  const std::vector<Case> cases = {
      {"unknown member", [&] { t.get(u"TblNope"); }, 438},
      {"text into an Integer row", [&] { t.let(u"TblRecPerPage", Variant(u"abc")); }, 13},
      {"Integer overflow", [&] { t.let(u"TblRecPerPage", Variant(std::int32_t{70000})); }, 6},
      {"Seq out of Integer range", [&] { tables.call(u"Seq", {Variant(std::int32_t{70000})}); }, 6},
      {"missing argument", [&] { tables.call(u"Change", {Variant(u"Orders")}); }, 450},
      {"Null as a name", [&] { tables.call(u"Add", {Variant::null()}); }, 94},
      {"key already held",
       [&] {
         t.charts().at(0).trendlines().add(u"A");
         t.charts().at(0).trendlines().add(u"B");
         t.charts().at(0).trendlines().change(u"A", u"b");
       },
       457},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "no error";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.error);
    }
    EXPECT_EQ(tables.count(), 1);
    EXPECT_EQ(t.tblName(), u"Orders");
    EXPECT_EQ(toLong(t.get(u"TblRecPerPage")), 20);
    EXPECT_EQ(t.charts().count(), 1);
  }
  // Lookups that find nothing answer Nothing or False, never an error.
  const std::vector<Variant> indexes = {
      Variant(),     Variant::null(),  Variant(std::int32_t{0}), Variant(std::int32_t{2}),
      Variant(-1.0), Variant(u"nope"), Variant::nothing(),       Variant(u"")};
  for (const Variant& index : indexes) {
    EXPECT_TRUE(tables.call(u"Item", {index}).isNothing());
    EXPECT_TRUE(t.charts().call(u"Item", {index}).isNothing());
    EXPECT_FALSE(toBool(tables.call(u"TableExist", {index})));
    EXPECT_FALSE(toBool(t.charts().call(u"Delete", {Variant(u"Orders"), index})));
  }
  EXPECT_EQ(tables.curName(), u"Orders");
  // Names of any length are names.
  const std::u16string longName(70000, u'n');
  EXPECT_TRUE(tables.change(u"Orders", longName));
  EXPECT_EQ(t.tblName(), longName);
  EXPECT_TRUE(tables.change(longName, u"Orders"));
  EXPECT_EQ(toString(t.get(u"TblVar")), u"Orders");
}

}  // namespace
}  // namespace vantorel
