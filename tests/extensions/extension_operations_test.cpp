// Extensions in a project: registering them from the registry and declaration files, their
// entries for tables, charts and fields under conditions, the setting members, the chart
// settings they take over, and how they follow renames and deletions.
#include <gtest/gtest.h>

#include <string>

#include "agp/agp.hpp"
#include "extensions/extension_operations.hpp"
#include "extensions/extensions.hpp"
#include "extensions/setting_access.hpp"
#include "fields/field.hpp"
#include "model/chart.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "projectfile/project_test_support.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

// Project level: a title; database level: a flag; tables whose TblView is on: a row count;
// charts: the moved chart settings; fields of tables with a view page: a width.
const char* const kDeclarations =
    "<?xml version=\"1.0\"?>"
    "<Project COND=\"\">"
    "  <attribute name=\"Title\" type=\"String\" default=\"&quot;Quoted&quot;\"/>"
    "  <ATTRIBUTE Name=\"Count\" Type=\"Integer\" Default=\"12\"/>"
    "  <attribute name=\"Bad\" type=\"Integer\" default=\"abc\"/>"
    "  <attribute name=\"Odd\" type=\"Colour\" default=\"red\"/>"
    "  <attribute name=\"Untyped\" default=\" 7 \"/>"
    "  <attribute name=\"\" default=\"nothing\"/>"
    "  <attribute name=\"EmptyType\" type=\"\"/>"
    "  <Database><attribute name=\"Flag\" type=\"Boolean\" default=\"True\"/>"
    "    <Table cond=\"table/TblView/eq/1\">"
    "      <attribute name=\"Rows\" type=\"Integer\" default=\"10\"/>"
    "      <Chart>"
    "        <attribute name=\"canvasBgColor\"/><attribute name=\"numDivLines\" type=\"Integer\"/>"
    "        <attribute name=\"yAxisMinValue\" type=\"Long\"/>"
    "        <attribute name=\"yAxisMaxValue\" type=\"Long\"/>"
    "      </Chart>"
    "      <Field cond=\"field/FldName/ne/Secret\"><attribute name=\"Width\" type=\"Integer\" "
    "default=\"80\"/></Field>"
    "    </Table>"
    "  </Database>"
    "</Project>";

class ExtensionOperationsTest : public test::ProjectFileTest {
 protected:
  void SetUp() override {
    test::ProjectFileTest::SetUp();
    proj_ = makeRef<AGP>();
    projectContext().extensionsFolder = exts();
    test::writeFile(work() / "exts" / "cal.xml", kDeclarations);
  }
  std::u16string exts() const { return fromUtf8((work() / "exts").string()); }

  // Orders (view page on) with fields ID and Secret and the chart Sales; Notes (view page off);
  // Later (listed, not loaded).
  AGPDatabase& model() {
    AGPDatabase& db = addDatabase(*proj_, u"db");
    AGPTable& orders = addTable(db, u"Orders");
    orders.SetV(u"TblLoaded", u"True");
    orders.SetV(u"TblView", u"True");
    addField(orders, u"ID");
    addField(orders, u"Secret");
    AGPChart& chart = addChart(orders, u"Sales");
    chart.SetV(u"ChartChartBgColor", u"FFFFFF");
    chart.SetV(u"ChartNumGridLines", u"5");
    chart.SetV(u"ChartYAxisMinValue", u"-10");
    chart.SetV(u"ChartYAxisMaxValue", u"0");
    chart.SetV(u"ChartXAxisNameRotated", u"True");
    AGPTable& notes = addTable(db, u"Notes");
    notes.SetV(u"TblLoaded", u"True");
    notes.SetV(u"TblView", u"False");
    addField(notes, u"Text");
    addTable(db, u"Later");
    return db;
  }
  AGPExtension& ext(const char16_t* name = u"Cal") { return *SharedExtensions().find(name); }
  Variant tbl(const char16_t* table, const char16_t* att) {
    return GetExtTblAtt(*proj_, u"Cal", table, att);
  }

  Ref<AGP> proj_;
};

TEST_F(ExtensionOperationsTest, DeclaresSettingsByTheFilesRules) {
  EXPECT_FALSE(AddExtension(*proj_, u"", u"cal.zip", u"cal.xml"));
  // Without a database only the project level is declared.
  ASSERT_TRUE(AddExtension(*proj_, u"Cal", u"cal.zip", u"cal.xml"));
  EXPECT_TRUE(ext().enabled());
  EXPECT_EQ(ext().proj().dbCnt(), 0);
  AGProperties& bag = ext().proj().properties();
  struct Case {
    const char16_t* name;
    Variant value;
  };
  const Case cases[] = {
      {u"Title", Variant(u"\"Quoted\"")},  // a string keeps its quotes
      {u"Count", Variant(std::int16_t{12})},
      {u"Bad", Variant()},        // a default that does not convert
      {u"Odd", Variant(u"red")},  // a type outside the five
      {u"Untyped", Variant(u" 7 ")},
  };
  for (const Case& c : cases) {
    const Variant* value = bag.findValue(c.name);
    ASSERT_NE(value, nullptr) << toUtf8(c.name);
    EXPECT_EQ(value->type(), c.value.type()) << toUtf8(c.name);
    if (!c.value.isEmpty()) {
      EXPECT_EQ(toString(*value), toString(c.value)) << toUtf8(c.name);
    }
  }
  EXPECT_FALSE(bag.exists(u"EmptyType"));
  EXPECT_EQ(bag.count(), 5);
  EXPECT_EQ(toString(GetExtProjAtt(*proj_, u"Cal", u"Untyped")), u" 7 ");
  EXPECT_TRUE(GetExtProjAtt(*proj_, u"Cal", u"Nothing").isNull());
  EXPECT_TRUE(GetExtProjAtt(*proj_, u"Bad", u"Title").isNull());
  EXPECT_TRUE(GetExtProjAtt(*proj_, u"Cal", u"Bad").isEmpty());

  // The declared default, read from the file: a string loses its quotes there, an untyped one
  // comes as written, and names match exactly.
  EXPECT_EQ(toString(GetExtDefault(*proj_, u"Cal", u"PROJECT", u"Title")), u"Quoted");
  EXPECT_EQ(toString(GetExtDefault(*proj_, u"Cal", u"project", u"Untyped")), u" 7 ");
  EXPECT_EQ(toString(GetExtDefault(*proj_, u"Cal", u"TABLE", u"Rows")), u"10");
  EXPECT_EQ(toString(GetExtDefault(*proj_, u"Cal", u"anything", u"Count")), u"12");
  EXPECT_EQ(toString(GetExtDefault(*proj_, u"Cal", u"project", u"title")), u"");
  EXPECT_EQ(toString(GetExtDefault(*proj_, u"None", u"project", u"Title")), u"");

  // Declaring again keeps values set in between; the registration is refreshed and enabled.
  SetExtProjAtt(*proj_, u"Cal", u"Count", Variant(std::int16_t{3}));
  ext().setEnabled(false);
  EXPECT_TRUE(AddExtension(*proj_, u"cal", u"other.zip", u"cal.xml"));
  EXPECT_EQ(SharedExtensions().count(), 1);
  EXPECT_EQ(toInteger(GetExtProjAtt(*proj_, u"Cal", u"Count")), 3);
  EXPECT_EQ(ext().templateFile(), u"other.zip");
  EXPECT_TRUE(ext().enabled());
}

TEST_F(ExtensionOperationsTest, FilesThatCannotBeUsedDeclareNothing) {
  test::writeFile(work() / "outside.xml", kDeclarations);
  test::writeFile(work() / "exts" / "broken.xml", "<Project><attribute name=\"A\"");
  struct Case {
    const char16_t* name;
    const char16_t* xmlFile;
  };
  const Case cases[] = {
      {u"NoFile", u""},
      {u"Missing", u"missing.xml"},
      {u"Broken", u"broken.xml"},
      {u"Outside", u"../outside.xml"},
      {u"Absolute", u"/etc/passwd"},
  };
  for (const Case& c : cases) {
    projectContext().lastErrorText = u"kept";
    EXPECT_TRUE(AddExtension(*proj_, c.name, u"", c.xmlFile)) << toUtf8(c.name);
    EXPECT_TRUE(ext(c.name).enabled());
    EXPECT_FALSE(ext(c.name).isExtended()) << toUtf8(c.name);
    EXPECT_EQ(projectContext().lastErrorText, u"kept");
    EXPECT_EQ(toString(GetExtDefault(*proj_, c.name, u"project", u"Title")), u"");
  }
}

TEST_F(ExtensionOperationsTest, EntriesFollowConditionsAndLoadedTables) {
  model();
  ASSERT_TRUE(AddExtension(*proj_, u"Cal", u"cal.zip", u"cal.xml"));
  AGPExtTables& tables = ext().proj().db().tables();
  EXPECT_EQ(toBool(*ext().proj().db().properties().findValue(u"Flag")), true);
  // Notes fails the table condition; Later is not loaded.
  EXPECT_EQ(tables.count(), 1);
  AGPExtTable& orders = *tables.find(u"Orders");
  EXPECT_EQ(toInteger(tbl(u"Orders", u"Rows")), 10);
  EXPECT_NE(orders.fields().find(u"ID"), nullptr);
  EXPECT_EQ(orders.fields().find(u"Secret"), nullptr);
  EXPECT_TRUE(tbl(u"Notes", u"Rows").isNull());

  // The chart's qualifying settings moved once, into the declared settings.
  AGPChart& chart = *proj_->DB()->tables().find(u"Orders")->charts().find(u"Sales");
  EXPECT_EQ(toString(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"canvasBgColor")),
            u"FFFFFF");
  EXPECT_EQ(toInteger(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"numDivLines")), 5);
  EXPECT_EQ(toLong(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"yAxisMinValue")), -10);
  EXPECT_TRUE(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"yAxisMaxValue").isEmpty());
  EXPECT_EQ(chart.GetV(u"ChartChartBgColor"), u"");
  EXPECT_EQ(chart.GetV(u"ChartNumGridLines"), u"0");
  EXPECT_EQ(chart.GetV(u"ChartYAxisMinValue"), u"0");
  // Not declared: stays on the chart.
  EXPECT_EQ(chart.GetV(u"ChartXAxisNameRotated"), u"True");

  // Applying again makes nothing new and moves nothing twice.
  chart.SetV(u"ChartNumGridLines", u"7");
  ApplyExtensionsToTable(*proj_, u"Orders");
  ApplyExtensionsToChart(*proj_, u"Orders", u"Sales");
  EXPECT_EQ(toInteger(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"numDivLines")), 5);
  EXPECT_EQ(chart.GetV(u"ChartNumGridLines"), u"7");

  // A field added later gets its entry through the field operation.
  addField(*proj_->DB()->tables().find(u"Orders"), u"Added");
  ApplyExtensionsToField(*proj_, u"Orders", u"Added");
  EXPECT_EQ(toInteger(GetExtFldAtt(*proj_, u"Cal", u"Orders", u"Added", u"Width")), 80);
}

TEST_F(ExtensionOperationsTest, WritersMakeEntriesAndStoreOnlyDeclaredSettings) {
  // Without a database the lower writers answer False and raise nothing.
  ASSERT_TRUE(AddExtension(*proj_, u"Cal", u"cal.zip", u"cal.xml"));
  EXPECT_FALSE(SetExtTblAtt(*proj_, u"Cal", u"Orders", u"Rows", Variant(1)));
  EXPECT_FALSE(SetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"numDivLines", Variant(1)));
  EXPECT_FALSE(SetExtFldAtt(*proj_, u"Cal", u"Orders", u"ID", u"Width", Variant(1)));
  // Registered without a database: the database level declares nothing.
  EXPECT_FALSE(SetExtDbAtt(*proj_, u"Cal", u"Flag", Variant(false)));

  model();
  // The registration before the database made no table entries; the writer makes them.
  EXPECT_TRUE(tbl(u"Orders", u"Rows").isNull());
  EXPECT_FALSE(SetExtTblAtt(*proj_, u"Cal", u"Orders", u"Undeclared", Variant(1)));
  EXPECT_EQ(toInteger(tbl(u"Orders", u"Rows")), 10);  // the entry stays
  EXPECT_TRUE(SetExtTblAtt(*proj_, u"Cal", u"Orders", u"Rows", Variant(u"text as given")));
  EXPECT_EQ(toString(tbl(u"Orders", u"Rows")), u"text as given");
  EXPECT_FALSE(SetExtTblAtt(*proj_, u"Cal", u"Notes", u"Rows", Variant(1)));  // condition
  EXPECT_FALSE(SetExtTblAtt(*proj_, u"Cal", u"Nothing", u"Rows", Variant(1)));
  EXPECT_FALSE(SetExtTblAtt(*proj_, u"None", u"Orders", u"Rows", Variant(1)));
  EXPECT_TRUE(SetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"yAxisMaxValue", Variant(9)));
  EXPECT_TRUE(SetExtFldAtt(*proj_, u"Cal", u"Orders", u"ID", u"Width", Variant(1.5)));
  EXPECT_EQ(toDouble(GetExtFldAtt(*proj_, u"Cal", u"Orders", u"ID", u"Width")), 1.5);
  EXPECT_FALSE(SetExtFldAtt(*proj_, u"Cal", u"Orders", u"Secret", u"Width", Variant(1)));

  // Through the project object's members, as scripts call them.
  EXPECT_TRUE(
      toBool(proj_->call(u"SetExtProjAtt", {Variant(u"Cal"), Variant(u"Title"), Variant(u"T")})));
  EXPECT_EQ(toString(proj_->call(u"GetExtProjAtt", {Variant(u"CAL"), Variant(u"title")})), u"T");
  EXPECT_EQ(toLong(proj_->get(u"Extensions").objectValue()->call(u"Count")), 1);
}

TEST_F(ExtensionOperationsTest, EntriesFollowRenamesAndDeletions) {
  model();
  ASSERT_TRUE(AddExtension(*proj_, u"Cal", u"cal.zip", u"cal.xml"));
  ASSERT_TRUE(AddExtension(*proj_, u"Plain", u"", u""));
  AGPTable& orders = *proj_->DB()->tables().find(u"Orders");
  SetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"numDivLines", Variant(std::int16_t{3}));

  EXPECT_TRUE(orders.charts().change(u"Orders", u"Sales", u"Revenue"));
  EXPECT_TRUE(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"numDivLines").isNull());
  EXPECT_EQ(toInteger(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Revenue", u"numDivLines")), 3);

  orders.fields().change(u"Orders", u"ID", u"Key");
  EXPECT_EQ(toInteger(GetExtFldAtt(*proj_, u"Cal", u"Orders", u"Key", u"Width")), 80);
  orders.fields().remove(u"Orders", Variant(u"Key"));
  EXPECT_TRUE(GetExtFldAtt(*proj_, u"Cal", u"Orders", u"Key", u"Width").isNull());

  EXPECT_TRUE(proj_->DB()->tables().change(u"Orders", u"Sales"));
  EXPECT_TRUE(tbl(u"Orders", u"Rows").isNull());
  EXPECT_EQ(toInteger(tbl(u"Sales", u"Rows")), 10);
  // The extension without entries gained its empty upper levels only.
  EXPECT_TRUE(ext(u"Plain").isExtended());
  EXPECT_EQ(ext(u"Plain").proj().db().tables().count(), 0);

  EXPECT_TRUE(proj_->DB()->tables().remove(u"Sales"));
  EXPECT_EQ(ext().proj().db().tables().count(), 0);

  EXPECT_TRUE(DeleteExtension(u"cal"));
  EXPECT_FALSE(DeleteExtension(u"cal"));
  EXPECT_EQ(ext(u"Plain").seq(), 1);
}

TEST_F(ExtensionOperationsTest, CopiedChartsTakeTheEntrySettings) {
  model();
  ASSERT_TRUE(AddExtension(*proj_, u"Cal", u"cal.zip", u"cal.xml"));
  AGPTable& orders = *proj_->DB()->tables().find(u"Orders");
  SetExtChartAtt(*proj_, u"Cal", u"Orders", u"Sales", u"yAxisMaxValue", Variant(42));
  addChart(orders, u"Copy");
  CopyChartToExtensions(*proj_, u"Orders", u"Sales", u"Copy");
  EXPECT_EQ(toLong(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Copy", u"yAxisMaxValue")), 42);
  EXPECT_EQ(toInteger(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Copy", u"numDivLines")), 5);
  // A chart without an entry passes nothing on.
  addChart(orders, u"Third");
  ext().proj().db().tables().find(u"Orders")->charts().remove(Variant(u"Copy"));
  CopyChartToExtensions(*proj_, u"Orders", u"Copy", u"Third");
  EXPECT_TRUE(GetExtChartAtt(*proj_, u"Cal", u"Orders", u"Third", u"numDivLines").isNull());
}

TEST_F(ExtensionOperationsTest, InstalledExtensionsComeFromTheRegistry) {
  model();
  cRegistry registry;
  registry.ClassKey(kHkeyCurrentUser);
  registry.ValueType(kRegSz);
  const auto put = [&](const char16_t* key, const char16_t* name, const char16_t* value) {
    registry.SectionKey(projectContext().extensionsKey + u"\\" + key);
    registry.ValueKey(name);
    registry.Value(Variant(value));
  };
  put(u"one", u"Name", u"Cal");
  put(u"one", u"Template", u"first.zip");
  put(u"two", u"Name", u"cal");
  put(u"two", u"Template", u"second.zip");
  put(u"two", u"XmlFile", u"cal.xml");
  put(u"three", u"Template", u"nameless.zip");
  LoadExtensions(*proj_);
  EXPECT_EQ(SharedExtensions().count(), 1);
  EXPECT_EQ(ext().templateFile(), u"second.zip");
  EXPECT_EQ(toInteger(tbl(u"Orders", u"Rows")), 10);

  // A disabled extension is enabled again by the next registration.
  ext().setEnabled(false);
  LoadExtensions(*proj_);
  EXPECT_TRUE(ext().enabled());
  registry.SectionKey(projectContext().extensionsKey);
  registry.DeleteKey();
}

}  // namespace
}  // namespace vantorel
