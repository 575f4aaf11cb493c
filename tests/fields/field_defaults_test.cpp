#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fields/field.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {
namespace {

// The loaders' thread values for one case, restored afterwards.
class LoadedProject {
 public:
  LoadedProject(std::u16string dbms, std::int16_t dateFormat, std::int16_t repeatColumns = 0)
      : dbms_(projectContext().currentDbmsName),
        date_(projectContext().currentDateFormat),
        repeat_(projectContext().currentRepeatColumns) {
    projectContext().currentDbmsName = std::move(dbms);
    projectContext().currentDateFormat = dateFormat;
    projectContext().currentRepeatColumns = repeatColumns;
  }
  ~LoadedProject() {
    projectContext().currentDbmsName = dbms_;
    projectContext().currentDateFormat = date_;
    projectContext().currentRepeatColumns = repeat_;
  }

 private:
  std::u16string dbms_;
  std::int16_t date_;
  std::int16_t repeat_;
};

constexpr const char16_t* kAccess = u"ACCESS";
constexpr const char16_t* kSqlServer = u"Microsoft SQL Server";
constexpr const char16_t* kPostgres = u"PostgreSQL";

// The settings the defaults derive from the type, by name, as GetV shows them.
const char16_t* const kShown[] = {u"FldHtmlTag",  u"FldTagSize",  u"FldTagMaxLength",
                                  u"FldValidate", u"FldSrchOpr",  u"FldBasicSearch",
                                  u"FldList",     u"FldEdit",     u"FldAdd",
                                  u"FldFmtType",  u"FldDtFormat", u"FldViewTag"};

std::u16string shown(AGPField& field) {
  std::u16string out;
  for (const char16_t* name : kShown) {
    out += toString(field.GetV(name)) + u"|";
  }
  out.pop_back();
  return out;
}

struct Case {
  std::int16_t type;
  const char16_t* dbms;
  std::int16_t dateFormat;
  bool supported, autoIncrement;
  std::int32_t attributes, size;
  // tag|size|maxlen|validate|opr|basic|list|edit|add|fmt|dtformat|view
  const char16_t* expected;
};

TEST(FieldDefaultsTest, ByTypeAndDatabase) {
  const Case cases[] = {
      {202, kPostgres, 5, true, false, 4, 50,
       u"TEXT|30|50||LIKE|True|True|True|True|None||FORMATTED TEXT"},
      {200, kAccess, 5, true, false, 4, 10,
       u"TEXT|30|10||LIKE|True|True|True|True|None||FORMATTED TEXT"},
      {3, kAccess, 5, true, true, 0, 4, u"|||INTEGER|=|False|True|True|False|None||FORMATTED TEXT"},
      {3, kSqlServer, 5, true, false, 0, 4,
       u"TEXT|30||INTEGER|=|False|True|False|False|None||FORMATTED TEXT"},
      {3, kSqlServer, 5, true, false, 8, 4,
       u"TEXT|30||INTEGER|=|False|True|True|True|None||FORMATTED TEXT"},
      {3, kSqlServer, 5, true, true, 0, 4,
       u"|||INTEGER|=|False|True|True|False|None||FORMATTED TEXT"},
      {11, kAccess, 5, true, false, 4, 2,
       u"CHECKBOX||||=|False|True|True|True|None||FORMATTED TEXT"},
      {135, kAccess, 7, true, false, 4, 8,
       u"TEXT|||EURODATE|=|False|True|True|True|Date/Time|7|FORMATTED TEXT"},
      {7, kAccess, 6, true, false, 4, 8,
       u"TEXT|||USDATE|=|False|True|True|True|Date/Time|6|FORMATTED TEXT"},
      {146, kSqlServer, 5, false, false, 4, 8,
       u"TEXT|||DATE|=|False|False|False|False|Date/Time|5|FORMATTED TEXT"},
      {133, kAccess, 0, true, false, 4, 8, u"TEXT||||=|False|True|True|True|None||FORMATTED TEXT"},
      {134, kAccess, 5, true, false, 4, 8,
       u"TEXT|30||TIME|=|False|True|True|True|None||FORMATTED TEXT"},
      {72, kAccess, 5, true, false, 4, 16,
       u"TEXT|38|38|GUID|=|False|True|True|True|None||FORMATTED TEXT"},
      {205, kAccess, 5, true, false, 4, 0, u"FILE|30|||=|False|False|True|True|None||IMAGE"},
      {204, kAccess, 5, true, false, 4, 0, u"FILE|30|||=|False|False|True|True|None||IMAGE"},
      {203, kAccess, 5, true, false, 4, 0,
       u"TEXTAREA||||LIKE|True|False|True|True|None||FORMATTED TEXT"},
      {141, kSqlServer, 5, false, false, 4, 0,
       u"TEXTAREA||||=|False|False|False|False|None||FORMATTED TEXT"},
      {8, kAccess, 5, true, false, 4, 0,
       u"TEXT|30|||LIKE|False|True|True|True|None||FORMATTED TEXT"},
      {129, kAccess, 5, true, false, 4, 0,
       u"TEXT|30|||LIKE|True|True|True|True|None||FORMATTED TEXT"},
      {6, kAccess, 5, true, false, 4, 0,
       u"TEXT|30||FLOAT|=|False|True|True|True|None||FORMATTED TEXT"},
      {128, kAccess, 5, false, false, 4, 0,
       u"TEXT|30|||=|False|False|False|False|None||FORMATTED TEXT"},
      {-1, kAccess, 5, false, false, 4, 0,
       u"TEXT|30|||=|False|False|False|False|None||FORMATTED TEXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + toUtf8(c.dbms));
    LoadedProject project(c.dbms, c.dateFormat);
    auto field = makeRef<AGPField>();
    field->setFldName(u"Col");
    field->let(u"FldType", Variant(c.type));
    field->let(u"FldSupport", Variant(c.supported));
    field->let(u"FldAutoIncrement", Variant(c.autoIncrement));
    field->let(u"FldAttribute", Variant(c.attributes));
    field->let(u"FldSize", Variant(c.size));
    field->LoadFldDefault();
    EXPECT_EQ(shown(*field), c.expected);
    EXPECT_EQ(field->FldGenerate(), c.supported);
    EXPECT_EQ(toBool(field->get(u"FldView")), c.supported);
  }
}

TEST(FieldDefaultsTest, FixedSettingsNamesAndChoices) {
  LoadedProject project(kPostgres, 5, 3);
  auto field = makeRef<AGPField>();
  field->setFldName(u"unit_price");
  field->let(u"FldType", Variant(std::int16_t{11}));
  field->let(u"FldSupport", Variant(true));
  field->let(u"FldReq", Variant(true));
  for (const char16_t* name : {u"FldOrder", u"FldGroupByType", u"FldSrchOpr2"}) {
    field->let(name, Variant(u"stale"));
  }
  field->let(u"FldSearch", Variant(true));
  field->LoadFldDefault();
  const struct {
    const char16_t* name;
    const char16_t* text;
  } expected[] = {
      {u"FldVar", u"x_unit_price"},
      {u"FldCaption", u"unit price"},
      {u"FldTagValues", u"\"1\",\"1\"\r\n\"0\",\"0\""},
      {u"FldRequired", u"True"},
      {u"FldSearch", u"False"},
      {u"FldIncLeadDigit", u"-2"},
      {u"FldUseParen", u"-2"},
      {u"FldGpDigits", u"-2"},
      {u"FldSelectType", u"Values"},
      {u"FldTagAPrefix", u"None"},
      {u"FldOrder", u""},
      {u"FldGroupByType", u""},
      {u"FldSrchOpr2", u""},
      {u"FldRepeatColumns", u"3"},
      {u"FldOrderBy", u"0"},
      {u"FldColumnDateSelect", u"False"},
      {u"FldPopCalendar", u"False"},
  };
  for (const auto& e : expected) EXPECT_EQ(toString(field->GetV(e.name)), e.text) << toUtf8(e.name);

  // An Access Boolean takes words; a caption given by the import stays.
  LoadedProject access(kAccess, 5);
  field->let(u"FldCaption", Variant(u"Price per unit"));
  field->LoadFldDefault();
  EXPECT_EQ(toString(field->GetV(u"FldTagValues")), u"\"True\",\"True\"\r\n\"False\",\"False\"");
  EXPECT_EQ(toString(field->GetV(u"FldCaption")), u"Price per unit");
}

TEST(FieldDefaultsTest, UnreadableInputRefusesWithoutWriting) {
  auto field = makeRef<AGPField>();
  field->setFldName(u"A");
  field->properties().item(u"FldType")->setValue(Variant(u"text"));
  try {
    field->LoadFldDefault();
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 13);
  }
  EXPECT_TRUE(field->properties().findValue(u"FldFmtType")->isEmpty());
  EXPECT_TRUE(field->properties().findValue(u"FldVar")->isEmpty());

  // A size that does not read matters only to a text box.
  field->let(u"FldType", Variant(std::int16_t{3}));
  field->properties().item(u"FldSize")->setValue(Variant(u"wide"));
  field->LoadFldDefault();
  EXPECT_EQ(field->FldVar(), u"x_A");
  field->let(u"FldType", Variant(std::int16_t{202}));
  field->let(u"FldVar", Variant(u""));
  EXPECT_THROW(field->LoadFldDefault(), AutomationError);
  EXPECT_EQ(field->FldVar(), u"");
}

}  // namespace
}  // namespace vantorel
