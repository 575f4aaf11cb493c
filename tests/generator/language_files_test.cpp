#include "generator/language_files.hpp"
#include "foundation/project_context.hpp"

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/control_items.hpp"
#include "foundation/properties.hpp"
#include "foundation/reg_values.hpp"
#include "generator_test_support.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/database.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/sys/clock.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/xml/attributes.hpp"
#include "project/language.hpp"
#include "project/menus.hpp"
#include "support/test_files.hpp"

namespace vantorel::test {
namespace {

namespace fsys = std::filesystem;

// "Café" is written in ISO-8859-1, as the declaration says.
constexpr char kSourceLanguage[] =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<!-- translated by hand -->\r\n"
    "<language id=\"en\" desc=\"English\">\r\n"
    "  <global>\r\n"
    "    <phrase id=\"AddNew\" value=\"Add new\"/>\r\n"
    "    <phrase id=\"Cafe\" value=\"Caf\xE9\"/>\r\n"
    "  </global>\r\n"
    "  <other><phrase id=\"KEEP\" value=\"x\"/></other>\r\n"
    "</language>\r\n";

void setGeneral(std::u16string_view name, std::u16string_view value) {
  SetRegValue(Variant(u"HKCU"), Variant(projectContext().generalKey), Variant(std::u16string(name)),
              1, Variant(std::u16string(value)));
}

class LanguageFileTest : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    source_ = dir_.path() / "lang" / "english.xml";
    test::writeFile(source_, kSourceLanguage);
    ASSERT_TRUE(proj_->Language().Load(u16(source_)));

    std::tm day{};
    day.tm_year = 124;
    day.tm_mon = 2;
    day.tm_mday = 5;
    day.tm_hour = 12;
    const auto at = std::chrono::system_clock::from_time_t(std::mktime(&day));
    sys::setClockForTesting([at] { return at; });
  }
  void TearDown() override {
    sys::setClockForTesting(nullptr);
    for (const char16_t* v :
         {u"LanguageProjectAttributes", u"LanguageMenuAttributes", u"LanguageTableAttributes",
          u"LanguageChartAttributes", u"LanguageFieldAttributes"}) {
      setGeneral(v, u"");
    }
    for (std::int32_t id : menuIds_) proj_->MenuList().DeleteMenu(id);
    proj_->Language().InitSettings();
    GeneratorTest::TearDown();
  }

  Variant create(bool checkOnly) {
    return CreateLanguageFile(*proj_, u"@lang_english.xml", u"Creating...", u"Create language file",
                              u16(source_), u"lang", checkOnly);
  }

  xml::Node written(xml::Document& doc) {
    const std::string bytes = test::readFile(site_ / "lang" / "english.xml");
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_TRUE(doc.load_string(bytes.c_str() + 3, pugi::parse_full));
    return doc.document_element();
  }

  fsys::path source_;
  std::vector<std::int32_t> menuIds_;
};

TEST_F(LanguageFileTest, KeepsTheSourceAndAddsAnEmptyProjectWithoutAttributeLists) {
  EXPECT_TRUE(toBool(create(false)));
  xml::Document doc;
  const xml::Node root = written(doc);
  EXPECT_STREQ(root.attribute("date").value(), "2024/3/5");
  EXPECT_STREQ(doc.select_node("//global/phrase[@id='addnew']").node().attribute("value").value(),
               "Add new");
  EXPECT_STREQ(doc.select_node("//global/phrase[@id='cafe']").node().attribute("value").value(),
               "Caf\xC3\xA9");
  EXPECT_TRUE(doc.select_node("//other/phrase[@id='KEEP']"));  // only global ids are lowered
  EXPECT_TRUE(doc.select_node("//comment()"));
  EXPECT_STREQ(doc.first_child().attribute("encoding").value(), "UTF-8");
  EXPECT_STREQ(root.last_child().name(), "project");
  EXPECT_FALSE(root.child("project").first_child());
  // The source's own layout stays, and the new element is followed by a line break.
  const std::string bytes = test::readFile(site_ / "lang" / "english.xml");
  EXPECT_NE(bytes.find("</other>\r\n<project/>\r\n</language>"), std::string::npos) << bytes;
}

TEST_F(LanguageFileTest, WritesTheProjectsPhrasesPerLanguage) {
  setGeneral(u"LanguageProjectAttributes", u" ProjName , NoSuchSetting");
  setGeneral(u"LanguageMenuAttributes", u"MenuText,NoSuch");
  setGeneral(u"LanguageTableAttributes", u"TblCaption, Title%n");
  setGeneral(u"LanguageChartAttributes", u"ChartCaption");
  setGeneral(u"LanguageFieldAttributes", u"FldCaption");
  proj_->setProjName(u"Shop");

  for (std::int32_t id : {701, 702, 703}) {
    AGMenuFields menu = AGPMenus::addDefaults();
    menu.MenuId = id;
    menu.MenuText = u"Menu" + toU16(id);
    menu.MenuCustomUrl = true;
    ASSERT_TRUE(proj_->MenuList().AddMenu(menu));
    menuIds_.push_back(id);
  }
  proj_->Language().SetMenuPhrase(u"en", u"702", u"MenuText", u"Second");

  ASSERT_TRUE(proj_->databases().add(u"db"));
  proj_->setDB(proj_->databases().item(Variant(u"db")));
  AGPTables& tables = proj_->DB()->tables();
  ASSERT_TRUE(tables.add(u"Orders"));
  AGPTable& orders = *tables.find(u"Orders");
  orders.setTblVar(u"OrdersVar");
  orders.properties().setting(kTblCaption) = Variant(u"Orders");
  for (const char16_t* t : {u"Title1", u"Title2", u"Title4"}) {
    orders.properties().add(t);
    orders.properties().setValue(*orders.properties().slotOf(t), Variant(std::u16string(t) + u"!"));
  }
  orders.charts().add(u"Orders", u"Sales");
  for (const char16_t* f : {u"qty", u"note"}) orders.fields().add(u"Orders", f);
  orders.fields().find(u"qty")->properties().item(u"FldCaption")->setValue(Variant(u"Quantity"));
  orders.fields().find(u"note")->properties().item(u"FldCaption")->setValue(Variant(u""));
  proj_->Language().SetFieldPhrase(u"en", u"Orders", u"qty", u"FldCaption", u"Amount");
  proj_->Language().SetFieldPhrase(u"de", u"Orders", u"note", u"FldCaption", u"Notiz");

  EXPECT_TRUE(toBool(create(false)));
  xml::Document doc;
  const xml::Node project = written(doc).child("project");
  EXPECT_STREQ(
      project.find_child_by_attribute("phrase", "id", "projname").attribute("value").value(),
      "Shop");
  EXPECT_FALSE(project.find_child_by_attribute("phrase", "id", "nosuchsetting"));

  std::vector<std::string> menus;
  for (const xml::Node m : project.children("menu")) {
    menus.push_back(std::string(m.attribute("id").value()) + "=" +
                    m.child("phrase").attribute("value").value());
  }
  EXPECT_EQ(menus.size(), static_cast<std::size_t>(proj_->MenuList().Count()));
  EXPECT_NE(std::find(menus.begin(), menus.end(), "702=Second"), menus.end());
  EXPECT_NE(std::find(menus.begin(), menus.end(), "703=Menu703"), menus.end());

  const xml::Node table = project.child("table");
  EXPECT_STREQ(table.attribute("id").value(), "ordersvar");
  std::vector<std::string> phrases;
  for (const xml::Node p : table.children("phrase")) {
    phrases.push_back(std::string(p.attribute("id").value()) + "=" + p.attribute("value").value());
  }
  // The numbered family ends at the first gap (Title3).
  EXPECT_EQ(phrases,
            (std::vector<std::string>{"tblcaption=Orders", "title1=Title1!", "title2=Title2!"}));
  EXPECT_STREQ(table.child("chart").attribute("id").value(),
               u8(toLower(orders.charts().at(0).chartVar())).c_str());
  EXPECT_STREQ(table.child("chart").child("phrase").attribute("id").value(), "chartcaption");

  std::vector<std::string> fields;
  for (const xml::Node f : table.children("field")) {
    fields.push_back(std::string(f.attribute("id").value()) + "=" +
                     f.child("phrase").attribute("value").value());
  }
  const std::string qtyId = u8(toLower(orders.fields().find(u"qty")->FldParm()));
  const std::string noteId = u8(toLower(orders.fields().find(u"note")->FldParm()));
  EXPECT_EQ(fields, (std::vector<std::string>{qtyId + "=Amount", noteId + "="}));
}

TEST_F(LanguageFileTest, ListsChecksAndSkips) {
  // The check pass lists the item and says whether the file is there.
  EXPECT_FALSE(toBool(create(true)));
  ASSERT_TRUE(proj_->controlList().ItemExist(Variant(u"@lang_english.xml")));
  EXPECT_EQ(proj_->controlList().Item(Variant(u"@lang_english.xml"))->ItemFn(), u"english.xml");
  EXPECT_FALSE(fsys::exists(site_ / "lang"));

  // Switched off: nothing is written.
  proj_->controlList().Item(Variant(u"@lang_english.xml"))->setItemGen(false);
  EXPECT_FALSE(toBool(create(false)));
  EXPECT_FALSE(fsys::exists(site_ / "lang" / "english.xml"));

  // A missing source gives Empty; one that is not XML writes nothing.
  const Variant missing =
      CreateLanguageFile(*proj_, u"@lang_x", u"", u"", u16(dir_.path() / "no.xml"), u"lang", false);
  EXPECT_TRUE(missing.isEmpty());
  test::writeFile(dir_.path() / "broken.xml", "<language><global>");
  EXPECT_TRUE(toBool(CreateLanguageFile(*proj_, u"@lang_b", u"", u"",
                                        u16(dir_.path() / "broken.xml"), u"lang", false)));
  EXPECT_FALSE(fsys::exists(site_ / "lang" / "broken.xml"));
}

}  // namespace
}  // namespace vantorel::test
