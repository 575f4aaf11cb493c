// New objects take their RegSave settings from the current user's registry store, converted by
// the row's type; rows without RegSave ignore the store.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "model/databases.hpp"
#include "model/model_test_support.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

Ref<Object> newTrend() {
  auto charts = makeRef<AGPCharts>();
  charts->add(u"t", u"c");
  charts->at(0).trendlines().add(u"T1");
  return Ref<Object>(&charts->at(0).trendlines().at(0));
}
Ref<Object> newChart() {
  auto charts = makeRef<AGPCharts>();
  charts->add(u"t", u"c");
  return Ref<Object>(&charts->at(0));
}
Ref<Object> newTable() {
  auto tables = makeRef<AGPTables>();
  tables->add(u"t");
  return Ref<Object>(&tables->at(0));
}

TEST(DefaultsTest, RegSaveRowsReadTheUsersKeyByType) {
  struct Case {
    std::u16string ProjectContext::*key;
    std::function<Ref<Object>()> make;
    const char16_t* name;
    std::int32_t regType;  // 0: no value stored
    Variant stored;
    VarType type;
    const char16_t* expected;
  };
  const std::vector<Case> cases = {
      {&ProjectContext::tableKey, newTable, u"TblRecPerPage", 4, Variant(20), VarType::Integer,
       u"20"},
      {&ProjectContext::tableKey, newTable, u"TblRecPerPage", 1, Variant(u"20"), VarType::Integer,
       u"20"},
      {&ProjectContext::tableKey, newTable, u"TblRecPerPage", 0, Variant(), VarType::Integer, u"0"},
      {&ProjectContext::tableKey, newTable, u"TblExportCsv", 1, Variant(u"True"), VarType::Boolean,
       u"True"},
      {&ProjectContext::tableKey, newTable, u"TblExportType", 1, Variant(u"csv"), VarType::String,
       u"csv"},
      {&ProjectContext::tableKey, newTable, u"TblGen", 1, Variant(u"True"), VarType::Boolean,
       u"False"},
      {&ProjectContext::chartKey, newChart, u"ChartWidth", 1, Variant(u"wide"), VarType::Integer,
       u"0"},
      {&ProjectContext::chartKey, newChart, u"ChartYAxisMaxValue", 4, Variant(70000), VarType::Long,
       u"70000"},
      {&ProjectContext::chartKey, newChart, u"ShowChart", 1, Variant(u"True"), VarType::Boolean,
       u"True"},
      {&ProjectContext::chartKey, newChart, u"ChartCaption", 1, Variant(u"x"), VarType::String,
       u"c"},
      {&ProjectContext::trendlineKey, newTrend, u"TrendStartValue", 1, Variant(u"2.5"),
       VarType::Double, u"2.5"},
      {&ProjectContext::trendlineKey, newTrend, u"TrendAlpha", 4, Variant(40), VarType::Integer,
       u"40"},
      {&ProjectContext::trendlineKey, newTrend, u"TrendShow", 1, Variant(u"True"), VarType::Boolean,
       u"False"},
      {&ProjectContext::databaseKey, [] { return Ref<Object>(makeRef<AGPDatabase>()); },
       u"MaxUploadSize", 4, Variant(2048), VarType::Long, u"2048"},
      {&ProjectContext::databaseKey, [] { return Ref<Object>(makeRef<AGPDatabase>()); },
       u"MaxUploadSize", 0, Variant(), VarType::Long, u"0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.name) + " " + std::to_string(c.regType));
    test::clearUserKey(projectContext().*c.key);
    if (c.regType != 0) {
      SetRegValue(Variant(u"HKCU"), Variant(projectContext().*c.key), Variant(c.name), c.regType,
                  c.stored);
    }
    const Variant v = c.make()->get(c.name);
    EXPECT_EQ(v.type(), c.type);
    EXPECT_EQ(toString(v), c.expected);
    test::clearUserKey(projectContext().*c.key);
  }
}

}  // namespace
}  // namespace vantorel
