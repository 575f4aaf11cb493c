#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fields/field.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/vbscript/control/script_control.hpp"

namespace vantorel {
namespace {

class DbmsScope {
 public:
  explicit DbmsScope(std::u16string name) : saved_(projectContext().currentDbmsName) {
    projectContext().currentDbmsName = std::move(name);
  }
  ~DbmsScope() { projectContext().currentDbmsName = saved_; }

 private:
  std::u16string saved_;
};

// type|typename|support|quoteS|quoteE|size|attribute|autoinc|zerolen|req|caption
std::u16string imported(AGPField& field) {
  std::u16string out;
  for (const char16_t* name :
       {u"FldType", u"FldTypeName", u"FldSupport", u"FldQuoteS", u"FldQuoteE", u"FldSize",
        u"FldAttribute", u"FldAutoIncrement", u"FldZeroLen", u"FldReq", u"FldCaption"}) {
    out += toString(field.GetV(name)) + u"|";
  }
  out.pop_back();
  return out;
}

TEST(FieldImportTest, FromDaoDefinitions) {
  struct Case {
    std::int16_t type;
    std::int32_t attributes;
    bool required, allowZeroLength;
    std::optional<std::u16string> caption;
    const char16_t* expected;
  };
  const Case cases[] = {
      {4, 17, true, false, std::nullopt, u"3||True|||4|16|True|False|True|Qty"},
      {10, 0, false, true, u"Quantity", u"202||True|'|'|4|36|False|True|False|Quantity"},
      {10, 2, false, true, u"", u"202||True|'|'|4|36|False|True|False|Qty"},
      {1, 1, true, false, std::nullopt, u"11||True|||4|20|False|False|True|Qty"},
      {8, 1, false, false, std::nullopt, u"135||True|#|#|4|52|False|False|False|Qty"},
      {9, 0, false, false, std::nullopt, u"128||False|?|?|4|36|False|False|False|Qty"},
      {17, 0, false, false, std::nullopt, u"-1||False|?|?|4|36|False|False|False|Qty"},
      {11, 0, false, false, std::nullopt, u"205||True|||4|36|False|False|False|Qty"},
      {12, 0, false, true, std::nullopt, u"203||True|'|'|4|36|False|True|False|Qty"},
      {15, 0, false, false, std::nullopt, u"72||True|'|'|4|36|False|False|False|Qty"},
      {20, 0, false, false, std::nullopt, u"131||True|||4|36|False|False|False|Qty"},
      {23, 0, false, false, std::nullopt, u"135||True|#|#|4|36|False|False|False|Qty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    DbmsScope dbms(u"ACCESS");
    auto field = makeRef<AGPField>();
    field->let(u"FldQuoteS", Variant(u"?"));
    field->let(u"FldQuoteE", Variant(u"?"));
    DaoFieldDefinition d;
    d.Name = u"Qty";
    d.Type = c.type;
    d.Size = 4;
    d.Attributes = c.attributes;
    d.Required = c.required;
    d.AllowZeroLength = c.allowZeroLength;
    d.Caption = c.caption;
    field->let(u"FldUniqueIdx", Variant(true));
    field->LoadFld_DAO(d);
    EXPECT_EQ(imported(*field), c.expected);
    EXPECT_FALSE(toBool(field->get(u"FldUniqueIdx")));
    // The import ends with the type-driven defaults.
    EXPECT_EQ(field->FldVar(), u"x_Qty");
  }
}

TEST(FieldImportTest, FromAdoDefinitions) {
  struct Case {
    const char16_t* dbms;
    std::int16_t type;
    std::uint8_t precision;
    std::int32_t size, attributes;
    Variant isAuto;
    const char16_t* presetTypeName;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"ACCESS", 135, 0, 8, 0x68, Variant(false), u"",
       u"135|TIMESTAMP|True|#|#|8|104|False|True|False|Col"},
      {u"Microsoft SQL Server", 135, 23, 8, 0x68, Variant(false), u"",
       u"135|DATETIME|True|'|'|8|104|False|True|False|Col"},
      {u"Microsoft SQL Server", 135, 23, 8, 0x68, Variant(false), u"datetime2",
       u"135|datetime2|True|'|'|8|104|False|True|False|Col"},
      {u"Microsoft SQL Server", 3, 10, 4, 0x10, Variant(true), u"int",
       u"3|int|True|||4|16|True|True|False|Col"},
      {u"PostgreSQL", 202, 0, 8001, 0x20, Variant::null(), u"text",
       u"203|text|True|'|'|8001|36|False|True|False|Col"},
      {u"PostgreSQL", 202, 0, 8000, 0x24, Variant(std::int32_t{0}), u"varchar",
       u"202|varchar|True|'|'|8000|36|False|True|False|Col"},
      {u"PostgreSQL", 200, 0, 9000, 0x20, Variant(true), u"",
       u"201|VARCHAR|True|'|'|9000|32|True|True|False|Col"},
      {u"MySQL", 205, 0, 100, 0x24, Variant(false), u"",
       u"205|LONGVARBINARY|True|'|'|100|36|False|True|False|Col"},
      {u"MySQL", 128, 0, 16, 0x24, Variant(false), u"",
       u"128||False|?|?|16|36|False|True|False|Col"},
      {u"Microsoft SQL Server", 141, 0, 0, 0x24, Variant(false), u"",
       u"141|XML|False|?|?|0|36|False|True|False|Col"},
      {u"Microsoft SQL Server", 146, 0, 0, 0x24, Variant(false), u"",
       u"146|DATETIMEOFFSET|False|?|?|0|36|False|True|False|Col"},
      {u"ACCESS", 11, 0, 2, 0x24, Variant(false), u"",
       u"11|BOOLEAN|True|||2|36|False|True|False|Col"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + toUtf8(c.dbms));
    DbmsScope dbms(c.dbms);
    auto field = makeRef<AGPField>();
    field->let(u"FldQuoteS", Variant(u"?"));
    field->let(u"FldQuoteE", Variant(u"?"));
    field->let(u"FldTypeName", Variant(c.presetTypeName));
    field->let(u"FldReq", Variant(true));
    AdoFieldDefinition d;
    d.Name = u"Col";
    d.Type = c.type;
    d.Precision = c.precision;
    d.DefinedSize = c.size;
    d.Attributes = c.attributes;
    d.IsAutoIncrement = c.isAuto;
    field->LoadFld_ADO(d);
    EXPECT_EQ(imported(*field), c.expected);
  }
}

TEST(FieldImportTest, RefusedDefinitionsWriteNothing) {
  auto field = makeRef<AGPField>();
  field->setFldName(u"Before");
  AdoFieldDefinition d;
  d.Name = u"After";
  d.Type = 3;
  try {
    field->LoadFld_ADO(d);  // the provider offers no ISAUTOINCREMENT
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 3265);
  }
  d.IsAutoIncrement = Variant(u"perhaps");
  EXPECT_THROW(field->LoadFld_ADO(d), AutomationError);
  EXPECT_EQ(field->FldName(), u"Before");
  EXPECT_TRUE(field->properties().findValue(u"FldType")->isEmpty());
  // A caption that is no text would fail the defaults half way; the import refuses up front.
  field->properties().item(u"FldCaption")->setValue(Variant::null());
  DaoFieldDefinition dao;
  dao.Name = u"After";
  dao.Type = 4;
  EXPECT_THROW(field->LoadFld_DAO(dao), AutomationError);
  d.IsAutoIncrement = Variant(false);
  EXPECT_THROW(field->LoadFld_ADO(d), AutomationError);
  EXPECT_EQ(field->FldName(), u"Before");
  EXPECT_TRUE(field->properties().findValue(u"FldType")->isEmpty());

  // Late bound, the argument must be a field object.
  for (const char16_t* member : {u"LoadFld_DAO", u"LoadFld_ADO"}) {
    try {
      field->call(member, {Variant::nothing()});
      FAIL() << "no error";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), vberr::kObjectRequired);
    }
    EXPECT_THROW(field->call(member, {Variant(u"Qty")}), AutomationError);
  }
  EXPECT_EQ(field->FldName(), u"Before");
  // A caption the import brings replaces the unreadable one.
  dao.Caption = u"Label";
  field->LoadFld_DAO(dao);
  EXPECT_EQ(toString(field->get(u"FldCaption")), u"Label");
}

// What a script hands over: DAO and ADO field objects read by property name, the provider
// properties through Properties(name).Value.
TEST(FieldImportTest, LateBoundFieldObjectsFromScript) {
  DbmsScope dbms(u"ACCESS");
  auto script = makeRef<vbs::ScriptControl>();
  script->setLanguage(u"VBScript");
  auto field = makeRef<AGPField>();
  script->addObject(u"FIELD", Ref<Object>(field));
  script->addCode(
      u"Class Prop\r\n Public V\r\n Public Default Property Get Value() : Value = V : End "
      u"Property\r\n"
      u"End Class\r\n"
      u"Class Props\r\n Public K, V\r\n"
      u" Public Default Function Item(n)\r\n"
      u"  If n <> K Then Err.Raise 3265\r\n"
      u"  Set Item = New Prop : Item.V = V\r\n End Function\r\nEnd Class\r\n"
      u"Class Fld\r\n Public Name, Type, Size, Attributes, AllowZeroLength, Required, Precision,"
      u" DefinedSize, Properties\r\n"
      u" Private Sub Class_Initialize()\r\n  Set Properties = New Props\r\n"
      u" End Sub\r\nEnd Class\r\n"
      u"Function Dao(caption)\r\n Set Dao = New Fld\r\n Dao.Name = \"Memo\" : Dao.Type = 12\r\n"
      u" Dao.Size = 0 : Dao.Attributes = 2 : Dao.AllowZeroLength = True : Dao.Required = False\r\n"
      u" If caption <> \"\" Then Dao.Properties.K = \"Caption\" : Dao.Properties.V = "
      u"caption\r\nEnd Function\r\n"
      u"Function Ado(auto)\r\n Set Ado = New Fld\r\n Ado.Name = \"Id\" : Ado.Type = 3\r\n"
      u" Ado.Precision = 10 : Ado.DefinedSize = 4 : Ado.Attributes = &H10\r\n"
      u" If Not IsEmpty(auto) Then Ado.Properties.K = \"ISAUTOINCREMENT\" : Ado.Properties.V = "
      u"auto\r\nEnd Function\r\n");

  script->executeStatement(u"FIELD.LoadFld_DAO Dao(\"Notes\")");
  EXPECT_EQ(imported(*field), u"203||True|'|'|0|36|False|True|False|Notes");
  field->let(u"FldCaption", Variant(u""));
  script->executeStatement(u"FIELD.LoadFld_DAO Dao(\"\")");
  EXPECT_EQ(toString(field->get(u"FldCaption")), u"Memo");

  // The caption of the earlier import stays; only an empty caption is made from the name.
  script->executeStatement(u"FIELD.LoadFld_ADO Ado(True)");
  EXPECT_EQ(imported(*field), u"3|INTEGER|True|||4|16|True|True|False|Memo");
  // A provider without the property: the import is refused and the field keeps its name.
  EXPECT_THROW(script->executeStatement(u"FIELD.LoadFld_ADO Ado(Empty)"), AutomationError);
  EXPECT_EQ(field->FldName(), u"Id");
}

}  // namespace
}  // namespace vantorel
