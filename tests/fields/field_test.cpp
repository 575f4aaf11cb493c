#include "fields/field.hpp"
#include "foundation/project_context.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fields/field_classes.hpp"
#include "fields/field_settings.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

const char16_t* const kRegistryRows[] = {u"FldTagAPrefix",
                                         u"FldBold",
                                         u"FldItalic",
                                         u"FldAlign",
                                         u"FldNumDigits",
                                         u"FldMemoMaxLength",
                                         u"FldColumnWrap",
                                         u"FldColumnDateSelect",
                                         u"FldUseRange",
                                         u"FldUserIDSelect",
                                         u"FldGroupByShowSummary",
                                         u"FldRepeatColumns",
                                         u"FldResizeInterpolation"};

TEST(FieldTest, CatalogHoldsTheDeclaredRowsInOrder) {
  const SettingCatalog& rows = AGPField::catalog();
  ASSERT_EQ(rows.size(), 121u);
  ASSERT_EQ(rows.size(), kFieldSettingCount);
  // Spot checks across the groups: position, type and the four flags.
  struct Row {
    SettingSlot slot;
    const char16_t* name;
    const char16_t* type;
    bool file, sync, reg;
    std::int32_t format;
  };
  const Row expected[] = {
      {0, u"FldSync", u"Boolean", false, false, false, 0},
      {2, u"FldSeq", u"Integer", false, false, false, 0},
      {3, u"FldName", u"String", true, false, false, 0},
      {11, u"FldSize", u"Long", true, false, false, 0},
      {18, u"FldMin", u"Variant", true, true, false, 0},
      {46, u"FldVar", u"String", false, false, false, 0},
      {69, u"FldTagAPrefix", u"String", true, true, true, 1},
      {76, u"FldNumDigits", u"Integer", true, true, true, 4},
      {80, u"FileNameFld", u"String", true, true, false, 0},
      {93, u"FldQuoteS", u"String", true, false, false, 0},
      {112, u"FldOrder", u"String", true, false, false, 0},
      {120, u"FldMemoCRLFReplace", u"Boolean", true, true, false, 0},
  };
  for (const Row& r : expected) {
    SCOPED_TRACE(toUtf8(r.name));
    const SettingRecord& rec = rows[r.slot];
    EXPECT_EQ(rec.name, r.name);
    EXPECT_EQ(rec.dataType, r.type);
    EXPECT_EQ(rec.fileSave, r.file);
    EXPECT_EQ(rec.sync, r.sync);
    EXPECT_EQ(rec.regSave, r.reg);
    EXPECT_EQ(rec.regFormat, r.format);
  }
  std::vector<std::u16string> registryRows;
  for (SettingSlot s = 0; s < rows.size(); ++s) {
    if (rows[s].regSave) registryRows.push_back(rows[s].name);
  }
  EXPECT_EQ(registryRows,
            std::vector<std::u16string>(std::begin(kRegistryRows), std::end(kRegistryRows)));
}

TEST(FieldTest, NewFieldTakesTheUsersDefaults) {
  auto bare = makeRef<AGPField>();
  EXPECT_EQ(bare->properties().count(), 121);
  EXPECT_TRUE(bare->get(u"FldMin").isEmpty());
  EXPECT_TRUE(bare->get(u"FldDefault").isEmpty());
  EXPECT_EQ(toString(bare->get(u"FldName")), u"");
  EXPECT_EQ(bare->get(u"FldGenerate").boolValue(), false);
  // Without registry values the thirteen rows hold their type's zero, not Empty.
  for (const char16_t* name : kRegistryRows) {
    SCOPED_TRACE(toUtf8(name));
    EXPECT_FALSE(bare->properties().findValue(name)->isEmpty());
  }
  EXPECT_EQ(bare->get(u"FldNumDigits").integerValue(), 0);

  SetRegValue(Variant(u"HKCU"), Variant(projectContext().fieldKey), Variant(u"FldNumDigits"), 4,
              Variant(std::int32_t{2}));
  SetRegValue(Variant(u"HKCU"), Variant(projectContext().fieldKey), Variant(u"FldAlign"), 1,
              Variant(u" 'right' "));
  SetRegValue(Variant(u"HKCU"), Variant(projectContext().fieldKey), Variant(u"FldMemoMaxLength"), 1,
              Variant(u"lots"));
  auto field = makeRef<AGPField>();
  EXPECT_EQ(field->get(u"FldNumDigits").integerValue(), 2);
  EXPECT_EQ(toString(field->get(u"FldAlign")), u"right");
  // A value that does not convert leaves the row empty.
  EXPECT_TRUE(field->properties().findValue(u"FldMemoMaxLength")->isEmpty());
}

TEST(FieldTest, GetVAndSetV) {
  auto field = makeRef<AGPField>();
  field->setFldName(u"Price");
  EXPECT_EQ(toString(field->GetV(u"fldname")), u"Price");
  EXPECT_EQ(toString(field->GetV(u"FldGenerate")), u"");  // nothing set yet
  field->let(u"FldGenerate", Variant(std::int32_t{0}));
  EXPECT_EQ(toString(field->GetV(u"FldGenerate")), u"False");

  field->SetV(u"FldSize", u"120");
  EXPECT_EQ(field->get(u"FldSize").type(), VarType::Long);
  EXPECT_EQ(field->get(u"FldSize").longValue(), 120);
  field->SetV(u"FldSize", u"wide");
  EXPECT_EQ(field->get(u"FldSize").longValue(), 0);
  EXPECT_EQ(toString(field->GetV(u"FldSize")), u"");

  field->SetV(u"FldCaption", u"  'Unit price' ");
  EXPECT_EQ(toString(field->get(u"FldCaption")), u"Unit price");
  EXPECT_TRUE(field->SetV(u"FldCaption", u"x").isEmpty());

  // Null reads as the empty text, as joined to "" in a script.
  field->let(u"FldDefault", Variant::null());
  EXPECT_EQ(toString(field->GetV(u"FldDefault")), u"");
  EXPECT_TRUE(field->get(u"FldDefault").isNull());

  // An unknown name becomes a 122nd, saved and carried-over String row holding "".
  EXPECT_EQ(toString(field->GetV(u"MyOwnSetting")), u"");
  ASSERT_EQ(field->properties().count(), 122);
  EXPECT_EQ(field->properties().findValue(u"MyOwnSetting")->type(), VarType::String);
  const SettingRecord& added =
      field->properties().record(*field->properties().slotOf(u"MyOwnSetting"));
  EXPECT_EQ(added.dataType, u"String");
  EXPECT_TRUE(added.fileSave);
  EXPECT_TRUE(added.sync);
  field->SetV(u"Other", u"  'as given' ");
  EXPECT_EQ(toString(*field->properties().findValue(u"Other")), u"  'as given' ");
}

TEST(FieldTest, KeyParmAndVariantRows) {
  auto field = makeRef<AGPField>();
  field->let(u"Key", Variant(u"Qty"));
  EXPECT_EQ(toString(field->get(u"FldName")), u"Qty");
  const struct {
    const char16_t* var;
    const char16_t* parm;
  } parms[] = {{u"x_Qty", u"Qty"}, {u"x_", u""}, {u"x", u""}, {u"x_Q", u"Q"}, {u"", u""}};
  for (const auto& p : parms) {
    field->let(u"FldVar", Variant(p.var));
    EXPECT_EQ(toString(field->get(u"FldParm")), p.parm) << toUtf8(p.var);
  }
  EXPECT_THROW(field->let(u"FldParm", Variant(u"x")), AutomationError);

  const Variant date = Variant::date(45000.5);
  field->let(u"FldDefault", date);
  EXPECT_EQ(field->get(u"FldDefault").type(), VarType::Date);
  EXPECT_EQ(field->get(u"FldDefault").dateValue(), 45000.5);
  field->let(u"FldMin", Variant(u"007"));
  EXPECT_EQ(field->get(u"FldMin").type(), VarType::String);
}

TEST(FieldTest, BadStoredValueRaisesAndStays) {
  auto field = makeRef<AGPField>();
  field->properties().item(u"FldSize")->setValue(Variant(u"big"));
  try {
    field->get(u"FldSize");
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), vberr::kTypeMismatch);
  }
  EXPECT_EQ(toString(*field->properties().findValue(u"FldSize")), u"big");
}

// Every member by name: the interface order, and each catalog row read and written through
// the member table with the row's own type.
TEST(FieldTest, EveryMemberReachableByName) {
  auto field = makeRef<AGPField>();
  const ClassInfo& info = field->classInfo();
  std::vector<std::u16string> names;
  for (const MemberInfo& m : info.members()) names.push_back(m.name);
  ASSERT_GE(names.size(), 4u + 121u + 4u);
  EXPECT_EQ(std::vector<std::u16string>(names.begin(), names.begin() + 4),
            (std::vector<std::u16string>{u"Properties", u"GetV", u"SetV", u"Key"}));
  auto pos = [&](std::u16string_view n) {
    return std::find(names.begin(), names.end(), n) - names.begin();
  };
  EXPECT_EQ(pos(u"FldHtmlTag") + 1, pos(u"FldHtmlTagReadOnly"));
  EXPECT_EQ(pos(u"FldHtmlTagReadOnly") + 1, pos(u"FldViewTag"));
  EXPECT_EQ(pos(u"FldViewThumbnail") + 1, pos(u"FldTagSize"));
  EXPECT_EQ(pos(u"FldVar") + 1, pos(u"FldParm"));
  EXPECT_EQ(pos(u"FldMemoCRLFReplace") + 1, pos(u"LoadFld_DAO"));
  EXPECT_EQ(pos(u"LoadFld_ADO") + 1, pos(u"LoadFldDefault"));

  const SettingCatalog& rows = AGPField::catalog();
  for (SettingSlot s = 0; s < rows.size(); ++s) {
    const SettingRecord& row = rows[s];
    SCOPED_TRACE(toUtf8(row.name));
    Variant written;
    VarType expected = VarType::Empty;
    if (row.dataType == u"Boolean") {
      written = Variant(u"True");
      expected = VarType::Boolean;
    } else if (row.dataType == u"Integer") {
      written = Variant(u"12");
      expected = VarType::Integer;
    } else if (row.dataType == u"Long") {
      written = Variant(70000.0);
      expected = VarType::Long;
    } else if (row.dataType == u"String") {
      written = Variant(std::int32_t{5});
      expected = VarType::String;
    } else {
      written = Variant(2.5);
      expected = VarType::Double;
    }
    field->let(row.name, written);
    EXPECT_EQ(field->get(row.name).type(), expected);
    EXPECT_EQ(field->properties().value(s).type(), expected);
  }
  EXPECT_EQ(field->get(u"Properties").objectValue(), &field->properties());
  EXPECT_THROW(field->get(u"FldNoSuchSetting"), AutomationError);
}

TEST(FieldTest, ClassesCreatableByProgId) {
  ClassFactory& factory = ClassFactory::instance();
  registerFieldClasses(factory);
  for (const char16_t* name : {u"AGPField", u"AGPFields"}) {
    Ref<Object> o = factory.create(std::u16string(u"vantorel4.") + name);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->typeName(), name);
  }
  Ref<Object> fields = factory.create(u"vantorel4.AGPFields");
  EXPECT_TRUE(fields->call(u"Add", {u"T", u"A"}).boolValue());
  EXPECT_EQ(toString(fields->call(u"Item", {u"a"}).objectValue()->get(u"FldName")), u"A");
}

}  // namespace
}  // namespace vantorel
