// The snapshot's records as scripts read them through AGPSchema.Tbl.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "schema_check/schema_model.hpp"

namespace vantorel {
namespace {

// Raises the error of that number.
auto raises(std::int32_t number) {
  return testing::Throws<AutomationError>(testing::Property(&AutomationError::number, number));
}

TEST(SnapshotRecords, TblHandsScriptsACopyOfTheRecord) {
  const Ref<AGPSchema> snapshot = makeRef<AGPSchema>();
  const auto tbl = [&](std::int16_t i) { return snapshot->call(u"Tbl", {Variant(i)}); };
  // Nothing is filled before a load.
  EXPECT_THAT([&] { tbl(0); }, raises(9));
  test::addRecord(*snapshot,
                  test::tableRecord(
                      {u"Orders", u"TABLE", {{u"id"}, {u"customer", 202, 40, u"varchar"}}, u"id"}));
  EXPECT_EQ(toLong(snapshot->get(u"tblcnt")), 1);
  EXPECT_THAT([&] { tbl(2); }, raises(9));
  const Variant held = tbl(1);
  Object& table = *held.objectValue();
  struct Case {
    const char16_t* member;
    const char16_t* value;
  };
  for (const Case& c :
       {Case{u"TblName", u"Orders"}, Case{u"TblType", u"TABLE"}, Case{u"TblKey", u"id"},
        Case{u"TblFldCnt", u"2"}, Case{u"TblGen", u"True"}}) {
    EXPECT_EQ(toString(table.get(c.member)), c.value) << toUtf8(c.member);
  }
  const Variant heldField = table.call(u"Fld", {Variant(std::int16_t{2})});
  Object& field = *heldField.objectValue();
  for (const Case& c :
       {Case{u"FldName", u"customer"}, Case{u"FldType", u"202"}, Case{u"FldSize", u"40"},
        Case{u"FldTypeName", u"varchar"}, Case{u"FldSupport", u"True"}}) {
    EXPECT_EQ(toString(field.get(c.member)), c.value) << toUtf8(c.member);
  }
  EXPECT_THAT([&] { table.call(u"Fld", {Variant(std::int16_t{3})}); }, raises(9));
  // A copy: the snapshot changing later does not change what a script holds.
  snapshot->database().Tables.Tbl[1].TblName = u"Sales";
  EXPECT_EQ(toString(table.get(u"TblName")), u"Orders");
}

}  // namespace
}  // namespace vantorel
